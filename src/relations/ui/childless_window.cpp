#include "relations/ui/childless_window.h"

#include "reports/ui/zel_grid.h"
#include "storage/relation_store.h"
#include "text/localisation.h"
#include "text/ui/empty_note.h"
#include "text/ui/form_grid.h"

#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

namespace verdan {

namespace {

enum Column { kHusbandId = 1, kWifeId, kHusband, kWife };

const QList<int> kWidths = {30, -1, -1, 320, 320};

QWidget* Titled(QWidget* parent, QLabel*& label, TZelGrid* grid) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kRowSpacing);
    label = new QLabel(box);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    KeepReadingAlignment(label);
    layout->addWidget(label);
    grid->setParent(box);
    layout->addWidget(grid, 1);
    return box;
}

} // namespace

TfrmSpousNoChild::TfrmSpousNoChild(QWidget* parent)
    : TfrmPersonList(parent), splitter_(new QSplitter(Qt::Vertical, this)) {
    setObjectName(QStringLiteral("frmSpousNoChild"));
    gHusbands_ = NewGrid(this);
    gHusbands_->setObjectName(QStringLiteral("gHusbands"));
    gWives_ = NewGrid(this);
    gWives_->setObjectName(QStringLiteral("gWives"));
    splitter_->addWidget(Titled(splitter_, lblHusbands_, gHusbands_));
    splitter_->addWidget(Titled(splitter_, lblWives_, gWives_));
    splitter_->setChildrenCollapsible(false);
    Body()->addWidget(splitter_, 1);
    for (TZelGrid* grid : {gHusbands_, gWives_})
        ListPersons(grid, {{kHusband, kHusbandId}, {kWife, kWifeId}}, true);
    const auto empty = [](TZelGrid* grid) {
        return [grid] {
            return grid->RowCount() < 2 || grid->Cells(kHusbandId, 1).trimmed().isEmpty();
        };
    };
    noteHusbands_ = ShowNoteWhileEmpty(gHusbands_, empty(gHusbands_));
    noteWives_ = ShowNoteWhileEmpty(gWives_, empty(gWives_));
    TranslateTexts();
}

void TfrmSpousNoChild::TranslateTexts() {
    TfrmPersonList::TranslateTexts();
    setWindowTitle(
        TranslateContext(QStringLiteral("Childless Marriages"), QStringLiteral("relationship_marriage")));
    lblHusbands_->setText(
        TranslateContext(QStringLiteral("Childless Husbands"), QStringLiteral("relationship_marriage")));
    lblWives_->setText(
        TranslateContext(QStringLiteral("Childless Wives"), QStringLiteral("relationship_marriage")));
    const QStringList titles = {QString(), QString(), QString(),
                                TranslateContext(QStringLiteral("Husband"), QStringLiteral("relationships")),
                                TranslateContext(QStringLiteral("Wife"), QStringLiteral("relationships"))};
    noteHusbands_->setText(TranslateContext(
        QStringLiteral(
            "No childless husbands: every husband has a child recorded, or no marriage is recorded "
            "yet. Press Update after recording marriages and children."),
        QStringLiteral("relationship_marriage")));
    noteWives_->setText(TranslateContext(
        QStringLiteral("No childless wives: every wife has a child recorded, or no marriage is recorded yet. "
                       "Press Update after recording marriages and children."),
        QStringLiteral("relationship_marriage")));
    gHusbands_->SetColTitles(titles);
    gWives_->SetColTitles(titles);
}

void TfrmSpousNoChild::ReadList() {
    TextTable husbands;
    ListCouplesHusbandChildless(husbands);
    Fill(gHusbands_, husbands, kWidths);
    TextTable wives;
    ListCouplesWifeChildless(wives);
    Fill(gWives_, wives, kWidths);
    TranslateTexts();
}

} // namespace verdan
