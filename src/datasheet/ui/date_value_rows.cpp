#include "date_value_rows.h"

#include "calendar/date_value_text.h"
#include "datasheet/date_conversion.h"
#include "safe_slot.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace verdan {

namespace {

constexpr int kQualifiers = int(TDateQualifier::Text) + 1;

QString Caption(const char* text, const char* calendar = nullptr) {
    QString caption = Translate(QString::fromLatin1(text));
    if (calendar)
        caption += QStringLiteral(" (") + Translate(QString::fromLatin1(calendar)) + u')';
    return caption + u':';
}

} // namespace

std::optional<TDateBox> ConvertConfirmed(const TDateBox& box, TCalendar from) {
    TConvertedDate converted;
    switch (ConvertDateBox(box, from, converted)) {
    case TConvertResult::Empty:
        MsgWarning(Translate(QStringLiteral("There is no date to convert.")));
        return std::nullopt;
    case TConvertResult::Invalid:
        MsgWarning(Translate(QStringLiteral("This date cannot be converted: it is not a valid date or lies "
                                            "outside the supported years.")));
        return std::nullopt;
    case TConvertResult::Converted:
        break;
    }
    const bool toHijri = from == TCalendar::Gregorian;
    const QString question =
        Translate(toHijri ? QStringLiteral("Hijri Date") : QStringLiteral("Gregorian Date")) +
        QStringLiteral(":|") + converted.Shown;
    const QString caption = Translate(toHijri ? QStringLiteral("Convert Date to Hijri")
                                              : QStringLiteral("Convert Date to Gregorian"));
    if (MsgOkCancel(question, caption) != IDOK)
        return std::nullopt;
    return converted.Box;
}

TDateValueRows::TDateValueRows(TFormGrid* grid, QWidget* parent, const QString& name, bool withFirstDate)
    : QObject(parent), grid_(grid), parent_(parent), withFirst_(withFirstDate) {
    if (withFirst_) {
        gregorian_ = AddDateRow(QStringLiteral("txt") + name + QStringLiteral("_G"), u"go-down");
        hijri_ = AddDateRow(QStringLiteral("txt") + name + QStringLiteral("_H"), u"go-up");
    }
    lblQualifier_ = new QLabel(parent);
    cmbQualifier_ = new QComboBox(parent);
    cmbQualifier_->setObjectName(QStringLiteral("cmb") + name + QStringLiteral("Qualifier"));
    for (int q = 0; q < kQualifiers; ++q)
        cmbQualifier_->addItem(QString(), q);
    lblQualifier_->setBuddy(cmbQualifier_);
    qualifierRow_ = grid_->AddRow(lblQualifier_, cmbQualifier_);
    gregorian2_ = AddDateRow(QStringLiteral("txt") + name + QStringLiteral("_G2"), u"go-down");
    hijri2_ = AddDateRow(QStringLiteral("txt") + name + QStringLiteral("_H2"), u"go-up");
    lblPhrase_ = new QLabel(parent);
    txtPhrase_ = new QLineEdit(parent);
    txtPhrase_->setObjectName(QStringLiteral("txt") + name + QStringLiteral("Phrase"));
    lblPhrase_->setBuddy(txtPhrase_);
    phraseRow_ = grid_->AddRow(lblPhrase_, txtPhrase_);
    connect(cmbQualifier_, &QComboBox::currentIndexChanged, this, [this] {
        ShowRows();
        if (!filling_)
            emit Edited();
    });
    connect(txtPhrase_, &QLineEdit::textEdited, this, &TDateValueRows::Edited);
    const auto converts = [this](const DateRow& from, const DateRow& to, TCalendar calendar) {
        if (from.convert)
            connect(from.convert, &QToolButton::clicked, this, [this, &from, &to, calendar] {
                RunSafely([this, &from, &to, calendar] { Convert(from, to, calendar); });
            });
    };
    converts(gregorian_, hijri_, TCalendar::Gregorian);
    converts(hijri_, gregorian_, TCalendar::Hijri);
    converts(gregorian2_, hijri2_, TCalendar::Gregorian);
    converts(hijri2_, gregorian2_, TCalendar::Hijri);
    TranslateTexts();
    ShowRows();
}

TDateValueRows::DateRow TDateValueRows::AddDateRow(const QString& name, const char16_t* icon) {
    DateRow r;
    r.label = new QLabel(parent_);
    r.box = new QLineEdit(parent_);
    r.box->setObjectName(name);
    r.era = new QCheckBox(parent_);
    r.era->setObjectName(name + QStringLiteral("_Era"));
    r.convert = new QToolButton(parent_);
    r.convert->setObjectName(QStringLiteral("bt") + name.mid(3) + QStringLiteral("_Convert"));
    r.convert->setIcon(Icon(icon));
    r.label->setBuddy(r.box);
    r.row = grid_->AddRow(r.label, r.box, {r.era, r.convert});
    connect(r.box, &QLineEdit::textEdited, this, &TDateValueRows::Edited);
    connect(r.era, &QCheckBox::toggled, this, [this] {
        if (!filling_)
            emit Edited();
    });
    return r;
}

