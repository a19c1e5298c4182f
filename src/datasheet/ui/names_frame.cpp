#include "names_frame.h"

#include "safe_slot.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"
#include "text/ui/form_grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace verdan {

namespace {

// Sets a box without it counting as an edit of the user.
void Show(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setCursorPosition(0);
}

} // namespace

Tfram_Names::Tfram_Names(QWidget* parent) : QWidget(parent) {
    form_ = new TFormGrid(this);
    txtPerson_Name_ = AddBox("txtPerson_Name", "Given Name");
    txtCognomen_ = AddBox("txtCognomen", "Cognomen");
    txtOther_Name_ = AddBox("txtOther_Name", "Other Name");
    txtNickname_ = AddBox("txtNickname", "Nickname");
    txtLast_Name_ = AddBox("txtLast_Name", "Family Name");
    txtFamily_Name_ = AddBox("txtFamily_Name", "Older Family Name");
    txtFamily_Nickname_ = AddBox("txtFamily_Nickname", "Family Nickname");

    chkIsSection_ = new QCheckBox(this);
    chkIsSection_->setObjectName("chkIsSection");
    cmbSection_Type_ = new QComboBox(this);
    cmbSection_Type_->setObjectName("cmbSection_Type");
    cmbSection_Type_->setEditable(true);
    cmbSection_Type_->setInsertPolicy(QComboBox::NoInsert);
    cmbSection_Type_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    form_->AddRow(chkIsSection_, cmbSection_Type_);
    connect(chkIsSection_, &QCheckBox::toggled, this, [this] { RunSafely([this] { chkIsSectionClick(); }); });
    connect(cmbSection_Type_, &QComboBox::currentTextChanged, this, &Tfram_Names::MarkChanged);

    txtGender_ = AddBox("txtGender", "Gender");
    txtGender_->setReadOnly(true);
    txtOrder_By_Father_ = AddBox("txtOrder_By_Father", "Birth order (Father side)");
    txtOrder_By_Mother_ = AddBox("txtOrder_By_Mother", "Birth order (Mother side)");
    TranslateTexts();
    LoadNames(QString());
}

QLineEdit* Tfram_Names::AddBox(const char* name, const char* caption) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    auto* label = new QLabel(this);
    label->setBuddy(box);
    labels_.append({label, caption});
    rows_.insert(box, form_->AddRow(label, box));
    connect(box, &QLineEdit::textEdited, this, &Tfram_Names::MarkChanged);
    return box;
}

void Tfram_Names::TranslateTexts() {
    for (const auto& [label, caption] : labels_)
        label->setText(Translate(QString::fromLatin1(caption)) + u':');
    chkIsSection_->setText(Translate(QStringLiteral("Section")));
}

void Tfram_Names::MarkChanged() {
    if (filling_)
        return;
    edits_.MarkChanged();
    emit Edited();
}

void Tfram_Names::chkIsSectionClick() {
    cmbSection_Type_->setEnabled(chkIsSection_->isChecked());
    MarkChanged();
}

void Tfram_Names::LoadNames(const QString& personId) {
    filling_ = true;
    const TNamesBoxes boxes = StartNamesEdits(edits_, personId);
    const bool hideNicknames = !personId.isEmpty() && HideNicknameOption();
    for (QLineEdit* box : {txtNickname_, txtFamily_Nickname_})
        form_->SetRowVisible(rows_.value(box), !hideNicknames);
    Show(txtPerson_Name_, boxes.Person_Name);
    Show(txtCognomen_, boxes.Cognomen);
    Show(txtOther_Name_, boxes.Other_Name);
    Show(txtNickname_, boxes.Nickname);
    Show(txtLast_Name_, boxes.Last_Name);
    Show(txtFamily_Name_, boxes.Family_Name);
    Show(txtFamily_Nickname_, boxes.Family_Nickname);
    chkIsSection_->setChecked(boxes.Is_Section);
    cmbSection_Type_->clear();
    cmbSection_Type_->addItems(SectionTypeChoices());
    cmbSection_Type_->setEditText(boxes.Section_Type);
    cmbSection_Type_->setEnabled(boxes.Is_Section);
    Show(txtGender_, personId.isEmpty() ? QString() : GenderCaption(GetGender(personId)));
    Show(txtOrder_By_Father_, boxes.Order_By_Father);
    Show(txtOrder_By_Mother_, boxes.Order_By_Mother);
    filling_ = false;
}

TNamesBoxes Tfram_Names::Boxes() const {
    TNamesBoxes boxes;
    boxes.Person_Name = txtPerson_Name_->text();
    boxes.Cognomen = txtCognomen_->text();
    boxes.Other_Name = txtOther_Name_->text();
    boxes.Nickname = txtNickname_->text();
    boxes.Last_Name = txtLast_Name_->text();
    boxes.Family_Name = txtFamily_Name_->text();
    boxes.Family_Nickname = txtFamily_Nickname_->text();
    boxes.Is_Section = chkIsSection_->isChecked();
    boxes.Section_Type = cmbSection_Type_->currentText();
    boxes.Order_By_Father = txtOrder_By_Father_->text();
    boxes.Order_By_Mother = txtOrder_By_Mother_->text();
    return boxes;
}

TSaveResult Tfram_Names::SaveNames() {
    const QString id = edits_.PersonId();
    if (edits_.Changed() && txtPerson_Name_->text().trimmed().isEmpty()) {
        filling_ = true;
        txtPerson_Name_->setText(QStringLiteral("<>"));
        filling_ = false;
    }
    const TSaveResult result = SaveNamesEdits(edits_, Boxes());
    if (result == TSaveResult::Written)
        emit NamesSaved(id);
    return result;
}

} // namespace verdan
