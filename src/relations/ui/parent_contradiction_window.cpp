#include "relations/ui/parent_contradiction_window.h"

#include "reports/ui/zel_grid.h"
#include "storage/person_store.h"
#include "text/localisation.h"
#include "text/messages.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

enum Column { kId = 1, kName, kMother, kMotherGender, kFather, kFatherGender };

QString GenderWord(const QString& code) {
    if (code == u"m")
        return Translate(QStringLiteral("male"));
    if (code == u"f")
        return Translate(QStringLiteral("female"));
    return code;
}

} // namespace

TfrmParenrContradiction::TfrmParenrContradiction(QWidget* parent) : TfrmPersonList(parent) {
    setObjectName(QStringLiteral("frmParenrContradiction"));
    g_ = NewGrid(this);
    g_->setObjectName(QStringLiteral("g"));
    Body()->addWidget(g_, 1);
    ListPersons(g_, {{kName, kId}}, false);
    SetStayOnTop(true);
    TranslateTexts();
    resize(720, 420);
}

void TfrmParenrContradiction::TranslateTexts() {
    TfrmPersonList::TranslateTexts();
    setWindowTitle(Translate(QStringLiteral("Parental Contradiction")));
    g_->SetColTitles({QString(), QString(),
                      Translate(QStringLiteral("Son")) + u'/' + Translate(QStringLiteral("Daughter")),
                      Translate(QStringLiteral("Attached Mother")), Translate(QStringLiteral("Gender")),
                      Translate(QStringLiteral("Attached Father")), Translate(QStringLiteral("Gender"))});
}

void TfrmParenrContradiction::ReadList() {
    TextTable table;
    ListParentGenderConflicts(table);
    count_ = static_cast<int>(std::max<qsizetype>(table.size() - 1, 0));
    Fill(g_, table, {30, -1, 100, 100, 150, 100, 150});
    TranslateTexts();
    if (count_ == 0 && isVisible())
        MsgInfo(Translate(QStringLiteral("No contradiction found in data.")));
}

void TfrmParenrContradiction::ShowCell(const TZelGrid*, int col, int, QString& text) const {
    if (col == kMotherGender || col == kFatherGender)
        text = GenderWord(text);
}

} // namespace verdan
