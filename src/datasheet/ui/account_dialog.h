#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace verdan {

// A net account of a person: its kind (a service, or any text typed) and its address. Choosing a service
// whose profiles have a known address start puts that start in the address box, unless the dialog was
// opened on an account that has an address already.
class Tfrm_Account_Add : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Account_Add(QWidget* parent = nullptr);

    // Shows the dialog for a new account (empty texts) or an existing one; true when the user pressed OK,
    // with the texts in Account() and Address().
    bool Edit(const QString& account, const QString& address);
    QString Account() const;
    QString Address() const;
    // Marks the address box as a well-formed web address or not (also on a double click).
    void CheckAddress();
    void TranslateTexts();

    QComboBox* AccountBox() const { return cmb_Account_; }
    QLineEdit* AddressBox() const { return txt_Address_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void AccountChosen(int index);

    bool openedWithAccount_ = false;
    QLabel* lblAccount_;
    QLabel* lblAddress_;
    QComboBox* cmb_Account_;
    QLineEdit* txt_Address_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
};

} // namespace verdan
