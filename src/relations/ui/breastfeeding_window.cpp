#include "relations/ui/breastfeeding_window.h"

#include "reports/ui/zel_grid.h"
#include "storage/relation_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

enum Column { kOid = 1, kFirstId, kSecondId, kFirst, kType, kSecond, kNotes };

} // namespace

TfrmRelationB::TfrmRelationB(QWidget* parent) : TfrmPersonList(parent) {
    setObjectName(QStringLiteral("frmRelationB"));
    g_ = NewGrid(this);
    g_->setObjectName(QStringLiteral("g"));
    Body()->addWidget(g_, 1);
    ListPersons(g_, {{kFirst, kFirstId}, {kSecond, kSecondId}}, true);
    // "Update" writes the names first; the list then shows them.
    disconnect(UpdateButton(), nullptr, this, nullptr);
    connect(UpdateButton(), &QPushButton::clicked, this, &TfrmRelationB::UpdateNames);
    TranslateTexts();
}

void TfrmRelationB::TranslateTexts() {
    TfrmPersonList::TranslateTexts();
    setWindowTitle(
        TranslateContext(QStringLiteral("Breastfeeding Relationships"), QStringLiteral("relationships")));
    g_->SetColTitles({QString(), QString(), QString(), QString(), Translate(QStringLiteral("Name")),
                      Translate(QStringLiteral("Relationship")), Translate(QStringLiteral("Name")),
                      Translate(QStringLiteral("Notes"))});
}

void TfrmRelationB::ReadList() {
    TextTable table;
    ListBreastfeedingRelations(table);
    Fill(g_, table, {30, -1, -1, -1, 320, 150, 320, 180});
    TranslateTexts();
}

void TfrmRelationB::UpdateNames() {
    {
        TBusyCursor busy;
        UndoStep step(StepText("Update the names in the relations"));
        RefreshBreastfeedingRelationNames();
    }
    Refresh();
}

void TfrmRelationB::ShowCell(const TZelGrid*, int col, int, QString& text) const {
    if (col != kType)
        return;
    const QString type = text.trimmed();
    if (type == QString::number(kBreastfeedingSiblings))
        text = TranslateContext(QStringLiteral("Breastfeeding Brothers"), QStringLiteral("relationships"));
    else if (type == QString::number(kBreastfeedingMother))
        text = TranslateContext(QStringLiteral("Breastfeeding Mother"), QStringLiteral("relationships"));
}

} // namespace verdan
