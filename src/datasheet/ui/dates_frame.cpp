#include "dates_frame.h"

#include "datasheet/date_conversion.h"
#include "date_approach.h"
#include "date_value_rows.h"
#include "safe_slot.h"
#include "storage/gender_code.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

// A non-negative span for the calculator: a date after today estimates nothing.
TDateEstimate EstimateOf(const DateSpan& span) {
    if (span.Years < 0)
        return {};
    return {span.Years, std::max(0, span.Months), std::max(0, span.Days)};
}

// A box's date as typed, with its era word.
QString TypedDate(const TDateBox& box, TCalendar calendar) {
    const QString text = IsolateLtr(box.Text.trimmed());
    if (!box.BeforeEra)
        return text;
    return text + u' ' +
           Translate(calendar == TCalendar::Gregorian ? QStringLiteral("B.c") : QStringLiteral("B.h"));
}

// The date just typed and the date the user typed in the other calendar's box name different days: asks
// which stands. True for the date just typed (the other box then takes its conversion); leaving the
// question keeps both as they are.
bool AskWhichDateStands(const TDateBox& typed, const TDateBox& other, TCalendar calendar) {
    const bool gregorian = calendar == TCalendar::Gregorian;
    const TCalendar otherCalendar = gregorian ? TCalendar::Hijri : TCalendar::Gregorian;
    const QString gregorianDate = Translate(QStringLiteral("The Gregorian date"));
    const QString hijriDate = Translate(QStringLiteral("The Hijri date"));
    TQuestion question;
    question.text = FillPattern(
        Translate(gregorian
                      ? QStringLiteral("The Gregorian date %* and the Hijri date %* are not the same day.|"
                                       "Which date stands?")
                      : QStringLiteral("The Hijri date %* and the Gregorian date %* are not the same day.|"
                                       "Which date stands?")),
        {TypedDate(typed, calendar), TypedDate(other, otherCalendar)});
    question.caption = Translate(gregorian ? QStringLiteral("Convert Date to Hijri")
                                           : QStringLiteral("Convert Date to Gregorian"));
    question.answers = {{1, gregorian ? gregorianDate : hijriDate, QStringLiteral("typed")},
                        {2, gregorian ? hijriDate : gregorianDate, QStringLiteral("other")}};
    question.focus = 2;
    question.escape = 2;
    return MsgAsk(question) == 1;
}

} // namespace

