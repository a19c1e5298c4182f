#include "link_dialogs.h"

#include "navigator/ui/add_chain_dialog.h"
#include "navigator/ui/add_children_dialog.h"
#include "navigator/ui/add_person_dialog.h"
#include "navigator/ui/husband_wife_dialog.h"
#include "navigator/ui/second_parent_dialog.h"
#include "navigator/ui/tree_dialog.h"
#include "relations/ui/kinship_window.h"
#include "relations/ui/person_path_tree.h"
#include "relations/ui/relation_option_dialog.h"
#include "storage/relation_store.h"

#include <QWidget>

namespace verdan {

namespace {

TLinkDialogs*& Current() {
    static TLinkDialogs* current = nullptr;
    return current;
}

} // namespace

TLinkDialogs::TLinkDialogs(QWidget* owner) : QObject(owner), owner_(owner) {
    SetCoupleChildrenHandler(
        [this](const QString& husband, const QString& wife) { HusbandWife()->Offer(husband, wife); });
}

TLinkDialogs::~TLinkDialogs() {
    if (Current() == this) {
        Current() = nullptr;
        SetCoupleChildrenHandler({});
    }
}

TLinkDialogs& TLinkDialogs::Install(QWidget* owner) {
    delete Current();
    Current() = new TLinkDialogs(owner);
    return *Current();
}

TLinkDialogs& TLinkDialogs::For(QWidget* widget) {
    if (!Current())
        Install(widget->window());
    return *Current();
}

TLinkDialogs* TLinkDialogs::Instance() {
    return Current();
}

TfrmTreeDialog* TLinkDialogs::Picker() {
    if (!picker_)
        picker_ = new TfrmTreeDialog(owner_);
    return picker_;
}

TfrmAddPerson* TLinkDialogs::AddPerson() {
    if (!addPerson_)
        addPerson_ = new TfrmAddPerson(Picker(), owner_);
    return addPerson_;
}

TfrmAddChildren* TLinkDialogs::AddChildren() {
    if (!addChildren_)
        addChildren_ = new TfrmAddChildren(owner_);
    return addChildren_;
}

TfrmHusbandWifeDialog* TLinkDialogs::HusbandWife() {
    if (!husbandWife_)
        husbandWife_ = new TfrmHusbandWifeDialog(AddChildren(), owner_);
    return husbandWife_;
}

Tfrm_ConfirmSecondParent* TLinkDialogs::SecondParent() {
    if (!secondParent_)
        secondParent_ = new Tfrm_ConfirmSecondParent(owner_);
    return secondParent_;
}

TfrmAddChain* TLinkDialogs::AddChain() {
    if (!addChain_)
        addChain_ = new TfrmAddChain(owner_);
    return addChain_;
}

TfrmRelationOptionDialog* TLinkDialogs::RelationDialog() {
    if (!relation_)
        relation_ = new TfrmRelationOptionDialog(owner_);
    return relation_;
}

TfrmPersonPathTree* TLinkDialogs::PathWindow() {
    if (!path_)
        path_ = new TfrmPersonPathTree(owner_);
    return path_;
}

TfrmKinship* TLinkDialogs::KinshipWindow() {
    if (!kinship_)
        kinship_ = new TfrmKinship(owner_);
    return kinship_;
}

TfrmPersonPathTree* TLinkDialogs::PathWindowIfShown() const {
    return path_ && path_->isVisible() ? path_.data() : nullptr;
}

} // namespace verdan
