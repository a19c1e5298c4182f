#include "breastfeeding_frame.h"

#include "safe_slot.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/person_follow.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace verdan {

namespace {

void FillList(QListWidget* list, const TextTable& table) {
    list->clear();
    TPersonNameList lines;
    FillPersonList(table, lines, true);
    for (const TPersonNameEntry& line : lines) {
        auto* item = new QListWidgetItem(line.Name, list);
        item->setData(Qt::UserRole, line.Person_Id);
    }
}

QString RemovalStepText(const QString& personId, const QString& otherId) {
    return StepText("Remove the breastfeeding relation of «%*» and «%*»", {personId, otherId});
}

} // namespace

TframBreastfeeding::TframBreastfeeding(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    siblings_ = AddPart("lstBrotherhood", "btDeleteBrotherhood");
    mothers_ = AddPart("lstMotherhood", "btDeleteMotherhood");
    children_ = AddPart("lstSonhood", "btDeleteSonhood");
    auto slot = [this](QPushButton* button, void (TframBreastfeeding::*command)()) {
        connect(button, &QPushButton::clicked, this,
                [this, command] { RunSafely([this, command] { (this->*command)(); }); });
    };
    slot(siblings_.remove, &TframBreastfeeding::btDeleteBrotherhoodClick);
    slot(mothers_.remove, &TframBreastfeeding::btDeleteMotherhoodClick);
    slot(children_.remove, &TframBreastfeeding::btDeleteSonhoodClick);
    TranslateTexts();
}

TframBreastfeeding::Part TframBreastfeeding::AddPart(const char* list, const char* button) {
    auto* grid = static_cast<QGridLayout*>(layout());
    const int row = grid->rowCount();
    Part part;
    part.label = new QLabel(this);
    part.list = new QListWidget(this);
    part.list->setObjectName(QString::fromLatin1(list));
    part.list->setMaximumHeight(90);
    FollowPersonView(part.list, [](const QModelIndex& index) { return index.data(Qt::UserRole).toString(); });
    part.remove = new QPushButton(this);
    part.remove->setObjectName(QString::fromLatin1(button));
    grid->addWidget(part.label, row, 0, 1, 2);
    grid->addWidget(part.list, row + 1, 0);
    grid->addWidget(part.remove, row + 1, 1, Qt::AlignTop);
    return part;
}

void TframBreastfeeding::TranslateTexts() {
    siblings_.label->setText(Translate(QStringLiteral("Breastfeeding Siblings")));
    mothers_.label->setText(Translate(QStringLiteral("Breastfeeding Mothers")));
    children_.label->setText(Translate(QStringLiteral("Breastfeeding Children")));
    for (const Part* part : {&siblings_, &mothers_, &children_})
        part->remove->setText(Translate(QStringLiteral("&Delete")) + QStringLiteral(".."));
}

bool TframBreastfeeding::Load(const QString& personId, const QString& gender) {
    personId_ = personId;
    TextTable table;
    if (!personId.isEmpty())
        ListBreastfeedingSiblings(personId, table);
    FillList(siblings_.list, table);
    table.clear();
    if (!personId.isEmpty())
        ListBreastfeedingMothers(personId, table);
    FillList(mothers_.list, table);
    table.clear();
    // Only a woman nurses.
    const bool woman = gender.trimmed().toLower() == u"f";
    if (woman)
        ListBreastfeedingChildren(personId, table);
    FillList(children_.list, table);
    for (QWidget* widget : {static_cast<QWidget*>(children_.label), static_cast<QWidget*>(children_.list),
                            static_cast<QWidget*>(children_.remove)})
        widget->setVisible(woman);
    return HasEntries();
}

bool TframBreastfeeding::HasEntries() const {
    return siblings_.list->count() > 0 || mothers_.list->count() > 0 || children_.list->count() > 0;
}

QString TframBreastfeeding::ConfirmRemoval(const Part& part, const char* question) {
    const QListWidgetItem* item = part.list->currentItem();
    if (personId_.isEmpty() || !item)
        return {};
    const QString text = Translate(QString::fromLatin1(question)) + u'|' + item->text();
    if (MsgYesNo(text, Translate(QStringLiteral("Confirm")), IDNO) != IDYES)
        return {};
    return item->data(Qt::UserRole).toString();
}

void TframBreastfeeding::Removed(const Part& part) {
    delete part.list->currentItem();
    emit RelationDeleted(personId_);
}

void TframBreastfeeding::btDeleteMotherhoodClick() {
    const QString mother = ConfirmRemoval(mothers_, "Remove relationship with breastfeeding mother?");
    if (mother.isEmpty())
        return;
    UndoStep step(RemovalStepText(personId_, mother), personId_);
    if (DeleteBreastfeedingMother(mother, personId_) > 0)
        Removed(mothers_);
}

void TframBreastfeeding::btDeleteSonhoodClick() {
    const QString child = ConfirmRemoval(children_, "Remove relationship with breastfeeding child?");
    if (child.isEmpty())
        return;
    UndoStep step(RemovalStepText(personId_, child), personId_);
    if (DeleteBreastfeedingMother(personId_, child) > 0)
        Removed(children_);
}

void TframBreastfeeding::btDeleteBrotherhoodClick() {
    const QString sibling = ConfirmRemoval(siblings_, "Remove relationship with breastfeeding sibling?");
    if (sibling.isEmpty())
        return;
    UndoStep step(RemovalStepText(personId_, sibling), personId_);
    if (DeleteBreastfeedingSiblings(sibling, personId_) > 0)
        Removed(siblings_);
}

} // namespace verdan
