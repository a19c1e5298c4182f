#include "damaged_tree_dialog.h"

#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/icons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kIconSize = 40;
constexpr int kTextWidth = 420;

} // namespace

TfrmDamagedTree::TfrmDamagedTree(const QString& path, const QString& reason, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmDamagedTree"));
    setWindowTitle(Translate(QStringLiteral("The tree file is damaged.")));
    auto* icon = new QLabel(this);
    icon->setPixmap(Icon(u"dialog-warning").pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignTop);
    auto* headline = new QLabel(Translate(QStringLiteral("The tree file is damaged.")), this);
    headline->setObjectName(QStringLiteral("lblHeadline"));
    QFont bold = headline->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    headline->setFont(bold);
    auto* file = new QLabel(IsolatePath(path), this);
    file->setObjectName(QStringLiteral("lblPath"));
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* body =
        new QLabel(Translate(QStringLiteral("Parts of it cannot be read. Nothing more is written to it, so "
                                            "nothing more of it is lost. Rescue a copy to get a new tree "
                                            "with everything that can still be read.")),
                   this);
    body->setObjectName(QStringLiteral("lblBody"));
    body->setWordWrap(true);
    body->setMinimumWidth(kTextWidth);
    btDetails_ = new QPushButton(Translate(QStringLiteral("Details")), this);
    btDetails_->setObjectName(QStringLiteral("btDetails"));
    btDetails_->setCheckable(true);
    btDetails_->setAutoDefault(false);
    btDetails_->setVisible(!reason.trimmed().isEmpty());
    txtDetails_ = new QPlainTextEdit(reason, this);
    txtDetails_->setObjectName(QStringLiteral("txtDetails"));
    txtDetails_->setReadOnly(true);
    // The engine's words read left to right in every interface.
    txtDetails_->setLayoutDirection(Qt::LeftToRight);
    txtDetails_->setMaximumHeight(fontMetrics().height() * 6);
    txtDetails_->hide();

    btRescue_ = new QPushButton(Translate(QStringLiteral("Rescue a copy")), this);
    btRescue_->setObjectName(QStringLiteral("btRescue"));
    btReadOnly_ = new QPushButton(Translate(QStringLiteral("Open read-only")), this);
    btReadOnly_->setObjectName(QStringLiteral("btReadOnly"));
    btCancel_ = new QPushButton(StripAmpersands(Translate(QStringLiteral("&Cancel"))), this);
    btCancel_->setObjectName(QStringLiteral("btCancel"));
    for (QPushButton* button : {btRescue_, btReadOnly_, btCancel_})
        button->setAutoDefault(true);
    btRescue_->setDefault(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(headline);
    texts->addWidget(file);
    texts->addWidget(body);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btDetails_);
    buttons->addStretch();
    buttons->addWidget(btRescue_);
    buttons->addWidget(btReadOnly_);
    buttons->addWidget(btCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(txtDetails_);
    layout->addLayout(buttons);

    connect(btRescue_, &QPushButton::clicked, this, [this] { Choose(TDamageChoice::Rescue); });
    connect(btReadOnly_, &QPushButton::clicked, this, [this] { Choose(TDamageChoice::ReadOnly); });
    connect(btCancel_, &QPushButton::clicked, this, [this] { Choose(TDamageChoice::Cancel); });
    connect(btDetails_, &QPushButton::toggled, this, [this] { ToggleDetails(); });
    btRescue_->setFocus();
}

void TfrmDamagedTree::Choose(TDamageChoice choice) {
    choice_ = choice;
    if (choice == TDamageChoice::Cancel)
        reject();
    else
        accept();
}

void TfrmDamagedTree::ToggleDetails() {
    txtDetails_->setVisible(btDetails_->isChecked());
    adjustSize();
}

TDamageChoice TfrmDamagedTree::Ask(QWidget* parent, const QString& path, const QString& reason) {
    TfrmDamagedTree dialog(path, reason, parent);
    dialog.exec();
    return dialog.result() == QDialog::Accepted ? dialog.Choice() : TDamageChoice::Cancel;
}

} // namespace verdan
