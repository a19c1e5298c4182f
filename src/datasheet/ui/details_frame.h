#pragma once

#include "datasheet/details_section.h"
#include "datasheet/sheet_edits.h"

#include <QUrl>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace verdan {

class TFormGrid;
class Tfrm_Account_Add;
class TZelGrid;

// The details section of the data sheet and of the data card: identity number, phones and e-mail, the
// home and the work address with their map coordinates, and the person's net accounts. Edits stay in the
// boxes until SaveDetails; a save takes the boxes the user changed and keeps what the tree holds for the
// others.
class Tfram_Details : public QWidget {
    Q_OBJECT
public:
    explicit Tfram_Details(QWidget* parent = nullptr);

    // Fills the boxes for the person (blank: nobody, the boxes emptied); pending edits of the person before
    // are forgotten, so the caller saves them first.
    void LoadDetails(const QString& personId);
    void Clear() { LoadDetails(QString()); }
    // Writes the pending edits; DetailsSaved follows a write.
    TSaveResult SaveDetails();
    QString PersonId() const { return edits_.PersonId(); }
    bool DetailsChanged() const { return edits_.Changed(); }
    // The details as the boxes hold them.
    TPerson_Details Boxes() const;
    void TranslateTexts();

    // Opens the coordinates or place in the web map; nothing for a blank one.
    void ShowInMap(const QString& location);
    // Opens an account's address, when it is a web or e-mail address; says so otherwise.
    void OpenAccount(const QString& address);
    void CheckEmail();
    void bt_AddClick();
    void bt_EditClick();
    void bt_DeleteClick();

    Tfrm_Account_Add* AccountDialog() const { return accountDialog_; }
    TZelGrid* AccountsGrid() const { return g_; }
    QTabWidget* Pages() const { return PageControl1_; }

    // Hands an address to the desktop; tests replace it.
    std::function<bool(const QUrl&)> OpenUrl;

signals:
    void DetailsSaved(const QString& personId);
    void Edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct AddressBoxes {
        QLineEdit* name = nullptr;
        QLineEdit* street_1 = nullptr;
        QLineEdit* street_2 = nullptr;
        QLineEdit* neighborhood = nullptr;
        QLineEdit* city = nullptr;
        QLineEdit* state = nullptr;
        QLineEdit* country = nullptr;
        QLineEdit* postal_code = nullptr;
        QLineEdit* location = nullptr;
        QToolButton* map = nullptr;
    };
    QLineEdit* AddBox(QWidget* page, TFormGrid* form, const char* name, const char* caption,
                      bool leftToRight = false, const QList<QWidget*>& extras = {});
    AddressBoxes AddAddressPage(QWidget* page, const char* suffix, bool withName);
    void ShowAddress(const AddressBoxes& boxes, const TMail_Address& address);
    TMail_Address AddressOf(const AddressBoxes& boxes) const;
    void FillAccounts(const TItem_Value_List& accounts);
    TItem_Value_List Accounts() const;
    void MarkChanged();

    TDetailsEdits edits_;
    bool filling_ = false;
    QList<QPair<QLabel*, const char*>> labels_;
    QTabWidget* PageControl1_;
    QWidget* tab_Basic_;
    QWidget* tab_Address_;
    QWidget* tab_Address_Work_;
    QWidget* tab_Net_Accounts_;
    QLineEdit* txt_Identity_No_;
    QLineEdit* txt_Phone_Cell_;
    QLineEdit* txt_Phone_Home_;
    QLineEdit* txt_EMail_;
    AddressBoxes home_;
    AddressBoxes work_;
    QLabel* lbl_Accounts_;
    TZelGrid* g_;
    QToolButton* bt_Add_;
    QToolButton* bt_Edit_;
    QToolButton* bt_Delete_;
    QToolButton* bt_Open_;
    Tfrm_Account_Add* accountDialog_;
};

} // namespace verdan
