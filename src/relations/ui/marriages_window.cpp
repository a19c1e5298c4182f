#include "relations/ui/marriages_window.h"

#include "reports/ui/zel_grid.h"
#include "storage/relation_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/icons.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

enum Column { kOid = 1, kHusbandId, kWifeId, kHusband, kWife, kHusbandOrder, kWifeOrder, kNotes };

} // namespace

TfrmRelationM::TfrmRelationM(QWidget* parent)
    : TfrmPersonList(parent), btUpdateNames_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmRelationM"));
    btUpdateNames_->setObjectName(QStringLiteral("bt_UpdateNames"));
    btUpdateNames_->setIcon(Icon(u"document-edit"));
    btUpdateNames_->setAutoDefault(false);
    Bar()->insertWidget(2, btUpdateNames_);
    g_ = NewGrid(this);
    g_->setObjectName(QStringLiteral("g"));
    Body()->addWidget(g_, 1);
    ListPersons(g_, {{kHusband, kHusbandId}, {kWife, kWifeId}}, true);
    connect(btUpdateNames_, &QPushButton::clicked, this, &TfrmRelationM::UpdateNames);
    TranslateTexts();
}

void TfrmRelationM::TranslateTexts() {
    TfrmPersonList::TranslateTexts();
    setWindowTitle(Translate(QStringLiteral("Marriage Relationships")));
    btUpdateNames_->setText(Translate(QStringLiteral("Update Names")));
    g_->SetColTitles({QString(), QString(), QString(), QString(), Translate(QStringLiteral("Husband")),
                      Translate(QStringLiteral("Wife")), Translate(QStringLiteral("Husband Order")),
                      Translate(QStringLiteral("Wife Order")), Translate(QStringLiteral("Notes"))});
}

void TfrmRelationM::ReadList() {
    TextTable table;
    ListMarriages(table);
    Fill(g_, table, {30, -1, -1, -1, 320, 320, 60, 60, 180});
    TranslateTexts();
}

void TfrmRelationM::UpdateNames() {
    bool written = false;
    {
        TBusyCursor busy;
        UndoStep step(StepText("Update the names in the relations"));
        written = RefreshAllRelationNames();
    }
    if (written)
        Refresh();
}

void TfrmRelationM::ShowCell(const TZelGrid*, int col, int, QString& text) const {
    // An order that was never set is no number to the reader.
    if ((col == kHusbandOrder || col == kWifeOrder) && text.trimmed() == QString::number(kUnsetMateOrder))
        text.clear();
}

} // namespace verdan
