#include "relation_option_dialog.h"

#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/form_grid.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

const char* const kOptionNames[kRelationOptionCount] = {
    "rbFatherMother",   "rbSonDoughter",   "rbHusbandWife", "rbFeederMother",
    "rbBrotherSisterX", "rbBrotherSister", "rbUncleAnt",    "rbUncleAnt2"};

QLabel* NameLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    KeepReadingAlignment(label);
    return label;
}

} // namespace

TfrmRelationOptionDialog::TfrmRelationOptionDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmRelationOptionDialog"));
    lblSourceName_ = NameLabel(this, "lblSourceName");
    lblRelation_ = new QLabel(this);
    lblRelation_->setObjectName(QStringLiteral("lblRelation"));
    KeepReadingAlignment(lblRelation_);
    lblTargetName_ = NameLabel(this, "lblTargetName");
    grp_Relations_ = new QGroupBox(this);
    group_ = new QButtonGroup(this);
    auto* column = new QVBoxLayout(grp_Relations_);
    column->setSpacing(kRowSpacing);
    for (int i = 0; i < kRelationOptionCount; ++i) {
        options_[i] = new QRadioButton(grp_Relations_);
        options_[i]->setObjectName(QString::fromLatin1(kOptionNames[i]));
        group_->addButton(options_[i], i);
        column->addWidget(options_[i]);
    }
    lstRelations_ = new QListWidget(this);
    lstRelations_->setObjectName(QStringLiteral("lstRelations"));
    lstRelations_->setMaximumHeight(80);
    btOk_ = new QPushButton(this);
    btOk_->setObjectName(QStringLiteral("btOk"));
    btOk_->setDefault(true);
    btCancel_ = new QPushButton(this);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addStretch();
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kRowSpacing);
    layout->addWidget(lblSourceName_);
    layout->addWidget(lblRelation_);
    layout->addWidget(lblTargetName_);
    layout->addWidget(grp_Relations_);
    layout->addWidget(lstRelations_);
    layout->addLayout(buttons);

    connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
        selected_ = static_cast<TRelationOption>(id);
        ShowLabels();
    });
    connect(btOk_, &QPushButton::clicked, this, &TfrmRelationOptionDialog::accept);
    connect(btCancel_, &QPushButton::clicked, this, &TfrmRelationOptionDialog::reject);
    setMinimumWidth(380);
}

bool TfrmRelationOptionDialog::Ask(const QString& sourceId, const QString& targetId) {
    Prepare(sourceId, targetId);
    exec();
    return changed_;
}

void TfrmRelationOptionDialog::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Set Relationship")));
    grp_Relations_->setTitle(Translate(QStringLiteral("Relationship Type")));
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));
    for (int i = 0; i < kRelationOptionCount; ++i)
        options_[i]->setText(RelationOptionCaption(static_cast<TRelationOption>(i), sourceMale_));
}

void TfrmRelationOptionDialog::Prepare(const QString& sourceId, const QString& targetId) {
    sourceId_ = sourceId;
    targetId_ = targetId;
    changed_ = false;
    const TRelationFacts facts = ReadRelationFacts(sourceId, targetId);
    sourceMale_ = facts.SourceMale;
    TranslateTexts();
    const TRelationChoice choice = RelationChoiceFor(facts);
    group_->setExclusive(false);
    for (int i = 0; i < kRelationOptionCount; ++i) {
        options_[i]->setChecked(false);
        options_[i]->setVisible(choice.Options[i].Visible);
        options_[i]->setEnabled(choice.Options[i].Enabled);
    }
    group_->setExclusive(true);
    lstRelations_->clear();
    const QString source = GetPersonName(sourceId);
    const QString target = GetPersonName(targetId);
    for (const QString& line : choice.ExistingLines)
        lstRelations_->addItem(
            FillPattern(TranslateContext(line, QStringLiteral("relationships_dialog")), {source, target}));
    lstRelations_->setVisible(!choice.ExistingLines.isEmpty());
    btOk_->setEnabled(choice.OkAllowed);
    lblSourceName_->setText(GetLineageName(sourceId));
    lblTargetName_->setText(GetLineageName(targetId));
    ShowLabels();
}

void TfrmRelationOptionDialog::ShowLabels() {
    const QRadioButton* chosen = Option(selected_);
    lblRelation_->setText(chosen->isChecked() ? RelationSentence(selected_, sourceMale_) : QString());
}

void TfrmRelationOptionDialog::accept() {
    if (!Option(selected_)->isChecked()) {
        MsgInfo(TranslateContext(QStringLiteral("One of relationship type must be chosen."),
                                 QStringLiteral("relationships_dialog")));
        return;
    }
    // A refused relation was explained; the dialog stays for another choice.
    {
        UndoStep step(StepText("Set the relationship of «%*» to «%*»", {sourceId_, targetId_}), sourceId_);
        if (!ApplyRelation(selected_, sourceId_, targetId_))
            return;
    }
    changed_ = true;
    QDialog::accept();
}

void TfrmRelationOptionDialog::reject() {
    changed_ = false;
    QDialog::reject();
}

void TfrmRelationOptionDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        TranslateTexts();
        ShowLabels();
    }
    QDialog::changeEvent(event);
}

} // namespace verdan
