#include "marriage_dialog.h"

#include "date_value_rows.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/form_grid.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

TfrmMarriage::TfrmMarriage(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmMarriage"));
    auto* outer = new QVBoxLayout(this);
    lblCouple_ = new QLabel(this);
    lblCouple_->setWordWrap(true);
    outer->addWidget(lblCouple_);
    auto* form = new QWidget(this);
    auto* grid = new TFormGrid(form);
    const auto heading = [form, grid](QLabel*& label) {
        label = new QLabel(form);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        grid->AddLine(label);
    };
    const auto place = [form, grid](QLabel*& label, QLineEdit*& box, const char* name) {
        label = new QLabel(form);
        box = new QLineEdit(form);
        box->setObjectName(QString::fromLatin1(name));
        label->setBuddy(box);
        grid->AddRow(label, box);
    };
    heading(lblMarried_);
    married_ = new TDateValueRows(grid, form, QStringLiteral("Married"), true);
    place(lblPlace_, txtPlace_, "txtMarriagePlace");
    heading(lblDivorced_);
    divorced_ = new TDateValueRows(grid, form, QStringLiteral("Divorced"), true);
    place(lblDivorcePlace_, txtDivorcePlace_, "txtDivorcePlace");
    lblNotes_ = new QLabel(form);
    txtNotes_ = new QPlainTextEdit(form);
    txtNotes_->setObjectName(QStringLiteral("txtMarriageNotes"));
    txtNotes_->setTabChangesFocus(true);
    lblNotes_->setBuddy(txtNotes_);
    grid->AddRow(lblNotes_, txtNotes_);
    outer->addWidget(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);
    TranslateTexts();
}

void TfrmMarriage::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Marriage")));
    lblMarried_->setText(Translate(QStringLiteral("Marriage Date")));
    lblDivorced_->setText(Translate(QStringLiteral("Divorce Date")));
    lblPlace_->setText(Translate(QStringLiteral("Marriage Place")) + u':');
    lblDivorcePlace_->setText(Translate(QStringLiteral("Divorce Place")) + u':');
    lblNotes_->setText(Translate(QStringLiteral("Notes")) + u':');
    // The names are isolated, so only a mark gives the line the interface's reading order.
    lblCouple_->setText((isRightToLeft() ? QChar(0x200F) : QChar(0x200E)) + names_);
    married_->TranslateTexts();
    divorced_->TranslateTexts();
    if (auto* box = findChild<QDialogButtonBox*>(QStringLiteral("buttons"))) {
        box->button(QDialogButtonBox::Ok)
            ->setText(TranslateContext(QStringLiteral("&OK"), QStringLiteral("dialog")));
        box->button(QDialogButtonBox::Cancel)
            ->setText(TranslateContext(QStringLiteral("&Cancel"), QStringLiteral("dialog")));
    }
}

void TfrmMarriage::Edit(const TMarriageFacts& facts, const QString& husbandName, const QString& wifeName) {
    facts_ = facts;
    names_ = Isolate(husbandName) + QStringLiteral(" — ") + Isolate(wifeName);
    married_->SetValue(facts.Married);
    divorced_->SetValue(facts.Divorced);
    txtPlace_->setText(facts.Place);
    txtDivorcePlace_->setText(facts.DivorcePlace);
    txtNotes_->setPlainText(facts.Notes);
    TranslateTexts();
}

TMarriageFacts TfrmMarriage::Result() const {
    TMarriageFacts facts = facts_;
    facts.Married = married_->Value();
    facts.Divorced = divorced_->Value();
    facts.Place = txtPlace_->text().trimmed();
    facts.DivorcePlace = txtDivorcePlace_->text().trimmed();
    facts.Notes = txtNotes_->toPlainText();
    return facts;
}

QString TfrmMarriage::Problem() const {
    const QString married = married_->Problem(Translate(QStringLiteral("Marriage Date")));
    return !married.isEmpty() ? married : divorced_->Problem(Translate(QStringLiteral("Divorce Date")));
}

void TfrmMarriage::accept() {
    const QString problem = Problem();
    if (!problem.isEmpty()) {
        MsgWarning(problem);
        return;
    }
    QDialog::accept();
}

} // namespace verdan
