#include "add_dialog.h"

#include "text/localisation.h"
#include "text/ui/form_grid.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

TAddDialog::TAddDialog(QWidget* parent) : QDialog(parent) {
}

void TAddDialog::CreateButtons() {
    btOk_ = new QPushButton(this);
    btOk_->setObjectName(QStringLiteral("btOk"));
    btOk_->setDefault(true);
    btCancel_ = new QPushButton(this);
    connect(btOk_, &QPushButton::clicked, this, &TAddDialog::accept);
    connect(btCancel_, &QPushButton::clicked, this, &TAddDialog::reject);
}

QVBoxLayout* TAddDialog::CreateLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kRowSpacing);
    return layout;
}

void TAddDialog::AddButtonRow(QVBoxLayout* layout) {
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addStretch();
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    layout->addLayout(buttons);
}

void TAddDialog::TranslateAll() {
    TranslateTexts();
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));
}

void TAddDialog::showEvent(QShowEvent* event) {
    TranslateAll();
    accepted_ = false;
    ResetFields();
    QDialog::showEvent(event);
}

void TAddDialog::accept() {
    if (!Commit())
        return;
    accepted_ = true;
    QDialog::accept();
}

void TAddDialog::reject() {
    accepted_ = false;
    QDialog::reject();
}

void TAddDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateAll();
    QDialog::changeEvent(event);
}

} // namespace verdan