TframDates::TframDates(QWidget* parent) : QWidget(parent), calculator_(new TfrmDateApproach(this)) {
    // Birth and death on the form grid: the date boxes start where the name boxes of the sheet do, the
    // era box and the conversion button after each, the computed spans under the fields.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, kWindowMargin - kRowSpacing, 0, kWindowMargin - kRowSpacing);
    outer->setSpacing(0);

    auto* birth = new QWidget(this);
    birth->setObjectName("pnlBirthData");
    auto* grid = new TFormGrid(birth);
    grid->setContentsMargins(kWindowMargin, kRowSpacing, kWindowMargin, kRowSpacing);
    lblDateHead_ = new QLabel(birth);
    grid->AddRow(nullptr, lblDateHead_);
    birthG_ = AddDateRow(birth, "txtDate_of_Birth_G", "chkNegativ_BG", "bt_Birth_G_to_H", u"go-down");
    birthH_ = AddDateRow(birth, "txtDate_of_Birth_H", "chkNegativ_BH", "bt_Birth_H_to_G", u"go-up");
    birthDetail_ = new TDateValueRows(grid, birth, QStringLiteral("Birth"), false);
    lblPlaceBirth_ = new QLabel(birth);
    txtPlace_of_Birth_ = new QLineEdit(birth);
    txtPlace_of_Birth_->setObjectName("txtPlace_of_Birth");
    lblPlaceBirth_->setBuddy(txtPlace_of_Birth_);
    grid->AddRow(lblPlaceBirth_, txtPlace_of_Birth_);
    lblBirthSince_ = new QLabel(birth);
    lblBirthSince_->setObjectName("lblBirthSince");
    grid->AddLine(lblBirthSince_);
    auto* buttons = new QWidget(birth);
    auto* buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->setSpacing(kSpacing);
    bt_Show_Death_Data_ = new QPushButton(buttons);
    bt_Show_Death_Data_->setObjectName("bt_Show_Death_Data");
    bt_Calc_Date_ = new QPushButton(buttons);
    bt_Calc_Date_->setObjectName("bt_Calc_Date");
    buttonRow->addWidget(bt_Show_Death_Data_);
    buttonRow->addWidget(bt_Calc_Date_);
    buttonRow->addStretch();
    grid->AddRow(nullptr, buttons);
    outer->addWidget(birth);

    pnlDeathData_ = new QWidget(this);
    pnlDeathData_->setObjectName("pnlDeathData");
    auto* death = new TFormGrid(pnlDeathData_);
    death->setContentsMargins(kWindowMargin, kRowSpacing, kWindowMargin, kRowSpacing);
    chkIsDead_ = new QCheckBox(pnlDeathData_);
    chkIsDead_->setObjectName("chkIsDead");
    death->AddRow(nullptr, chkIsDead_);
    deathG_ = AddDateRow(pnlDeathData_, "txtDate_of_Death_G", "chkNegativ_DG", "bt_Death_G_to_H", u"go-down");
    deathH_ = AddDateRow(pnlDeathData_, "txtDate_of_Death_H", "chkNegativ_DH", "bt_Death_H_to_G", u"go-up");
    deathDetail_ = new TDateValueRows(death, pnlDeathData_, QStringLiteral("Death"), false);
    lblPlaceDeath_ = new QLabel(pnlDeathData_);
    txtPlace_of_Dead_ = new QLineEdit(pnlDeathData_);
    txtPlace_of_Dead_->setObjectName("txtPlace_of_Dead");
    lblPlaceDeath_->setBuddy(txtPlace_of_Dead_);
    death->AddRow(lblPlaceDeath_, txtPlace_of_Dead_);
    lblDeathSince_ = new QLabel(pnlDeathData_);
    lblDeathSince_->setObjectName("lblDeathSince");
    death->AddLine(lblDeathSince_);
    lbllived_ = new QLabel(pnlDeathData_);
    lbllived_->setObjectName("lbllived");
    death->AddLine(lbllived_);
    outer->addWidget(pnlDeathData_);

    auto* warning = new QWidget(this);
    auto* warningGrid = new TFormGrid(warning);
    warningGrid->setContentsMargins(kWindowMargin, 0, kWindowMargin, 0);
    lbl_Error_ = new QLabel(warning);
    lbl_Error_->setObjectName("lbl_Error");
    lbl_Error_->setWordWrap(true);
    QPalette red = lbl_Error_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    lbl_Error_->setPalette(red);
    warningGrid->AddLine(lbl_Error_);
    outer->addWidget(warning);

    for (QLineEdit* place : {txtPlace_of_Birth_, txtPlace_of_Dead_})
        connect(place, &QLineEdit::textEdited, this, &TframDates::MarkChanged);
    connect(txtPlace_of_Dead_, &QLineEdit::editingFinished, this,
            [this] { RunSafely([this] { UpdateDateInfo(); }); });
    connect(chkIsDead_, &QCheckBox::toggled, this, &TframDates::MarkChanged);
    for (TDateValueRows* rows : {birthDetail_, deathDetail_})
        connect(rows, &TDateValueRows::Edited, this, &TframDates::MarkChanged);
    auto slot = [this](QAbstractButton* button, void (TframDates::*command)()) {
        connect(button, &QAbstractButton::clicked, this,
                [this, command] { RunSafely([this, command] { (this->*command)(); }); });
    };
    slot(birthG_.convert, &TframDates::bt_Birth_G_to_HClick);
    slot(birthH_.convert, &TframDates::bt_Birth_H_to_GClick);
    slot(deathG_.convert, &TframDates::bt_Death_G_to_HClick);
    slot(deathH_.convert, &TframDates::bt_Death_H_to_GClick);
    slot(bt_Calc_Date_, &TframDates::bt_Calc_DateClick);
    slot(bt_Show_Death_Data_, &TframDates::bt_Show_Death_DataClick);

    TranslateTexts();
    Clear();
}

TframDates::DateRow TframDates::AddDateRow(QWidget* parent, const char* box, const char* era,
                                           const char* button, const char16_t* icon) {
    DateRow r;
    r.label = new QLabel(parent);
    r.box = new QLineEdit(parent);
    r.box->setObjectName(QString::fromLatin1(box));
    r.box->installEventFilter(this);
    r.era = new QCheckBox(parent);
    r.era->setObjectName(QString::fromLatin1(era));
    r.convert = new QToolButton(parent);
    r.convert->setObjectName(QString::fromLatin1(button));
    r.convert->setIcon(Icon(icon));
    r.label->setBuddy(r.box);
    static_cast<TFormGrid*>(parent->layout())->AddRow(r.label, r.box, {r.era, r.convert});
    connect(r.box, &QLineEdit::textEdited, this, &TframDates::MarkChanged);
    connect(r.era, &QCheckBox::toggled, this, &TframDates::MarkChanged);
    return r;
}

