#include "new_tree_dialog.h"

#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/file_dialogs.h"
#include "text/user_options.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

QString InvalidPathText() {
    return Translate(QStringLiteral("Invalid path name")) + u'.';
}

} // namespace

Tfrm_NewTree::Tfrm_NewTree(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_NewTree"));
    lblTreeName_ = new QLabel(this);
    lblOwner_ = new QLabel(this);
    lblLocation_ = new QLabel(this);
    lblFolder_ = new QLabel(this);
    lblFileName_ = new QLabel(this);
    txtTreeName_ = new QLineEdit(this);
    txtOwner_ = new QLineEdit(this);
    txtLocation_ = new QLineEdit(this);
    txtFolder_ = new QLineEdit(this);
    txtFileName_ = new QLineEdit(this);
    txtPath_ = new QLineEdit(this);
    txtPath_->setReadOnly(true);
    // Paths read left to right in every language.
    for (QLineEdit* edit : {txtLocation_, txtPath_})
        edit->setLayoutDirection(Qt::LeftToRight);
    btBrowse_ = new QPushButton(this);
    btDetail_ = new QPushButton(this);
    btDetail_->setCheckable(true);
    btOk_ = new QPushButton(this);
    btOk_->setDefault(true);
    btCancel_ = new QPushButton(this);

    auto* location = new QHBoxLayout;
    location->addWidget(txtLocation_, 1);
    location->addWidget(btBrowse_);
    auto* form = new QFormLayout;
    form->addRow(lblTreeName_, txtTreeName_);
    form->addRow(lblOwner_, txtOwner_);
    form->addRow(lblLocation_, location);
    pnlDetail_ = new QWidget(this);
    auto* detail = new QFormLayout(pnlDetail_);
    detail->setContentsMargins(0, 0, 0, 0);
    detail->addRow(lblFolder_, txtFolder_);
    detail->addRow(lblFileName_, txtFileName_);
    pnlDetail_->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btDetail_);
    buttons->addStretch();
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(pnlDetail_);
    layout->addWidget(txtPath_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    txtLocation_->setMinimumWidth(360);

    connect(txtTreeName_, &QLineEdit::textEdited, this, [this](const QString& text) {
        names_.SetTreeName(text);
        ShowNames();
    });
    connect(txtFolder_, &QLineEdit::textEdited, this, [this](const QString& text) {
        names_.SetFolderName(text);
        ShowNames();
    });
    connect(txtFileName_, &QLineEdit::textEdited, this, [this](const QString& text) {
        names_.SetFileName(text);
        ShowNames();
    });
    connect(txtOwner_, &QLineEdit::textChanged, this, &Tfrm_NewTree::Compose);
    connect(txtLocation_, &QLineEdit::textChanged, this, &Tfrm_NewTree::Compose);
    connect(btBrowse_, &QPushButton::clicked, this, &Tfrm_NewTree::BrowseClick);
    connect(btDetail_, &QPushButton::toggled, pnlDetail_, &QWidget::setVisible);
    connect(btOk_, &QPushButton::clicked, this, &Tfrm_NewTree::accept);
    connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfrm_NewTree::showEvent(QShowEvent* event) {
    TranslateTexts();
    result_ = TTreeProperty();
    names_ = TNewTreeNames::For(Translate(QStringLiteral("Tree Project")));
    txtOwner_->clear();
    txtLocation_->setText(QDir::toNativeSeparators(DefaultNewTreeLocation()));
    ShowNames();
    txtTreeName_->setFocus();
    txtTreeName_->selectAll();
    QDialog::showEvent(event);
}

void Tfrm_NewTree::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Create New Tree")));
    lblTreeName_->setText(Translate(QStringLiteral("Tree name")));
    lblOwner_->setText(Translate(QStringLiteral("Owner")));
    lblLocation_->setText(Translate(QStringLiteral("Location")));
    lblFolder_->setText(Translate(QStringLiteral("Folder")));
    lblFileName_->setText(Translate(QStringLiteral("File name")));
    btBrowse_->setText(Translate(QStringLiteral("&Browse")) + QStringLiteral(".."));
    btDetail_->setText(Translate(QStringLiteral("Detail")));
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));
}

void Tfrm_NewTree::ShowNames() {
    // Only boxes whose text changed are written, so the caret of the box being typed in stays put.
    const auto show = [](QLineEdit* edit, const QString& text) {
        if (edit->text() != text)
            edit->setText(text);
    };
    show(txtTreeName_, names_.TreeName);
    show(txtFolder_, names_.FolderName);
    show(txtFileName_, names_.FileName);
    Compose();
}

void Tfrm_NewTree::Compose() {
    btOk_->setEnabled(!names_.TreeName.trimmed().isEmpty() && !txtOwner_->text().trimmed().isEmpty());
    const TNewTreePath path = ComposeNewTreePath(txtLocation_->text(), names_.FolderName, names_.FileName);
    QPalette palette = txtPath_->palette();
    palette.setColor(QPalette::Text, path.Valid ? palette.color(QPalette::WindowText) : QColor(Qt::red));
    txtPath_->setPalette(palette);
    txtPath_->setText(path.Valid ? QDir::toNativeSeparators(path.Path) : InvalidPathText());
}

void Tfrm_NewTree::accept() {
    if (!btOk_->isEnabled())
        return;
    TTreeProperty props;
    if (!AcceptNewTree(txtLocation_->text(), names_, txtOwner_->text(), props)) {
        Compose();
        MsgWarning(InvalidPathText());
        return;
    }
    result_ = props;
    Options().LastCreatedLocation = props.BasePath;
    QDialog::accept();
}

void Tfrm_NewTree::BrowseClick() {
    const QString folder =
        FolderDialog(this, Translate(QStringLiteral("Location")), txtLocation_->text().trimmed());
    if (!folder.isEmpty())
        txtLocation_->setText(QDir::toNativeSeparators(folder));
}

} // namespace verdan
