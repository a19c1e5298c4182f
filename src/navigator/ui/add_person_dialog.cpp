#include "add_person_dialog.h"

#include "navigator/ui/text_boxes.h"
#include "navigator/ui/tree_dialog.h"
#include "storage/gender_code.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/form_grid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

TfrmAddPerson::TfrmAddPerson(TfrmTreeDialog* picker, QWidget* parent) : TAddDialog(parent), picker_(picker) {
    setObjectName(QStringLiteral("frmAddPerson"));
    lblName_ = new QLabel(this);
    txtName_ = new QLineEdit(this);
    txtName_->setObjectName(QStringLiteral("txtName"));
    lblNotes_ = new QLabel(this);
    txtNotes_ = new QPlainTextEdit(this);
    txtNotes_->setObjectName(QStringLiteral("txtNotes"));
    txtNotes_->setTabChangesFocus(true);
    txtNotes_->setMaximumHeight(90);
    KeepBoxReading(txtNotes_);
    btAssignFather_ = new QPushButton(this);
    btAssignFather_->setAutoDefault(false);
    btAssignMother_ = new QPushButton(this);
    btAssignMother_->setAutoDefault(false);
    lblFather_ = new QLabel(this);
    lblFather_->setObjectName(QStringLiteral("lblFather"));
    lblFather_->setWordWrap(true);
    lblMother_ = new QLabel(this);
    lblMother_->setObjectName(QStringLiteral("lblMother"));
    lblMother_->setWordWrap(true);
    CreateButtons();

    auto* formHost = new QWidget(this);
    auto* form = new TFormGrid(formHost);
    form->setContentsMargins(0, 0, 0, 0);
    form->AddRow(lblName_, txtName_);
    form->AddRow(lblNotes_, txtNotes_);
    // Each parent button with the name chosen beside it, under the fields.
    for (auto [button, label] :
         {std::pair{btAssignFather_, lblFather_}, std::pair{btAssignMother_, lblMother_}}) {
        auto* row = new QWidget(formHost);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        line->setSpacing(kSpacing);
        line->addWidget(button);
        line->addWidget(label, 1);
        form->AddRow(nullptr, row);
        KeepReadingAlignment(label);
    }

    auto* layout = CreateLayout();
    layout->addWidget(formHost);
    layout->addStretch();
    AddButtonRow(layout);

    connect(txtName_, &QLineEdit::textChanged, this,
            [this](const QString& text) { btOk_->setEnabled(!text.trimmed().isEmpty()); });
    connect(btAssignFather_, &QPushButton::clicked, this, &TfrmAddPerson::AssignFatherClick);
    connect(btAssignMother_, &QPushButton::clicked, this, &TfrmAddPerson::AssignMotherClick);
    resize(440, 250);
}

bool TfrmAddPerson::Ask(const QString& gender) {
    gender_ = NormaliseGender(gender) == u"f" ? QStringLiteral("f") : QStringLiteral("m");
    exec();
    return Accepted();
}

void TfrmAddPerson::TranslateTexts() {
    setWindowTitle(gender_ == u"f" ? Translate(QStringLiteral("Attach Wife"))
                                   : Translate(QStringLiteral("Attach Husband")));
    lblName_->setText(Translate(QStringLiteral("Name")) + u':');
    lblNotes_->setText(Translate(QStringLiteral("Notes")) + u':');
    btAssignFather_->setText(Translate(QStringLiteral("Attach Father")) + QStringLiteral(".."));
    btAssignMother_->setText(Translate(QStringLiteral("Attach Mother")) + QStringLiteral(".."));
}

void TfrmAddPerson::ResetFields() {
    txtName_->clear();
    txtNotes_->clear();
    lblFather_->clear();
    lblMother_->clear();
    lblFather_->hide();
    lblMother_->hide();
    fatherId_.clear();
    motherId_.clear();
    btOk_->setEnabled(false);
    txtName_->setFocus();
}

void TfrmAddPerson::AssignFatherClick() {
    AssignParent(true);
}

void TfrmAddPerson::AssignMotherClick() {
    AssignParent(false);
}

void TfrmAddPerson::AssignParent(bool father) {
    if (!picker_)
        return;
    // A person of the wrong gender is refused in the picker, which stays open; the earlier choice stays.
    const bool chosen = picker_->Choose(
        father ? Translate(QStringLiteral("Attach Father")) : Translate(QStringLiteral("Attach Mother")),
        false, father ? QStringLiteral("m") : QStringLiteral("f"), [father](const TPickedPersons& picked) {
            const QString id = picked.Id.trimmed();
            if (id.isEmpty() || id == u"-1")
                return TPickVerdict::Refused(Translate(QStringLiteral("No person has been chosen.")));
            if (GetGender(id) != (father ? u"m" : u"f"))
                return TPickVerdict::Refused(
                    father ? Translate(QStringLiteral("Gender of father must be male."))
                           : Translate(QStringLiteral("Gender of mother must be female.")));
            return TPickVerdict::Allowed();
        });
    if (!chosen)
        return;
    const QString id = picker_->Chosen().Id.trimmed();
    QLabel* label = father ? lblFather_ : lblMother_;
    (father ? fatherId_ : motherId_) = id;
    label->setText((father ? Translate(QStringLiteral("Father")) : Translate(QStringLiteral("Mother"))) +
                   QStringLiteral(": ") + GetLineageName(id));
    label->show();
}

TNewMate TfrmAddPerson::Mate() const {
    return {txtName_->text(), txtNotes_->toPlainText(), fatherId_, motherId_, gender_};
}

bool TfrmAddPerson::Commit() {
    if (txtName_->text().trimmed().isEmpty())
        return false;
    return true;
}

} // namespace verdan