void TframDates::TranslateTexts() {
    lblDateHead_->setText(Translate(QStringLiteral("Day")) + QStringLiteral(" - ") +
                          Translate(QStringLiteral("Month")) + QStringLiteral(" - ") +
                          Translate(QStringLiteral("Year")));
    birthG_.label->setText(DateBoxCaption(TDateBoxId::BirthG) + u':');
    birthH_.label->setText(DateBoxCaption(TDateBoxId::BirthH) + u':');
    deathG_.label->setText(DateBoxCaption(TDateBoxId::DeathG) + u':');
    deathH_.label->setText(DateBoxCaption(TDateBoxId::DeathH) + u':');
    for (const DateRow* row : {&birthG_, &deathG_}) {
        row->era->setText(Translate(QStringLiteral("B.c")));
        row->convert->setToolTip(Translate(QStringLiteral("Calculate Hijri Date")));
    }
    for (const DateRow* row : {&birthH_, &deathH_}) {
        row->era->setText(Translate(QStringLiteral("B.h")));
        row->convert->setToolTip(Translate(QStringLiteral("Calculate Gregorian Date")));
    }
    birthDetail_->TranslateTexts();
    deathDetail_->TranslateTexts();
    lblPlaceBirth_->setText(Translate(QStringLiteral("Birth Place")) + u':');
    lblPlaceDeath_->setText(Translate(QStringLiteral("Death Place")) + u':');
    UpdateDeceasedCaption();
    bt_Show_Death_Data_->setText(Translate(QStringLiteral("Other Data")));
    bt_Show_Death_Data_->setToolTip(Translate(QStringLiteral("Show/Hide Other Data")));
    bt_Calc_Date_->setText(Translate(QStringLiteral("Date Calculator")) + QStringLiteral(".."));
    // The spans read in the new language too.
    if (!filling_) {
        info_ = ComputeDateInfo(Boxes(), gender_, Today());
        ShowInfo();
    }
}

// "Deceased" agrees with the person: a woman is متوفاة.
void TframDates::UpdateDeceasedCaption() {
    const QString text = QStringLiteral("Deceased");
    chkIsDead_->setText(gender_ == u"f" ? TranslateFeminine(text) : Translate(text));
}

void TframDates::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

void TframDates::MarkChanged() {
    if (filling_)
        return;
    edits_.MarkChanged();
    refusalShown_ = false;
    emit Edited();
}

void TframDates::SetBox(const DateRow& row, const TDateBox& value) {
    row.box->setText(value.Text);
    row.era->setChecked(value.BeforeEra);
}

void TframDates::LoadDates(const TPerson& person) {
    filling_ = true;
    refusalShown_ = false;
    const TDateBoxes boxes = StartDatesEdits(edits_, person);
    gender_ = NormaliseGender(person.Gender);
    UpdateDeceasedCaption();
    SetBox(birthG_, boxes.BirthG);
    SetBox(birthH_, boxes.BirthH);
    SetBox(deathG_, boxes.DeathG);
    SetBox(deathH_, boxes.DeathH);
    birthDetail_->SetDetailBoxes(boxes.BirthDetail);
    deathDetail_->SetDetailBoxes(boxes.DeathDetail);
    txtPlace_of_Birth_->setText(boxes.Place_of_Birth);
    txtPlace_of_Dead_->setText(boxes.Place_of_Death);
    chkIsDead_->setChecked(boxes.Is_Dead);
    UpdateDateInfo();
    pnlDeathData_->setVisible(chkIsDead_->isChecked());
    filling_ = false;
}

TDateBoxes TframDates::Boxes() const {
    TDateBoxes boxes;
    boxes.BirthG = {birthG_.box->text(), birthG_.era->isChecked()};
    boxes.BirthH = {birthH_.box->text(), birthH_.era->isChecked()};
    boxes.DeathG = {deathG_.box->text(), deathG_.era->isChecked()};
    boxes.DeathH = {deathH_.box->text(), deathH_.era->isChecked()};
    boxes.Place_of_Birth = txtPlace_of_Birth_->text();
    boxes.Place_of_Death = txtPlace_of_Dead_->text();
    boxes.Is_Dead = chkIsDead_->isChecked();
    boxes.BirthDetail = birthDetail_->DetailBoxes();
    boxes.DeathDetail = deathDetail_->DetailBoxes();
    return boxes;
}

