#include "shell/ui/person_texts_window.h"

#include "reports/ui/zel_grid.h"
#include "storage/bookmark_store.h"
#include "text/localisation.h"
#include "text/search_fold.h"
#include "text/ui/icons.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

enum Column { kId = 1, kName, kText, kModified };

const QColor kFoundColor(0, 0, 255);

} // namespace

TfrmPersonTexts::TfrmPersonTexts(Kind kind, QWidget* parent)
    : TfrmPersonList(parent), kind_(kind), txtFind_(new QLineEdit(this)), bt_Find_(new QPushButton(this)) {
    setObjectName(kind == Kind::Notes ? QStringLiteral("frmNotes") : QStringLiteral("frmBriefing"));
    txtFind_->setObjectName(QStringLiteral("txtFind"));
    txtFind_->setClearButtonEnabled(true);
    txtFind_->setMinimumWidth(220);
    bt_Find_->setObjectName(QStringLiteral("bt_Find"));
    bt_Find_->setIcon(Icon(u"edit-find"));
    bt_Find_->setAutoDefault(false);
    Bar()->insertWidget(2, txtFind_);
    Bar()->insertWidget(3, bt_Find_);
    g_ = NewGrid(this);
    g_->setObjectName(QStringLiteral("g"));
    g_->SetAutoRowHeight(true);
    g_->OnDrawCell = [this](QPainter& painter, const QRect& rect, int col, int row) {
        DrawFound(painter, rect, col, row);
    };
    Body()->addWidget(g_, 1);
    ListPersons(g_, {{kName, kId}}, false);
    connect(bt_Find_, &QPushButton::clicked, this, &TfrmPersonTexts::FindNext);
    connect(txtFind_, &QLineEdit::returnPressed, this, &TfrmPersonTexts::FindNext);
    connect(txtFind_, &QLineEdit::textChanged, g_->viewport(), qOverload<>(&QWidget::update));
    TranslateTexts();
    resize(640, 560);
}

void TfrmPersonTexts::TranslateTexts() {
    TfrmPersonList::TranslateTexts();
    setWindowTitle(Translate(kind_ == Kind::Notes ? QStringLiteral("Notes") : QStringLiteral("Summaries")));
    txtFind_->setPlaceholderText(Translate(QStringLiteral("Enter text to find")));
    txtFind_->setToolTip(txtFind_->placeholderText());
    bt_Find_->setText(Translate(QStringLiteral("Find")));
    // The briefing column is titled "Notes" too.
    g_->SetColTitles({QString(), QString(), Translate(QStringLiteral("Name")),
                      Translate(QStringLiteral("Notes")), Translate(QStringLiteral("Last Modified"))});
}

void TfrmPersonTexts::ReadList() {
    TextTable table;
    if (kind_ == Kind::Notes)
        ListPersonsWithNotes(table);
    else
        ListPersonsWithBriefing(table);
    Fill(g_, table, {30, -1, 100, 300, 100});
    TranslateTexts();
    g_->setFocus();
}

void TfrmPersonTexts::OpenRow(TZelGrid* grid, int row) {
    const QString id = grid->Cells(kId, row).trimmed();
    if (row >= 1 && !id.isEmpty())
        emit MainTreeWanted(id);
}

bool TfrmPersonTexts::FindNext() {
    const QString text = SearchFold(txtFind_->text());
    const int last = g_->RowCount() - 1;
    if (text.isEmpty() || last < 1)
        return false;
    // Every row is looked at once: those after the current one, then from the top down to it.
    const int current = std::clamp(g_->Row(), 0, last);
    for (int step = 1; step <= last; ++step) {
        const int row = (current - 1 + step) % last + 1;
        if (FoldedContains(g_->Cells(kName, row) + g_->Cells(kText, row), text)) {
            g_->SetCurrentCell(kText, row);
            g_->scrollTo(g_->Model().index(row - 1, kText - 1));
            txtFind_->setFocus();
            return true;
        }
    }
    g_->SetCurrentCell(kText, 1);
    return false;
}

void TfrmPersonTexts::DrawFound(QPainter& painter, const QRect& rect, int col, int row) const {
    const QString wanted = SearchFold(txtFind_->text().trimmed());
    const QString text = g_->Cells(col, row);
    if (!FoldedContains(text, wanted))
        return;
    QFont font = g_->font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kFoundColor);
    painter.setLayoutDirection(g_->layoutDirection());
    painter.fillRect(rect.adjusted(2, 2, -2, -2),
                     row % 2 == 1 ? g_->BackColor() : g_->AlternatingBackColor());
    TZelGrid::DrawCellText(painter, rect, text, Qt::AlignLeading | Qt::AlignTop | Qt::TextWordWrap);
}

} // namespace verdan
