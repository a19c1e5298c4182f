#include "event_dialog.h"

#include "date_value_rows.h"
#include "storage/event_kinds.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/form_grid.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

QString Caption(const char* text) {
    return Translate(QString::fromLatin1(text)) + u':';
}

} // namespace

TfrmEvent::TfrmEvent(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmEvent"));
    auto* outer = new QVBoxLayout(this);
    auto* form = new QWidget(this);
    grid_ = new TFormGrid(form);
    const auto row = [this, form](QLabel*& label, auto*& field, const char* name) {
        label = new QLabel(form);
        field = new std::remove_reference_t<decltype(*field)>(form);
        field->setObjectName(QString::fromLatin1(name));
        label->setBuddy(field);
        return grid_->AddRow(label, field);
    };
    row(lblKind_, cmbKind_, "cmbEventKind");
    mateRow_ = row(lblMate_, cmbMate_, "cmbEventMate");
    descriptorRow_ = row(lblDescriptor_, txtDescriptor_, "txtEventDescriptor");
    valueRow_ = row(lblValue_, txtValue_, "txtEventValue");
    date_ = new TDateValueRows(grid_, form, QStringLiteral("Event"), true);
    row(lblTime_, txtTime_, "txtEventTime");
    row(lblPlace_, txtPlace_, "txtEventPlace");
    row(lblAge_, txtAge_, "txtEventAge");
    row(lblAgency_, txtAgency_, "txtEventAgency");
    row(lblCause_, txtCause_, "txtEventCause");
    row(lblNotes_, txtNotes_, "txtEventNotes");
    txtNotes_->setTabChangesFocus(true);
    outer->addWidget(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);
    connect(cmbKind_, &QComboBox::currentIndexChanged, this, &TfrmEvent::ShowRows);
    TranslateTexts();
}

void TfrmEvent::TranslateTexts() {
    lblKind_->setText(Caption("Kind"));
    lblMate_->setText(Caption("Shared with"));
    lblDescriptor_->setText(Caption("Description"));
    lblValue_->setText(Caption("Value"));
    lblTime_->setText(Caption("Time"));
    lblPlace_->setText(Caption("Place"));
    lblAge_->setText(Caption("Age"));
    lblAgency_->setText(Caption("Agency"));
    lblCause_->setText(Caption("Cause"));
    lblNotes_->setText(Caption("Notes"));
    date_->TranslateTexts();
    for (int i = 0; i < cmbKind_->count(); ++i)
        cmbKind_->setItemText(i, EventKindName(cmbKind_->itemData(i).toString()));
    if (auto* box = findChild<QDialogButtonBox*>(QStringLiteral("buttons"))) {
        box->button(QDialogButtonBox::Ok)
            ->setText(TranslateContext(QStringLiteral("&OK"), QStringLiteral("dialog")));
        box->button(QDialogButtonBox::Cancel)
            ->setText(TranslateContext(QStringLiteral("&Cancel"), QStringLiteral("dialog")));
    }
    setWindowTitle(
        Translate(event_.Event_Id.isEmpty() ? QStringLiteral("Add Event") : QStringLiteral("Edit Event")));
}