void TframDates::UpdateDateInfo() {
    const TDateBoxes boxes = Boxes();
    info_ = ComputeDateInfo(boxes, gender_, Today());
    // A box that holds no date is the first thing to put right.
    if (const std::optional<TDateBoxProblem> problem = FindDateProblem(edits_.Loaded(), boxes))
        info_.Error = DateProblemText(*problem);
    // A known death checks the deceased box; nothing here ever unchecks it.
    if (info_.DeathKnown && !chkIsDead_->isChecked())
        chkIsDead_->setChecked(true);
    ShowInfo();
}

void TframDates::ShowInfo() {
    lblBirthSince_->setText(info_.BirthSince);
    lblBirthSince_->setVisible(info_.ShowBirthSince);
    lblDeathSince_->setText(info_.DeathSince);
    lblDeathSince_->setVisible(info_.ShowDeathSince);
    lbllived_->setText(info_.Lived);
    lbllived_->setVisible(!info_.Lived.isEmpty());
    lbl_Error_->setText(info_.Error);
    lbl_Error_->setVisible(!info_.Error.isEmpty());
}

TSaveResult TframDates::SaveDates() {
    const QString id = edits_.PersonId();
    const TDateBoxes boxes = Boxes();
    const TSaveResult result = SaveDatesEdits(edits_, boxes);
    const bool refused = result == TSaveResult::Conflict || result == TSaveResult::Invalid;
    // Leaving a person saves more than once (the outline is pressed, its selection moves, the sheet is
    // filled again): the same boxes are refused each time, but the user is told once. A date that is none
    // keeps the sheet at the person, so the next key or button the user presses is a new attempt, told
    // again why it fails. The texts are isolated so that an English one reads whole in the message.
    if (refused && !std::exchange(refusalShown_, true)) {
        MsgWarning(Isolate(UnsavedDatesText()));
        ForgetRefusalOnNextInput();
    }
    if (result == TSaveResult::Written || refused)
        emit DatesSaved(id);
    return result;
}

void TframDates::ForgetRefusalOnNextInput() {
    // Installed after the message closed, so the key that closed it does not count; filters run newest
    // first, so the press that starts the next attempt is seen before it saves.
    class NextInput : public QObject {
    public:
        explicit NextInput(TframDates* frame) : QObject(frame), frame_(frame) {
            qApp->installEventFilter(this);
        }

    protected:
        bool eventFilter(QObject*, QEvent* event) override {
            const QEvent::Type type = event->type();
            if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress) {
                frame_->refusalShown_ = false;
                qApp->removeEventFilter(this);
                deleteLater();
            }
            return false;
        }

    private:
        TframDates* frame_;
    };
    new NextInput(this);
}

bool TframDates::HoldsUnsavedDates() const {
    return edits_.Changed() && !UnsavedDatesText().isEmpty();
}

QString TframDates::UnsavedDatesText() const {
    const TDateBoxes boxes = Boxes();
    if (const std::optional<TDateBoxProblem> problem = FindDateProblem(edits_.Loaded(), boxes))
        return DateProblemText(*problem);
    return DateConflictText(boxes, FindDateConflict(boxes));
}

void TframDates::ShowTyped(const TDateBoxes& boxes) {
    const bool shown = refusalShown_;
    filling_ = true;
    SetBox(birthG_, boxes.BirthG);
    SetBox(birthH_, boxes.BirthH);
    SetBox(deathG_, boxes.DeathG);
    SetBox(deathH_, boxes.DeathH);
    birthDetail_->SetDetailBoxes(boxes.BirthDetail);
    deathDetail_->SetDetailBoxes(boxes.DeathDetail);
    txtPlace_of_Birth_->setText(boxes.Place_of_Birth);
    txtPlace_of_Dead_->setText(boxes.Place_of_Death);
    chkIsDead_->setChecked(boxes.Is_Dead);
    filling_ = false;
    edits_.MarkChanged();
    refusalShown_ = shown;
    UpdateDateInfo();
    pnlDeathData_->setVisible(chkIsDead_->isChecked() || pnlDeathData_->isVisibleTo(this));
}

