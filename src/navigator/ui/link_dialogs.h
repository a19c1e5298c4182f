#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace verdan {

class TfrmAddChain;
class TfrmAddChildren;
class TfrmAddPerson;
class TfrmHusbandWifeDialog;
class TfrmPersonPathTree;
class TfrmKinship;
class TfrmRelationOptionDialog;
class TfrmTreeDialog;
class Tfrm_ConfirmSecondParent;

// The dialogs of the family-link commands, made once for the program and shared by every outline (main
// window, tree windows, the picker's own). Each is made when first needed, owned by the window the set
// was installed for; while the set lives, the husband-and-wife dialog is the handler MarryPersons calls.
class TLinkDialogs : public QObject {
    Q_OBJECT

public:
    // The set for the program, owned by `owner` (the main window); replaces an earlier one.
    static TLinkDialogs& Install(QWidget* owner);
    // The set in use; installed for the window of `widget` when there is none yet.
    static TLinkDialogs& For(QWidget* widget);
    static TLinkDialogs* Instance();

    ~TLinkDialogs() override;

    TfrmTreeDialog* Picker();
    TfrmAddPerson* AddPerson();
    TfrmAddChildren* AddChildren();
    TfrmHusbandWifeDialog* HusbandWife();
    Tfrm_ConfirmSecondParent* SecondParent();
    TfrmAddChain* AddChain();
    TfrmRelationOptionDialog* RelationDialog();
    // The lineage path window; PathWindowIfShown gives it only while it is on the screen.
    TfrmPersonPathTree* PathWindow();
    TfrmPersonPathTree* PathWindowIfShown() const;
    TfrmKinship* KinshipWindow();

private:
    explicit TLinkDialogs(QWidget* owner);

    QWidget* owner_;
    QPointer<TfrmTreeDialog> picker_;
    QPointer<TfrmAddPerson> addPerson_;
    QPointer<TfrmAddChildren> addChildren_;
    QPointer<TfrmHusbandWifeDialog> husbandWife_;
    QPointer<Tfrm_ConfirmSecondParent> secondParent_;
    QPointer<TfrmAddChain> addChain_;
    QPointer<TfrmRelationOptionDialog> relation_;
    QPointer<TfrmPersonPathTree> path_;
    QPointer<TfrmKinship> kinship_;
};

} // namespace verdan