void TfrmEvent::Edit(const TEvent& event, const QString& personId, const TMateList& mates) {
    event_ = event;
    personId_ = personId;
    mates_ = mates;
    // The kinds to choose from; a kind the event already has stays offered, whatever it is.
    cmbKind_->blockSignals(true);
    cmbKind_->clear();
    if (!event.Type.isEmpty() && (!FindEventKind(event.Type) || HasColumnsOfItsOwn(event.Type)))
        cmbKind_->addItem(EventKindName(event.Type), event.Type);
    for (const TEventKind& kind : EventKinds())
        if (!HasColumnsOfItsOwn(kind.Code))
            cmbKind_->addItem(EventKindName(kind.Code), kind.Code);
    const int kind = cmbKind_->findData(event.Type.isEmpty() ? QStringLiteral("HAJJ") : event.Type,
                                        Qt::UserRole, Qt::MatchFixedString);
    cmbKind_->setCurrentIndex(std::max(0, kind));
    cmbKind_->blockSignals(false);
    cmbMate_->clear();
    cmbMate_->addItem(Translate(QStringLiteral("(nobody)")), QString());
    int shared = 0;
    for (const TMate& mate : mates) {
        cmbMate_->addItem(mate.LineageName, mate.Person_Id);
        for (const TEventPerson& person : event.Persons)
            if (person.Person_Id.compare(mate.Person_Id, Qt::CaseInsensitive) == 0)
                shared = cmbMate_->count() - 1;
    }
    cmbMate_->setCurrentIndex(shared);
    txtDescriptor_->setText(event.Descriptor);
    txtValue_->setText(event.Value);
    date_->SetValue(event.Date);
    txtTime_->setText(event.Time);
    txtPlace_->setText(event.Place);
    QString age;
    for (const TEventPerson& person : event.Persons)
        if (person.Person_Id.compare(personId, Qt::CaseInsensitive) == 0)
            age = person.Age;
    txtAge_->setText(age);
    txtAgency_->setText(event.Agency);
    txtCause_->setText(event.Cause);
    txtNotes_->setPlainText(event.Notes);
    TranslateTexts();
    ShowRows();
    cmbKind_->setFocus();
}

QString TfrmEvent::KindCode() const {
    return cmbKind_->currentData().toString();
}

void TfrmEvent::ShowRows() {
    const TEventKind* kind = FindEventKind(KindCode());
    grid_->SetRowVisible(mateRow_, !kind || kind->Scope != TEventScope::Person);
    // A new couple's event is most often shared with the first mate.
    if (event_.Event_Id.isEmpty() && kind && kind->Scope == TEventScope::Family &&
        cmbMate_->currentIndex() == 0 && cmbMate_->count() > 1)
        cmbMate_->setCurrentIndex(1);
    // A kind of our own is named by its kind; others may say more (an EVEN's own name).
    grid_->SetRowVisible(descriptorRow_, !kind || !kind->GedcomType || !txtDescriptor_->text().isEmpty());
    grid_->SetRowVisible(valueRow_, !kind || kind->TakesValue || !txtValue_->text().isEmpty());
}

TEvent TfrmEvent::Result() const {
    TEvent event = event_;
    event.Type = KindCode();
    const TEventKind* kind = FindEventKind(event.Type);
    event.Descriptor = kind && kind->GedcomType ? QString() : txtDescriptor_->text().trimmed();
    event.Value = txtValue_->text().trimmed();
    event.Date = date_->Value();
    event.Time = txtTime_->text().trimmed();
    event.Place = txtPlace_->text().trimmed();
    event.Agency = txtAgency_->text().trimmed();
    event.Cause = txtCause_->text().trimmed();
    event.Notes = txtNotes_->toPlainText();
    // The person, and the mate the event is shared with; other persons it already had stay.
    const QString mate = cmbMate_->isVisibleTo(this) ? cmbMate_->currentData().toString() : QString();
    QList<TEventPerson> persons{{personId_, txtAge_->text().trimmed()}};
    if (!mate.isEmpty())
        persons.append({mate, QString()});
    for (const TEventPerson& person : event_.Persons) {
        const bool mateOfPerson = std::any_of(mates_.begin(), mates_.end(), [&](const TMate& m) {
            return m.Person_Id.compare(person.Person_Id, Qt::CaseInsensitive) == 0;
        });
        if (person.Person_Id.compare(personId_, Qt::CaseInsensitive) == 0)
            continue;
        if (person.Person_Id.compare(mate, Qt::CaseInsensitive) == 0)
            persons.last().Age = person.Age;
        else if (!mateOfPerson)
            persons.append(person);
    }
    event.Persons = persons;
    event.Family = !mate.isEmpty();
    return event;
}

QString TfrmEvent::Problem() const {
    const TEventKind* kind = FindEventKind(KindCode());
    if (kind && kind->Scope == TEventScope::Family && cmbMate_->currentData().toString().isEmpty())
        return Translate(QStringLiteral("Choose the spouse this event is shared with."));
    return date_->Problem(Translate(QStringLiteral("Date")));
}

void TfrmEvent::accept() {
    const QString problem = Problem();
    if (!problem.isEmpty()) {
        MsgWarning(problem);
        return;
    }
    QDialog::accept();
}

} // namespace verdan
