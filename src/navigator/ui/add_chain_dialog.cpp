#include "add_chain_dialog.h"

#include "navigator/lineage_chain.h"
#include "navigator/ui/text_boxes.h"
#include "storage/person_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/name_utils.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/form_grid.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTextCursor>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr QChar kTatweel(0x0640);

// Pasted text loses its tatweel and short vowels; the caret stays where the paste ended.
void CleanPaste(QPlainTextEdit* box, int at, const QString& pasted) {
    const QString before = StripDiacritics(box->toPlainText().left(at + static_cast<int>(pasted.size())));
    box->setPlainText(StripDiacritics(box->toPlainText()));
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(
        std::min(static_cast<int>(before.size()), static_cast<int>(box->toPlainText().size())));
    box->setTextCursor(cursor);
}

} // namespace

TfrmAddChain::TfrmAddChain(QWidget* parent) : TAddDialog(parent) {
    setObjectName(QStringLiteral("frmAddChain"));
    rbPath_ = new QRadioButton(this);
    rbPath_->setObjectName(QStringLiteral("rbPath"));
    rbPath_->setChecked(true);
    rbList_ = new QRadioButton(this);
    rbList_->setObjectName(QStringLiteral("rbList"));
    auto* group = new QButtonGroup(this);
    group->addButton(rbPath_);
    group->addButton(rbList_);
    txtChainPath_ = new QPlainTextEdit(this);
    txtChainPath_->setObjectName(QStringLiteral("txtChainPath"));
    txtChainPath_->setTabChangesFocus(true);
    txtChainList_ = new QPlainTextEdit(this);
    txtChainList_->setObjectName(QStringLiteral("txtChainList"));
    txtChainList_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtChainList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtChainList_->setTabChangesFocus(true);
    for (QPlainTextEdit* box : {txtChainPath_, txtChainList_}) {
        new TPasteWatcher(box, CleanPaste);
        KeepBoxReading(box);
    }
    pages_ = new QStackedWidget(this);
    pages_->addWidget(txtChainPath_);
    pages_->addWidget(txtChainList_);
    lbl_Help_ = new QLabel(this);
    lbl_Help_->setWordWrap(true);
    CreateButtons();

    auto* forms = new QHBoxLayout;
    forms->setSpacing(kSpacing * 2);
    forms->addWidget(rbPath_);
    forms->addWidget(rbList_);
    forms->addStretch();
    auto* layout = CreateLayout();
    layout->addLayout(forms);
    layout->addWidget(pages_, 1);
    layout->addWidget(lbl_Help_);
    AddButtonRow(layout);

    connect(rbPath_, &QRadioButton::toggled, this, &TfrmAddChain::ShowForm);
    // The sentence keeps no tatweel, typed or pasted.
    connect(txtChainPath_, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = txtChainPath_->toPlainText();
        if (!text.contains(kTatweel))
            return;
        QTextCursor cursor = txtChainPath_->textCursor();
        const int before = static_cast<int>(text.left(cursor.position()).count(kTatweel));
        const int position = cursor.position() - before;
        QString cleaned = text;
        cleaned.remove(kTatweel);
        const QSignalBlocker quiet(txtChainPath_);
        txtChainPath_->setPlainText(cleaned);
        cursor = txtChainPath_->textCursor();
        cursor.setPosition(position);
        txtChainPath_->setTextCursor(cursor);
    });
    resize(480, 300);
}

bool TfrmAddChain::SentenceForm() const {
    return rbPath_->isChecked();
}

bool TfrmAddChain::Ask(const QString& personId) {
    personId_ = personId;
    exec();
    return Accepted() && !created_.isEmpty();
}

void TfrmAddChain::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Add Lineage")));
    rbPath_->setText(Translate(QStringLiteral("Lineage Text")) + u':');
    rbList_->setText(Translate(QStringLiteral("Lineage List")) + u':');
    txtChainPath_->setPlaceholderText(Translate(QStringLiteral("Name son of Name son of Name ..")));
    txtChainList_->setPlaceholderText(
        TranslateLines({QStringLiteral("Son"), QStringLiteral("Father"), QStringLiteral("Grandfather"),
                        QStringLiteral("GrandGrandfather")})
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    lbl_Help_->setText(Translate(QStringLiteral("Write lineage as text or list.")));
}

void TfrmAddChain::ResetFields() {
    txtChainPath_->clear();
    txtChainList_->clear();
    created_.clear();
    ShowForm();
}

void TfrmAddChain::ShowForm() {
    QPlainTextEdit* box = rbPath_->isChecked() ? txtChainPath_ : txtChainList_;
    pages_->setCurrentWidget(box);
    box->setFocus();
}

bool TfrmAddChain::Commit() {
    TChainResult result;
    {
        TBusyCursor busy;
        const bool firstLevel = IsReservedParentId(personId_);
        UndoStep step(firstLevel ? StepText("Add a lineage chain")
                                 : StepText("Add a lineage chain under «%*»", {personId_}),
                      firstLevel ? QString() : personId_);
        const QString text = SentenceForm() ? txtChainPath_->toPlainText() : txtChainList_->toPlainText();
        result = CreateLineageChainUnder(personId_, ChainNames(text, SentenceForm()));
    }
    // A failure was reported and nothing was written: the text stays for another try.
    if (!result.Written)
        return false;
    created_ = result.CreatedIds;
    return true;
}

} // namespace verdan
