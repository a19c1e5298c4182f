#include "account_dialog.h"

#include "datasheet/details_section.h"
#include "safe_slot.h"
#include "sheet_widgets.h"
#include "text/localisation.h"
#include "text/ui/form_grid.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

Tfrm_Account_Add::Tfrm_Account_Add(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_Account_Add"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    outer->setSpacing(kRowSpacing * 2);
    auto* fields = new QWidget(this);
    auto* form = new TFormGrid(fields);
    form->setContentsMargins(0, 0, 0, 0);
    lblAccount_ = new QLabel(fields);
    lblAddress_ = new QLabel(fields);
    cmb_Account_ = new QComboBox(fields);
    cmb_Account_->setObjectName(QStringLiteral("cmb_Account"));
    cmb_Account_->setEditable(true);
    cmb_Account_->setInsertPolicy(QComboBox::NoInsert);
    txt_Address_ = new QLineEdit(fields);
    txt_Address_->setObjectName(QStringLiteral("txt_Address"));
    // Addresses read left to right in every language.
    txt_Address_->setLayoutDirection(Qt::LeftToRight);
    txt_Address_->installEventFilter(this);
    // A profile address is long: both fields take the width a form gives a field.
    for (QWidget* field : {static_cast<QWidget*>(cmb_Account_), static_cast<QWidget*>(txt_Address_)})
        field->setMinimumWidth(ReadableFieldWidth(field));
    lblAccount_->setBuddy(cmb_Account_);
    lblAddress_->setBuddy(txt_Address_);
    form->AddRow(lblAccount_, cmb_Account_);
    form->AddRow(lblAddress_, txt_Address_);
    outer->addWidget(fields);
    auto* buttons = new QDialogButtonBox(this);
    btOk_ = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    btOk_->setObjectName(QStringLiteral("btOk"));
    btOk_->setDefault(true);
    btCancel_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    btCancel_->setObjectName(QStringLiteral("btCancel"));
    outer->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cmb_Account_, &QComboBox::activated, this,
            [this](int index) { RunSafely([this, index] { AccountChosen(index); }); });
    TranslateTexts();
}

void Tfrm_Account_Add::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Net Accounts")));
    lblAccount_->setText(Translate(QStringLiteral("Account")) + u':');
    lblAddress_->setText(Translate(QStringLiteral("Address")) + u':');
    btOk_->setText(Translate(QStringLiteral("Ok")));
    btCancel_->setText(Translate(QStringLiteral("Cancel")));
    const QString typed = cmb_Account_->currentText();
    cmb_Account_->clear();
    const QStringList kinds = AccountKindSources();
    for (qsizetype i = 0; i < kinds.size(); ++i)
        cmb_Account_->addItem(i == 0 ? Translate(kinds[i]) : kinds[i], kinds[i]);
    cmb_Account_->setCurrentIndex(-1);
    cmb_Account_->setEditText(typed);
}

void Tfrm_Account_Add::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QDialog::changeEvent(event);
}

bool Tfrm_Account_Add::Edit(const QString& account, const QString& address) {
    openedWithAccount_ = !account.trimmed().isEmpty();
    cmb_Account_->setCurrentIndex(-1);
    cmb_Account_->setEditText(account);
    txt_Address_->setText(address);
    MarkCheckedBox(txt_Address_, true);
    txt_Address_->setPalette(palette());
    cmb_Account_->setFocus();
    return exec() == QDialog::Accepted;
}

QString Tfrm_Account_Add::Account() const {
    return cmb_Account_->currentText().trimmed();
}

QString Tfrm_Account_Add::Address() const {
    return txt_Address_->text().trimmed();
}

void Tfrm_Account_Add::AccountChosen(int index) {
    if (index < 0 || (openedWithAccount_ && !txt_Address_->text().trimmed().isEmpty()))
        return;
    txt_Address_->setText(AccountAddressPrefix(cmb_Account_->itemData(index).toString()));
    txt_Address_->setFocus();
    txt_Address_->end(false);
}

void Tfrm_Account_Add::CheckAddress() {
    MarkCheckedBox(txt_Address_, IsWellFormedWebAddress(txt_Address_->text()));
}

bool Tfrm_Account_Add::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txt_Address_ && event->type() == QEvent::MouseButtonDblClick)
        RunSafely([this] { CheckAddress(); });
    if (watched == txt_Address_ && event->type() == QEvent::FocusOut)
        RunSafely([this] { CheckAddress(); });
    return QDialog::eventFilter(watched, event);
}

} // namespace verdan
