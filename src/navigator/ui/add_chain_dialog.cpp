#include "add_chain_dialog.h"

#include "navigator/lineage_chain.h"
#include "navigator/ui/text_boxes.h"
#include "text/localisation.h"
#include "text/name_utils.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/form_grid.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
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

TfrmAddChain::TfrmAddChain(QWidget* parent) : QDialog(parent) {
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
    btOk_ = new QPushButton(this);
    btOk_->setObjectName(QStringLiteral("btOk"));
    btOk_->setDefault(true);
    btCancel_ = new QPushButton(this);

    auto* forms = new QHBoxLayout;
    forms->setSpacing(kSpacing * 2);
    forms->addWidget(rbPath_);
    forms->addWidget(rbList_);
    forms->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addStretch();
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kRowSpacing);
    layout->addLayout(forms);
    layout->addWidget(pages_, 1);
    layout->addWidget(lbl_Help_);
    layout->addLayout(buttons);

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
    connect(btOk_, &QPushButton::clicked, this, &TfrmAddChain::accept);
    connect(btCancel_, &QPushButton::clicked, this, &TfrmAddChain::reject);
    resize(480, 300);
}

bool TfrmAddChain::SentenceForm() const {
    return rbPath_->isChecked();
}

bool TfrmAddChain::Ask(const QString& personId) {
    personId_ = personId;
    exec();
    return accepted_ && !created_.isEmpty();
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
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));
}

void TfrmAddChain::showEvent(QShowEvent* event) {
    TranslateTexts();
    txtChainPath_->clear();
    txtChainList_->clear();
    created_.clear();
    accepted_ = false;
    ShowForm();
    QDialog::showEvent(event);
}

void TfrmAddChain::ShowForm() {
    QPlainTextEdit* box = rbPath_->isChecked() ? txtChainPath_ : txtChainList_;
    pages_->setCurrentWidget(box);
    box->setFocus();
}

void TfrmAddChain::accept() {
    TChainResult result;
    {
        TBusyCursor busy;
        const QString text = SentenceForm() ? txtChainPath_->toPlainText() : txtChainList_->toPlainText();
        result = CreateLineageChainUnder(personId_, ChainNames(text, SentenceForm()));
    }
    // A failure was reported and nothing was written: the text stays for another try.
    if (!result.Written)
        return;
    created_ = result.CreatedIds;
    accepted_ = true;
    QDialog::accept();
}

void TfrmAddChain::reject() {
    accepted_ = false;
    QDialog::reject();
}

void TfrmAddChain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QDialog::changeEvent(event);
}

} // namespace verdan
