#include "date_approach.h"

#include "safe_slot.h"
#include "storage/undo_log.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/typed_numbers.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace verdan {

namespace {

QString NumberText(int value) {
    return value > 0 ? QString::number(value) : QString();
}

} // namespace

TfrmDateApproach::TfrmDateApproach(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDateApproach");
    auto* grid = new QGridLayout(this);
    lblBirth_ = new QLabel(this);
    lblDeath_ = new QLabel(this);
    txtYears_ = NumberBox("txtYears", 4);
    txtMonths_ = NumberBox("txtMonths", 4);
    txtDays_ = NumberBox("txtDays", 5);
    txtYearsDeath_ = NumberBox("txtYearsDeath", 4);
    txtMonthsDeath_ = NumberBox("txtMonthsDeath", 4);
    txtDaysDeath_ = NumberBox("txtDaysDeath", 5);
    auto preview = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    lbl_Birth_G_ = preview("lbl_Birth_G");
    lbl_Birth_H_ = preview("lbl_Birth_H");
    lbl_Death_G_ = preview("lbl_Death_G");
    lbl_Death_H_ = preview("lbl_Death_H");

    int row = 0;
    auto addEvent = [&](QLabel* caption, QLineEdit* years, QLineEdit* months, QLineEdit* days, QLabel* g,
                        QLabel* h) {
        grid->addWidget(caption, row++, 0, 1, 3);
        for (int column = 0; column < 3; ++column) {
            auto* head = new QLabel(this);
            heads_.append(head);
            grid->addWidget(head, row, column);
        }
        ++row;
        grid->addWidget(years, row, 0);
        grid->addWidget(months, row, 1);
        grid->addWidget(days, row, 2);
        ++row;
        grid->addWidget(g, row++, 0, 1, 3);
        grid->addWidget(h, row++, 0, 1, 3);
    };
    addEvent(lblBirth_, txtYears_, txtMonths_, txtDays_, lbl_Birth_G_, lbl_Birth_H_);
    addEvent(lblDeath_, txtYearsDeath_, txtMonthsDeath_, txtDaysDeath_, lbl_Death_G_, lbl_Death_H_);

    auto* buttons = new QDialogButtonBox(this);
    btOk_ = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    btOk_->setObjectName("btOk");
    btOk_->setDefault(true);
    btCancel_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    btCancel_->setObjectName("btCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, row, 0, 1, 3);
    TranslateTexts();
}

QLineEdit* TfrmDateApproach::NumberBox(const char* name, int digits) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    // Digits of any of the sets a keyboard gives (\\d would take digits of every script, which no reader
    // takes back).
    box->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9\\x{0660}-\\x{0669}\\x{06F0}-\\x{06F9}]{0,%1}").arg(digits)),
        box));
    connect(box, &QLineEdit::textChanged, this, [this] { RunSafely([this] { UpdatePreview(); }); });
    return box;
}

void TfrmDateApproach::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Date Calculator")));
    lblBirth_->setText(Translate(QStringLiteral("Estimated time since birth")) + u':');
    lblDeath_->setText(Translate(QStringLiteral("Estimated time since death")) + u':');
    static const char* const kHeads[] = {"Year", "Month", "Day"};
    for (qsizetype i = 0; i < heads_.size(); ++i)
        heads_[i]->setText(Translate(QString::fromLatin1(kHeads[i % 3])));
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));
}

void TfrmDateApproach::SetEstimates(const TDateEstimate& birth, const TDateEstimate& death) {
    txtYears_->setText(NumberText(birth.Years));
    txtMonths_->setText(NumberText(birth.Months));
    txtDays_->setText(NumberText(birth.Days));
    txtYearsDeath_->setText(NumberText(death.Years));
    txtMonthsDeath_->setText(NumberText(death.Months));
    txtDaysDeath_->setText(NumberText(death.Days));
    UpdatePreview();
}

TDateEstimate TfrmDateApproach::Read(QLineEdit* years, QLineEdit* months, QLineEdit* days) const {
    // The validator lets only digits in; an empty box counts 0.
    const auto number = [](const QLineEdit* box) {
        return ReadTypedInteger(box->text()).value_or(0);
    };
    return {number(years), number(months), number(days)};
}

void TfrmDateApproach::UpdatePreview() {
    QString g;
    QString h;
    const TDateEstimate birth = Read(txtYears_, txtMonths_, txtDays_);
    if (birth.IsSet())
        EstimatedDateCaptions(Today(), birth, g, h);
    lbl_Birth_G_->setText(g);
    lbl_Birth_H_->setText(h);
    g.clear();
    h.clear();
    const TDateEstimate death = Read(txtYearsDeath_, txtMonthsDeath_, txtDaysDeath_);
    if (death.IsSet())
        EstimatedDateCaptions(Today(), death, g, h);
    lbl_Death_G_->setText(g);
    lbl_Death_H_->setText(h);
}

void TfrmDateApproach::showEvent(QShowEvent* event) {
    accepted_ = false;
    TranslateTexts();
    UpdatePreview();
    QDialog::showEvent(event);
    txtYears_->setFocus();
    txtYears_->selectAll();
}

void TfrmDateApproach::accept() {
    bool refused = false;
    RunSafely([this, &refused] {
        birth_ = Read(txtYears_, txtMonths_, txtDays_);
        death_ = Read(txtYearsDeath_, txtMonthsDeath_, txtDaysDeath_);
        if (personId_.isEmpty()) {
            accepted_ = true;
            return;
        }
        TEstimateResult result;
        {
            UndoStep step(StepText("Estimate the dates of «%*»", {personId_}), personId_);
            result = WriteEstimatedDates(personId_, birth_, death_, Today());
        }
        // A contradiction keeps the dialog open, so the user can mend the estimate or cancel.
        refused = result == TEstimateResult::Contradiction;
        if (refused) {
            MsgWarning(Isolate(
                Translate(QStringLiteral("The dates were not saved because they contradict each other."))));
            return;
        }
        accepted_ = true;
        if (result == TEstimateResult::Written)
            emit DatesWritten(personId_);
    });
    if (!refused)
        QDialog::accept();
}

void TfrmDateApproach::done(int result) {
    for (QLabel* label : {lbl_Birth_G_, lbl_Birth_H_, lbl_Death_G_, lbl_Death_H_})
        label->clear();
    QDialog::done(result);
}

} // namespace verdan