bool TframDates::eventFilter(QObject* watched, QEvent* event) {
    // Dates are typed in Latin digits whatever the interface language: a date box switches to a Latin
    // layout and back to the interface language's, where the desktop offers both (digits typed in any
    // layout are read all the same). The desktop is asked on focus changes only.
    const auto switchesTo = [this](const QString& own) {
        return keyboard_.Offers(QStringLiteral("English")) && keyboard_.Offers(own);
    };
    const DateRow* rows[] = {&birthG_, &birthH_, &deathG_, &deathH_};
    const DateRow* row = nullptr;
    for (const DateRow* r : rows)
        if (r->box == watched)
            row = r;
    if (event->type() == QEvent::FocusIn) {
        if (switchesTo(Local().Target.KeyboardLayout))
            keyboard_.SetEnglishName(QStringLiteral("English"));
        if (row)
            entered_ = {row->box->text(), row->era->isChecked()};
    } else if (event->type() == QEvent::FocusOut) {
        const QString own = Local().Target.KeyboardLayout;
        if (switchesTo(own))
            keyboard_.SetEnglishName(own);
        RunSafely([this, row] {
            if (row == &birthG_)
                PairAfterTyping(birthG_, birthH_, TCalendar::Gregorian);
            else if (row == &birthH_)
                PairAfterTyping(birthH_, birthG_, TCalendar::Hijri);
            else if (row == &deathG_)
                PairAfterTyping(deathG_, deathH_, TCalendar::Gregorian);
            else if (row == &deathH_)
                PairAfterTyping(deathH_, deathG_, TCalendar::Hijri);
            UpdateDateInfo();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void TframDates::PairAfterTyping(const DateRow& typed, const DateRow& other, TCalendar calendar) {
    const TDateBox now{typed.box->text(), typed.era->isChecked()};
    const TDateBox before = std::exchange(entered_, now);
    const TDateBox otherBox{other.box->text(), other.era->isChecked()};
    const TPairedDate paired = PairDateBoxes(now, before, otherBox, calendar);
    if (paired.Action == TPairedAction::Keep)
        return;
    if (paired.Action == TPairedAction::Ask && !AskWhichDateStands(now, otherBox, calendar))
        return;
    SetBox(other, paired.Conversion);
    MarkChanged();
}

void TframDates::Convert(const DateRow& from, const DateRow& to, TCalendar calendar) {
    const std::optional<TDateBox> converted =
        ConvertConfirmed({from.box->text(), from.era->isChecked()}, calendar);
    if (!converted)
        return;
    SetBox(to, *converted);
    MarkChanged();
    UpdateDateInfo();
}

void TframDates::bt_Birth_G_to_HClick() {
    Convert(birthG_, birthH_, TCalendar::Gregorian);
}

void TframDates::bt_Birth_H_to_GClick() {
    Convert(birthH_, birthG_, TCalendar::Hijri);
}

void TframDates::bt_Death_G_to_HClick() {
    Convert(deathG_, deathH_, TCalendar::Gregorian);
}

void TframDates::bt_Death_H_to_GClick() {
    Convert(deathH_, deathG_, TCalendar::Hijri);
}

void TframDates::bt_Show_Death_DataClick() {
    pnlDeathData_->setVisible(!pnlDeathData_->isVisibleTo(this));
}

void TframDates::bt_Calc_DateClick() {
    UpdateDateInfo();
    const TDateEstimate birth = EstimateOf(info_.Born);
    const TDateEstimate death = EstimateOf(info_.Died);
    calculator_->SetPersonId(QString());
    calculator_->Today = Today;
    calculator_->SetEstimates(birth, death);
    if (calculator_->exec() != QDialog::Accepted)
        return;
    // Only a row the user changed is written over: an unchanged row gives back the date shown, give or
    // take the days of the months counted.
    const QDate today = Today();
    TDateBox gregorian;
    TDateBox hijri;
    const TDateEstimate newBirth = calculator_->Birth();
    // Dates worked out from an estimate are marked so for whoever reads them.
    if (newBirth != birth && EstimatedDateBoxes(today, newBirth, gregorian, hijri)) {
        SetBox(birthG_, gregorian);
        SetBox(birthH_, hijri);
        birthDetail_->SetQualifier(TDateQualifier::Calculated);
        MarkChanged();
    }
    const TDateEstimate newDeath = calculator_->Death();
    if (newDeath != death && EstimatedDateBoxes(today, newDeath, gregorian, hijri)) {
        SetBox(deathG_, gregorian);
        SetBox(deathH_, hijri);
        deathDetail_->SetQualifier(TDateQualifier::Calculated);
        MarkChanged();
    }
    if (!deathG_.box->text().trimmed().isEmpty() || !deathH_.box->text().trimmed().isEmpty()) {
        chkIsDead_->setChecked(true);
        pnlDeathData_->setVisible(true);
    }
    UpdateDateInfo();
}

} // namespace verdan
