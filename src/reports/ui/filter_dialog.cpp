#include "filter_dialog.h"

#include "text/localisation.h"
#include "text/ui/form_grid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

Tfrm_Filter::Tfrm_Filter(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tfrm_Filter"));
    lbl_Prompt_ = new QLabel(this);
    lbl_Prompt_->setWordWrap(true);
    txt_Value_1 = new QLineEdit(this);
    txt_Value_2 = new QLineEdit(this);
    btOk_ = new QPushButton(this);
    btCancel_ = new QPushButton(this);
    btOk_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addStretch();
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    column->addWidget(lbl_Prompt_);
    column->addWidget(txt_Value_1);
    column->addWidget(txt_Value_2);
    column->addLayout(buttons);
    connect(btOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(320);
}

bool Tfrm_Filter::Ask(const QString& prompt, bool between) {
    setWindowTitle(Translate(QStringLiteral("Custom Filter")));
    btOk_->setText(Translate(QStringLiteral("Ok")));
    btCancel_->setText(Translate(QStringLiteral("Cancel")));
    lbl_Prompt_->setText(prompt.trimmed().isEmpty() ? Translate(QStringLiteral("Value")) : prompt);
    txt_Value_2->setVisible(between);
    txt_Value_1->setFocus();
    txt_Value_1->selectAll();
    return exec() == QDialog::Accepted;
}

QString Tfrm_Filter::Value1() const {
    return txt_Value_1->text();
}

QString Tfrm_Filter::Value2() const {
    return txt_Value_2->text();
}

} // namespace verdan
