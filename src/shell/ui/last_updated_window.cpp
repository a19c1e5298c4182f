#include "shell/ui/last_updated_window.h"

#include "reports/ui/zel_grid.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "text/interface_locale.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/escape_closes.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "text/ui/person_follow.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QVBoxLayout>

namespace verdan {

namespace {

enum Column { kId = 1, kName, kMother, kStamp, kUser, kUnused };

constexpr int kDaysBack = 7;

const QString kStampFormat = QStringLiteral("yyyy-MM-dd HH:mm");

// The grids keep stamps in one form, which sorts as text in the order of time and which a spreadsheet
// reads as a date; they are shown in the interface's language.
QString StampText(const QDateTime& time) {
    return time.isValid() ? time.toString(kStampFormat) : QString();
}

QLabel* Heading(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    KeepReadingAlignment(label);
    return label;
}

QWidget* Titled(QWidget* parent, QLabel* heading, TZelGrid* grid) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kRowSpacing);
    heading->setParent(box);
    grid->setParent(box);
    layout->addWidget(heading);
    layout->addWidget(grid, 1);
    return box;
}

// The persons of one list into its grid, the mother's name looked up for each.
int FillRecords(TZelGrid* grid, TPersonRecordFilter filter, const QDate& since) {
    QList<TPerson> records;
    ListPersonRecords(records, filter, since, TfrmLastUpdated::kMaxRows);
    const bool created = filter == TPersonRecordFilter::CreatedSince;
    QList<QStringList> cells{grid->Model().AllCells().value(0)};
    for (const TPerson& person : records) {
        QStringList row(kUnused + 1);
        row[kId] = person.Person_Id;
        row[kName] = person.Person_Name;
        row[kMother] = GetPersonName(person.Mother_Id);
        row[kStamp] = StampText(created ? person.Date_Created : person.Date_Modified);
        row[kUser] = created ? person.User_Created : person.User_Modified;
        cells << row;
    }
    if (cells.size() == 1)
        cells << QStringList(kUnused + 1);
    grid->Model().ReplaceCells(cells);
    return records.size() < TfrmLastUpdated::kMaxRows ? static_cast<int>(records.size())
                                                      : CountPersonRecords(filter, since);
}

} // namespace

TfrmLastUpdated::TfrmLastUpdated(QWidget* parent)
    : QWidget(parent, Qt::Window), lbl_Last_Updates_(new QLabel(this)), dtAdded_(new QDateEdit(this)),
      btShowAdded_(new QPushButton(this)), splitter_(new QSplitter(Qt::Vertical, this)),
      pnl_Entries_(Heading(this, "pnl_Entries")), pnl_Updates_(Heading(this, "pnl_Updates")),
      gAdded_(new TZelGrid(this)), gEdited_(new TZelGrid(this)) {
    CloseOnEscape(this);
    setObjectName(QStringLiteral("frmLastUpdated"));
    dtAdded_->setObjectName(QStringLiteral("dtAdded"));
    dtAdded_->setCalendarPopup(true);
    // The box is typed in, with Latin digits in every language and read from the left like every such
    // date (a mirrored box would show its fields the other way round); the calendar it opens only shows.
    // The direction first: the box lays its fields out in the direction it has when it takes its format.
    dtAdded_->setLayoutDirection(Qt::LeftToRight);
    dtAdded_->setLocale(QLocale::c());
    dtAdded_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    btShowAdded_->setObjectName(QStringLiteral("btShowAdded"));
    btShowAdded_->setIcon(Icon(u"view-refresh"));
    btShowAdded_->setDefault(true);
    lbl_Last_Updates_->setBuddy(dtAdded_);
    gAdded_->setObjectName(QStringLiteral("gAdded"));
    gEdited_->setObjectName(QStringLiteral("gEdited"));
    SetUpGrid(gAdded_);
    SetUpGrid(gEdited_);
    splitter_->addWidget(Titled(splitter_, pnl_Entries_, gAdded_));
    splitter_->addWidget(Titled(splitter_, pnl_Updates_, gEdited_));
    splitter_->setChildrenCollapsible(false);

    auto* top = new QHBoxLayout;
    top->setSpacing(kSpacing);
    top->addWidget(lbl_Last_Updates_);
    top->addWidget(dtAdded_);
    top->addWidget(btShowAdded_);
    top->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    column->addLayout(top);
    column->addWidget(splitter_, 1);
    connect(btShowAdded_, &QPushButton::clicked, this, &TfrmLastUpdated::Fill);
    TranslateTexts();
    resize(700, 560);
}

void TfrmLastUpdated::SetUpGrid(TZelGrid* grid) {
    grid->SetReadonly(true);
    grid->SetAllowSorting(true);
    grid->SetAutoRowNumber(true);
    grid->SetColCount(kUnused + 1);
    grid->SetRowCount(2);
    grid->SetColWidths({30, -1, 200, 100, 140, 120, -1});
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->CellView = [](int col, int, QString& text, int&, Qt::LayoutDirection&) {
        if (col == kStamp && !text.isEmpty())
            text = StampDateTimeText(QDateTime::fromString(text, kStampFormat));
    };
    FollowPersonView(grid, [grid](const QModelIndex& index) { return grid->Cells(kId, index.row() + 1); });
    connect(grid, &QAbstractItemView::doubleClicked, this, [this, grid](const QModelIndex& index) {
        const QString id = grid->Cells(kId, index.row() + 1).trimmed();
        if (!id.isEmpty())
            emit TreeWindowWanted(id);
    });
}

void TfrmLastUpdated::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Entry Transactions")));
    lbl_Last_Updates_->setText(Translate(QStringLiteral("Show entries and modifications since this date")) +
                               u':');
    btShowAdded_->setText(Translate(QStringLiteral("Show")));
    if (QCalendarWidget* calendar = dtAdded_->calendarWidget()) {
        calendar->setLocale(InterfaceLocale());
        calendar->setLayoutDirection(layoutDirection());
    }
    const auto heading = [](const char* text, int count) {
        QString line = QStringLiteral("  ") + Translate(QString::fromLatin1(text));
        if (count > kMaxRows)
            line +=
                QStringLiteral("  ") + FillPattern(Translate(QStringLiteral("(the newest %# of %#)")),
                                                   {QLocale().toString(kMaxRows), QLocale().toString(count)});
        return line;
    };
    pnl_Entries_->setText(heading("Entries", added_));
    pnl_Updates_->setText(heading("Modifications", edited_));
    for (TZelGrid* grid : {gAdded_, gEdited_})
        grid->SetColTitles(
            {QString(), Translate(QStringLiteral("No.")), Translate(QStringLiteral("Name")),
             Translate(QStringLiteral("Mother")),
             Translate(grid == gAdded_ ? QStringLiteral("Entry Date") : QStringLiteral("Modification Date")),
             Translate(QStringLiteral("User Name")), QString()});
}

void TfrmLastUpdated::Fill() {
    TBusyCursor busy;
    const QDate since = dtAdded_->date();
    added_ = IsTreeOpen() ? FillRecords(gAdded_, TPersonRecordFilter::CreatedSince, since) : 0;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    edited_ = IsTreeOpen() ? FillRecords(gEdited_, TPersonRecordFilter::ModifiedSince, since) : 0;
    TranslateTexts();
}

void TfrmLastUpdated::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    dtAdded_->setDate(QDate::currentDate().addDays(-kDaysBack));
    Fill();
}

void TfrmLastUpdated::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

} // namespace verdan
