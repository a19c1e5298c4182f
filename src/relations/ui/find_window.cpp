#include "relations/ui/find_window.h"

#include "reports/ui/zel_grid.h"
#include "storage/database.h"
#include "storage/person_names.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/icons.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

enum Column { kId = 1, kName, kFound };

const QList<int> kWidths = {-2, -1, 300, 400};

} // namespace

TfrmFind::TfrmFind(QWidget* parent)
    : TfrmPersonList(parent), lblFind_(new QLabel(this)), txtFind_(new QLineEdit(this)),
      btSearch_(new QPushButton(this)), lblResult_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmFind"));
    StayOnTopButton()->hide();
    UpdateButton()->hide();
    txtFind_->setObjectName(QStringLiteral("txtFind"));
    txtFind_->setClearButtonEnabled(true);
    txtFind_->setMinimumWidth(260);
    txtFind_->installEventFilter(this);
    btSearch_->setObjectName(QStringLiteral("btSearch"));
    btSearch_->setIcon(Icon(u"edit-find"));
    btSearch_->setAutoDefault(false);
    lblFind_->setBuddy(txtFind_);
    Bar()->insertWidget(0, lblFind_);
    Bar()->insertWidget(1, txtFind_, 1);
    Bar()->insertWidget(2, btSearch_);
    Bar()->addWidget(lblResult_);
    g_ = NewGrid(this);
    g_->setObjectName(QStringLiteral("g"));
    g_->SetAllowSorting(false);
    g_->SetAutoRowHeight(true);
    g_->SetRowHeight(0, 0);
    Body()->addWidget(g_, 1);
    ListPersons(g_, {{kName, kId}, {kFound, kId}}, false);
    connect(btSearch_, &QPushButton::clicked, this, &TfrmFind::Search);
    TranslateTexts();
    resize(820, 520);
}

void TfrmFind::TranslateTexts() {
    TfrmPersonList::TranslateTexts();
    setWindowTitle(TranslateContext(QStringLiteral("General Search"), QStringLiteral("general_search")));
    lblFind_->setText(Translate(QStringLiteral("Text to find")) + u':');
    txtFind_->setPlaceholderText(Translate(QStringLiteral("Enter text to find")));
    txtFind_->setToolTip(txtFind_->placeholderText());
    btSearch_->setText(Translate(QStringLiteral("Search")));
    lblResult_->setText(
        !searched_   ? QString()
        : found_ > 0 ? FillPattern(Translate(QStringLiteral("Persons: %#")), {QLocale().toString(found_)})
                     : Translate(QStringLiteral("No person found")));
}

void TfrmFind::ReadList() {
    searched_ = false;
    found_ = 0;
    Fill(g_, {}, kWidths);
    TranslateTexts();
    txtFind_->setFocus();
    txtFind_->selectAll();
}

void TfrmFind::Search() {
    TFindResultList results;
    {
        TBusyCursor busy;
        SearchPersonTexts(txtFind_->text(), results);
    }
    TextTable table{{"Person_Id", "Name", "FoundText"}};
    for (const TFindResult& result : results)
        table << QStringList{result.Person_Id, result.Name, result.FoundText.trimmed()};
    Fill(g_, table, kWidths);
    searched_ = true;
    found_ = static_cast<int>(results.size());
    TranslateTexts();
    if (found_ > 0)
        g_->SetCurrentCell(kName, 1);
}

bool TfrmFind::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the box searches and goes no further (no dialog button takes it).
    if (watched == txtFind_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Search();
            return true;
        }
    }
    return TfrmPersonList::eventFilter(watched, event);
}

} // namespace verdan