void TDateValueRows::TranslateTexts() {
    if (withFirst_) {
        gregorian_.label->setText(Caption("Gregorian Date"));
        hijri_.label->setText(Caption("Hijri Date"));
    }
    gregorian2_.label->setText(Caption("Second date", "Gregorian"));
    hijri2_.label->setText(Caption("Second date", "Hijri"));
    for (const DateRow* row : {&gregorian_, &gregorian2_})
        if (row->era) {
            row->era->setText(Translate(QStringLiteral("B.c")));
            row->convert->setToolTip(Translate(QStringLiteral("Calculate Hijri Date")));
        }
    for (const DateRow* row : {&hijri_, &hijri2_})
        if (row->era) {
            row->era->setText(Translate(QStringLiteral("B.h")));
            row->convert->setToolTip(Translate(QStringLiteral("Calculate Gregorian Date")));
        }
    lblQualifier_->setText(Caption("Qualifier"));
    lblPhrase_->setText(Caption("Words"));
    for (int q = 0; q < kQualifiers; ++q)
        cmbQualifier_->setItemText(q, DateQualifierName(TDateQualifier(q)));
}

void TDateValueRows::ShowRows() {
    const auto qualifier = TDateQualifier(cmbQualifier_->currentIndex());
    for (const DateRow* row : {&gregorian_, &hijri_})
        if (row->row >= 0)
            grid_->SetRowVisible(row->row, ShowsFirstDate(qualifier));
    for (const DateRow* row : {&gregorian2_, &hijri2_})
        grid_->SetRowVisible(row->row, ShowsSecondDate(qualifier));
    grid_->SetRowVisible(phraseRow_, ShowsPhrase(qualifier));
}

void TDateValueRows::Convert(const DateRow& from, const DateRow& to, TCalendar calendar) {
    const std::optional<TDateBox> converted =
        ConvertConfirmed({from.box->text(), from.era->isChecked()}, calendar);
    if (!converted)
        return;
    to.box->setText(converted->Text);
    to.era->setChecked(converted->BeforeEra);
    emit Edited();
}

void TDateValueRows::SetQualifier(TDateQualifier qualifier) {
    cmbQualifier_->setCurrentIndex(int(qualifier));
}

void TDateValueRows::SetDetailBoxes(const TDateDetailBoxes& boxes) {
    const bool filling = std::exchange(filling_, true);
    cmbQualifier_->setCurrentIndex(int(boxes.Qualifier));
    gregorian2_.box->setText(boxes.Gregorian2.Text);
    gregorian2_.era->setChecked(boxes.Gregorian2.BeforeEra);
    hijri2_.box->setText(boxes.Hijri2.Text);
    hijri2_.era->setChecked(boxes.Hijri2.BeforeEra);
    txtPhrase_->setText(boxes.Phrase);
    filling_ = filling;
    ShowRows();
}

void TDateValueRows::SetValue(const TDateValue& value) {
    shown_ = value;
    const TDateValueBoxes boxes = DateValueBoxesOf(value);
    const bool filling = std::exchange(filling_, true);
    if (withFirst_) {
        gregorian_.box->setText(boxes.Gregorian.Text);
        gregorian_.era->setChecked(boxes.Gregorian.BeforeEra);
        hijri_.box->setText(boxes.Hijri.Text);
        hijri_.era->setChecked(boxes.Hijri.BeforeEra);
    }
    SetDetailBoxes(boxes.Detail);
    filling_ = filling;
}

TDateDetailBoxes TDateValueRows::DetailBoxes() const {
    TDateDetailBoxes boxes;
    boxes.Qualifier = TDateQualifier(cmbQualifier_->currentIndex());
    boxes.Gregorian2 = {gregorian2_.box->text(), gregorian2_.era->isChecked()};
    boxes.Hijri2 = {hijri2_.box->text(), hijri2_.era->isChecked()};
    boxes.Phrase = txtPhrase_->text();
    return boxes;
}

TDateValueBoxes TDateValueRows::Boxes() const {
    TDateValueBoxes boxes;
    if (withFirst_) {
        boxes.Gregorian = {gregorian_.box->text(), gregorian_.era->isChecked()};
        boxes.Hijri = {hijri_.box->text(), hijri_.era->isChecked()};
    }
    boxes.Detail = DetailBoxes();
    return boxes;
}

TDateValue TDateValueRows::Value() const {
    return ReadDateValueBoxes(Boxes(), shown_);
}

TDateValue TDateValueRows::Value(int gregorian, int hijri) const {
    return ReadDateValue(gregorian, hijri, DetailBoxes(), shown_);
}

QString TDateValueRows::Problem(const QString& caption) const {
    const TDateValueBoxes boxes = Boxes();
    const TDateQualifier qualifier = boxes.Detail.Qualifier;
    const struct {
        bool read;
        const TDateBox& box;
        TCalendar calendar;
        const char* second;
    } checks[] = {
        {withFirst_ && ShowsFirstDate(qualifier), boxes.Gregorian, TCalendar::Gregorian, nullptr},
        {withFirst_ && ShowsFirstDate(qualifier), boxes.Hijri, TCalendar::Hijri, nullptr},
        {ShowsSecondDate(qualifier), boxes.Detail.Gregorian2, TCalendar::Gregorian, "Second date"},
        {ShowsSecondDate(qualifier), boxes.Detail.Hijri2, TCalendar::Hijri, "Second date"},
    };
    for (const auto& check : checks) {
        if (!check.read)
            continue;
        QString name = caption;
        if (check.second)
            name += QStringLiteral(", ") + Translate(QString::fromLatin1(check.second));
        name += QStringLiteral(" (") +
                Translate(check.calendar == TCalendar::Gregorian ? QStringLiteral("Gregorian")
                                                                 : QStringLiteral("Hijri")) +
                u')';
        const QString problem = DateBoxProblemText(name, check.box, check.calendar);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

} // namespace verdan
