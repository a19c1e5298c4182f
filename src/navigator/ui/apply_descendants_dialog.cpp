#include "navigator/ui/apply_descendants_dialog.h"

#include "text/localisation.h"
#include "text/ui/form_grid.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace verdan {

QString FamilyNameCaption(TFamilyNameKind kind) {
    switch (kind) {
    case TFamilyNameKind::LastName:
        return QStringLiteral("Family Name");
    case TFamilyNameKind::FamilyName:
        return QStringLiteral("Older Family Name");
    case TFamilyNameKind::FamilyNickname:
        return QStringLiteral("Family Nickname");
    }
    return QString();
}

Tfrm_Apply_To_Descendents::Tfrm_Apply_To_Descendents(QWidget* parent)
    : QDialog(parent), rb_Apply_for_None_Value_Only_(new QRadioButton(this)),
      rb_Apply_to_All_(new QRadioButton(this)), btOk_(new QPushButton(this)),
      btCancel_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frm_Apply_To_Descendents"));
    rb_Apply_for_None_Value_Only_->setObjectName(QStringLiteral("rb_Apply_for_None_Value_Only"));
    rb_Apply_to_All_->setObjectName(QStringLiteral("rb_Apply_to_All"));
    btOk_->setDefault(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    column->addWidget(rb_Apply_for_None_Value_Only_);
    column->addWidget(rb_Apply_to_All_);
    column->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addStretch(1);
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    column->addLayout(buttons);
    connect(btOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

bool Tfrm_Apply_To_Descendents::Ask(TFamilyNameKind kind, bool& overwrite) {
    const QString caption = FamilyNameCaption(kind);
    setWindowTitle(Translate(QStringLiteral("Apply options")));
    // Each whole sentence is one unit of the language documents.
    rb_Apply_for_None_Value_Only_->setText(
        Translate(QStringLiteral("Apply only on persons with no value for ") + caption + u'.'));
    rb_Apply_to_All_->setText(
        Translate(QStringLiteral("Apply on all descendents and change the value of ") + caption + u'.'));
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));
    rb_Apply_for_None_Value_Only_->setChecked(true);
    adjustSize();
    if (exec() != QDialog::Accepted)
        return false;
    overwrite = rb_Apply_to_All_->isChecked();
    return true;
}

} // namespace verdan
