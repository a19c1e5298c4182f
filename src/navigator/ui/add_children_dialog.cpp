#include "add_children_dialog.h"

#include "navigator/children_list.h"
#include "navigator/ui/text_boxes.h"
#include "storage/person_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/form_grid.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

namespace verdan {

namespace {

QPlainTextEdit* NewList(QWidget* parent, const char* name) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setTabChangesFocus(true);
    return box;
}

// A paste becomes one name a line.
void ArrangePaste(QPlainTextEdit* box, int at, const QString& pasted) {
    qsizetype caret = 0;
    const QString text =
        ArrangePastedNames(box->toPlainText(), at, pasted, Translate(QStringLiteral("and")), &caret);
    box->setPlainText(text);
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(static_cast<int>(std::min<qsizetype>(caret, text.size())));
    box->setTextCursor(cursor);
}

} // namespace

TfrmAddChildren::TfrmAddChildren(QWidget* parent) : TAddDialog(parent) {
    setObjectName(QStringLiteral("frmAddChildren"));
    lblPersonName_ = new QLabel(this);
    lblPersonName_->setObjectName(QStringLiteral("lblPersonName"));
    lblPersonName_->setWordWrap(true);
    QFont bold = lblPersonName_->font();
    bold.setBold(true);
    lblPersonName_->setFont(bold);
    KeepReadingAlignment(lblPersonName_);
    lblSons_ = new QLabel(this);
    lblDaughters_ = new QLabel(this);
    txtChildMale_ = NewList(this, "txtChildMale");
    txtChildFemale_ = NewList(this, "txtChildFemale");
    for (QPlainTextEdit* box : {txtChildMale_, txtChildFemale_}) {
        new TPasteWatcher(box, ArrangePaste);
        KeepBoxReading(box);
    }
    CreateButtons();

    auto* lists = new QGridLayout;
    lists->setHorizontalSpacing(kSpacing);
    lists->setVerticalSpacing(kRowSpacing);
    lists->addWidget(lblSons_, 0, 0);
    lists->addWidget(lblDaughters_, 0, 1);
    lists->addWidget(txtChildMale_, 1, 0);
    lists->addWidget(txtChildFemale_, 1, 1);
    auto* layout = CreateLayout();
    layout->addWidget(lblPersonName_);
    layout->addLayout(lists, 1);
    AddButtonRow(layout);

    resize(460, 360);
}

bool TfrmAddChildren::Ask(const QString& fatherId, const QString& motherId, const QString& parentName) {
    fatherId_ = fatherId;
    motherId_ = motherId;
    lblPersonName_->setText(parentName);
    lblPersonName_->setVisible(!parentName.trimmed().isEmpty());
    exec();
    return Accepted() && !created_.isEmpty();
}

void TfrmAddChildren::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Add Children")));
    lblSons_->setText(Translate(QStringLiteral("Sons")));
    lblDaughters_->setText(Translate(QStringLiteral("Daughters")));
}

void TfrmAddChildren::ResetFields() {
    txtChildMale_->clear();
    txtChildFemale_->clear();
    created_.clear();
    txtChildMale_->setFocus();
}

bool TfrmAddChildren::Commit() {
    TChildrenListResult result;
    {
        TBusyCursor busy;
        const bool father = !IsReservedParentId(fatherId_.trimmed());
        const bool mother = !IsReservedParentId(motherId_.trimmed());
        UndoStep step(father && mother ? StepText("Add children to «%*» and «%*»", {fatherId_, motherId_})
                                       : StepText("Add children to «%*»", {father ? fatherId_ : motherId_}),
                      father ? fatherId_ : motherId_);
        result = CreateChildrenList(fatherId_, motherId_, txtChildMale_->toPlainText().split(u'\n'),
                                    txtChildFemale_->toPlainText().split(u'\n'));
    }
    // A failure was reported; the lists stay for another try.
    if (!result.Written)
        return false;
    created_ = result.CreatedIds;
    return true;
}

} // namespace verdan
