#include "sheet_overview.h"

#include "calendar/date_value_text.h"
#include "datasheet/date_boxes.h"
#include "events_frame.h"
#include "storage/database.h"
#include "storage/event_store.h"
#include "storage/person_dates.h"
#include "storage/person_details_store.h"
#include "storage/person_store.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/ui/form_grid.h"

#include <QLabel>
#include <QPixmap>

namespace verdan {

namespace {

constexpr int kPictureSide = 140;

QString Caption(const char* text) {
    return Translate(QString::fromLatin1(text)) + u':';
}

QString BirthCaption(const char* calendar) {
    return Translate(QStringLiteral("Birth Date")) + QStringLiteral(" (") +
           Translate(QString::fromLatin1(calendar)) + QStringLiteral("):");
}

QString StampOf(const QDateTime& time) {
    return time.isValid() ? StampText(time) : QString();
}

} // namespace

TCaptionedValues::TCaptionedValues(QWidget* parent) : QWidget(parent), form_(new TFormGrid(this)) {
}

QLabel* TCaptionedValues::AddRow(const char* name) {
    auto* value = new QLabel(this);
    value->setObjectName(QString::fromLatin1(name));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setWordWrap(true);
    auto* caption = new QLabel(this);
    caption->setBuddy(value);
    form_->AddRow(caption, value);
    captions_.insert(value, caption);
    return value;
}

void TCaptionedValues::SetCaption(QLabel* value, const QString& caption) {
    captions_.value(value)->setText(caption);
}

TframOverview::TframOverview(QWidget* parent) : TCaptionedValues(parent) {
    lblName_ = AddRow("lblOverviewName");
    lblFamily_ = AddRow("lblOverviewFamily");
    lblFather_ = AddRow("lblOverviewFather");
    lblGrandfather_ = AddRow("lblOverviewGrandfather");
    lblGreatGrandfather_ = AddRow("lblOverviewGreatGrandfather");
    lblBirthG_ = AddRow("lblOverviewBirthG");
    lblBirthH_ = AddRow("lblOverviewBirthH");
    lblBirthSince_ = AddRow("lblOverviewBirthSince");
    lblDeathSince_ = AddRow("lblOverviewDeathSince");
    lblLived_ = AddRow("lblOverviewLived");
    lblEvents_ = AddRow("lblOverviewEvents");
    lblEvents_->setWordWrap(true);
    lblIdentity_ = AddRow("lblOverviewIdentity");
    lblWork_ = AddRow("lblOverviewWork");
    lblCell_ = AddRow("lblOverviewCell");
    lblHome_ = AddRow("lblOverviewHome");
    lblEmail_ = AddRow("lblOverviewEmail");
    lblNeighborhood_ = AddRow("lblOverviewNeighborhood");
    lblCity_ = AddRow("lblOverviewCity");
    lblState_ = AddRow("lblOverviewState");
    imgPicture_ = new QLabel(this);
    imgPicture_->setObjectName(QStringLiteral("imgOverviewPicture"));
    imgPicture_->setFixedSize(kPictureSide, kPictureSide);
    imgPicture_->setAlignment(Qt::AlignCenter);
    Form()->addWidget(imgPicture_, 0, TFormGrid::kFillColumn, Form()->rowCount(), 1,
                      Qt::AlignTop | Qt::AlignLeading);
    TranslateTexts();
}

void TframOverview::SetPicture(const QImage& image) {
    if (image.isNull()) {
        imgPicture_->clear();
        imgPicture_->hide();
        return;
    }
    imgPicture_->setPixmap(
        QPixmap::fromImage(image.scaled(imgPicture_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    imgPicture_->show();
}

void TframOverview::TranslateTexts() {
    SetCaption(lblName_, Caption("Given Name"));
    SetCaption(lblFamily_, Caption("Family Name"));
    SetCaption(lblFather_, Caption("Father"));
    SetCaption(lblGrandfather_, Caption("Grandfather"));
    SetCaption(lblGreatGrandfather_, Caption("Great grandfather"));
    SetCaption(lblBirthG_, BirthCaption("Gregorian"));
    SetCaption(lblBirthH_, BirthCaption("Hijri"));
    SetCaption(lblEvents_, Caption("Events"));
    SetCaption(lblIdentity_, Caption("Identity No"));
    SetCaption(lblWork_, Caption("Working Body"));
    SetCaption(lblCell_, Caption("Cell Phone"));
    SetCaption(lblHome_, Caption("Home Phone"));
    SetCaption(lblEmail_, Caption("Email"));
    SetCaption(lblNeighborhood_, Caption("Neighborhood"));
    SetCaption(lblCity_, Caption("City"));
    SetCaption(lblState_, Caption("State"));
}

void TframOverview::Fill(const TPerson& person, const QDate& today) {
    const QStringList fathers =
        person.Person_Id.isEmpty() ? QStringList() : GetFatherLineArray(person.Person_Id, 4);
    TPerson_Details details;
    if (!person.Person_Id.isEmpty())
        ReadPersonDetails(person.Person_Id, details);
    const TDateInfo info = ComputeDateInfo(DateBoxesOf(person), person.Gender.trimmed().toLower(), today);

    lblName_->setText(person.Person_Name);
    lblFamily_->setText(person.Last_Name);
    lblFather_->setText(fathers.value(1));
    lblGrandfather_->setText(fathers.value(2));
    lblGreatGrandfather_->setText(fathers.value(3));
    TPersonDates dates = PersonDatesOf(person);
    ReadPersonDates(person.Person_Id, dates);
    lblBirthG_->setText(DateValueShownText(dates.Birth, TDateShown::Gregorian));
    lblBirthH_->setText(DateValueShownText(dates.Birth, TDateShown::Hijri));
    // The person's events in the order of their dates, each with its date.
    QList<TEvent> events = ListPersonEvents(person.Person_Id);
    std::stable_sort(events.begin(), events.end(), [](const TEvent& a, const TEvent& b) {
        return DateSortKey(a.Date) < DateSortKey(b.Date);
    });
    QStringList lines;
    for (const TEvent& event : std::as_const(events)) {
        const QString date = DateValueShownText(event.Date);
        lines << (date.isEmpty() ? EventTitle(event) : EventTitle(event) + QStringLiteral(" — ") + date);
    }
    lblEvents_->setText(lines.join(u'\n'));
    lblBirthSince_->setText(info.BirthSince);
    lblDeathSince_->setText(info.DeathSince);
    lblLived_->setText(info.Lived);
    lblIdentity_->setText(details.identity_no);
    lblWork_->setText(details.WorkAddress.name);
    lblCell_->setText(details.cell_phone);
    lblHome_->setText(details.home_phone);
    lblEmail_->setText(details.email.isEmpty() ? QString() : IsolateLtr(details.email));
    lblNeighborhood_->setText(details.Address.neighborhood);
    lblCity_->setText(details.Address.city);
    lblState_->setText(details.Address.state);
}

TframMetaData::TframMetaData(QWidget* parent) : TCaptionedValues(parent) {
    lblPersonId_ = AddRow("lblPersonId");
    lblCreatedBy_ = AddRow("lblCreatedBy");
    lblCreatedDate_ = AddRow("lblCreatedDate");
    lblModifiedBy_ = AddRow("lblModifiedBy");
    lblModifiedDate_ = AddRow("lblModifiedDate");
    TranslateTexts();
}

void TframMetaData::TranslateTexts() {
    SetCaption(lblPersonId_, Caption("Person Id"));
    SetCaption(lblCreatedBy_, Caption("Created By"));
    SetCaption(lblCreatedDate_, Caption("Created Date"));
    SetCaption(lblModifiedBy_, Caption("Last Modified By"));
    SetCaption(lblModifiedDate_, Caption("Last Modified Date"));
}

void TframMetaData::Fill(const QString& personId) {
    TPerson_Record_Log log;
    if (!personId.isEmpty())
        GetPersonStamps(personId, log);
    lblPersonId_->setText(log.Person_Id);
    lblCreatedBy_->setText(log.User_Created);
    lblCreatedDate_->setText(StampOf(log.Date_Created));
    lblModifiedBy_->setText(log.User_Modified);
    lblModifiedDate_->setText(StampOf(log.Date_Modified));
}

} // namespace verdan
