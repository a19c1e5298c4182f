#include "events_frame.h"

#include "calendar/date_value_text.h"
#include "event_dialog.h"
#include "safe_slot.h"
#include "sheet_widgets.h"
#include "storage/event_kinds.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/messages.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace verdan {

namespace {

enum Column { kKindCol, kDateCol, kPlaceCol, kWithCol, kColumns };

} // namespace

QString EventTitle(const TEvent& event) {
    QString title = EventKindName(event.Type);
    const QString words = !event.Value.isEmpty() ? event.Value : event.Descriptor;
    if (!words.isEmpty())
        title += QStringLiteral(": ") + words;
    return title;
}

TframEvents::TframEvents(QWidget* parent) : QWidget(parent), dialog_(new TfrmEvent(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 6, 6, 6);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lstEvents"));
    list_->setRootIsDecorated(false);
    list_->setColumnCount(kColumns);
    list_->setMinimumHeight(110);
    list_->header()->setStretchLastSection(true);
    row->addWidget(list_, 1);
    auto* buttons = new QVBoxLayout;
    btAdd_ = NewSectionButton(this, u"list-add", "btAddEvent");
    btEdit_ = NewSectionButton(this, u"document-edit", "btEditEvent");
    btDelete_ = NewSectionButton(this, u"list-remove", "btDeleteEvent");
    for (QToolButton* button : {btAdd_, btEdit_, btDelete_})
        buttons->addWidget(button);
    buttons->addStretch();
    row->addLayout(buttons);
    const auto slot = [this](QToolButton* button, void (TframEvents::*command)()) {
        connect(button, &QToolButton::clicked, this,
                [this, command] { RunSafely([this, command] { (this->*command)(); }); });
    };
    slot(btAdd_, &TframEvents::btAddEventClick);
    slot(btEdit_, &TframEvents::btEditEventClick);
    slot(btDelete_, &TframEvents::btDeleteEventClick);
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this] { RunSafely([this] { btEditEventClick(); }); });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] {
        btEdit_->setEnabled(CurrentIndex() >= 0);
        btDelete_->setEnabled(CurrentIndex() >= 0);
    });
    TranslateTexts();
    LoadEvents(QString());
}

void TframEvents::TranslateTexts() {
    list_->setHeaderLabels({Translate(QStringLiteral("Event")), Translate(QStringLiteral("Date")),
                            Translate(QStringLiteral("Place")), Translate(QStringLiteral("Shared with"))});
    SetHint(btAdd_, Translate(QStringLiteral("Add Event")) + QStringLiteral(".."));
    SetHint(btEdit_, Translate(QStringLiteral("Edit Event")) + QStringLiteral(".."));
    SetHint(btDelete_, Translate(QStringLiteral("Remove Event")) + QStringLiteral(".."));
    dialog_->TranslateTexts();
    Fill();
}

void TframEvents::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

void TframEvents::LoadEvents(const QString& personId) {
    personId_ = personId;
    events_ = personId.isEmpty() ? QList<TEvent>() : ListPersonEvents(personId);
    // By date, undated ones last, each in the order it was recorded.
    std::stable_sort(events_.begin(), events_.end(), [](const TEvent& a, const TEvent& b) {
        return DateSortKey(a.Date) < DateSortKey(b.Date);
    });
    Fill();
}

void TframEvents::Fill() {
    list_->clear();
    for (const TEvent& event : std::as_const(events_)) {
        QStringList others;
        for (const TEventPerson& person : event.Persons)
            if (person.Person_Id.compare(personId_, Qt::CaseInsensitive) != 0)
                others << GetLineageName(person.Person_Id);
        auto* item = new QTreeWidgetItem(list_, {EventTitle(event), DateValueShownText(event.Date),
                                                 event.Place, others.join(QStringLiteral(", "))});
        item->setData(kKindCol, Qt::UserRole, event.Event_Id);
    }
    for (int c = 0; c < kColumns - 1; ++c)
        list_->resizeColumnToContents(c);
    const bool person = !personId_.isEmpty();
    btAdd_->setEnabled(person && HasEventTables());
    btEdit_->setEnabled(CurrentIndex() >= 0);
    btDelete_->setEnabled(CurrentIndex() >= 0);
}

int TframEvents::CurrentIndex() const {
    const QTreeWidgetItem* item = list_->currentItem();
    return item ? list_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
}

void TframEvents::btAddEventClick() {
    if (personId_.isEmpty())
        return;
    TMateList mates;
    ListMates(personId_, mates);
    TEvent event;
    event.Persons.append({personId_, QString()});
    dialog_->Edit(event, personId_, mates);
    if (dialog_->exec() != QDialog::Accepted)
        return;
    TEvent added = dialog_->Result();
    {
        UndoStep step(StepText("Add an event of «%*»", {personId_}), personId_);
        if (!AddEvent(added))
            return;
    }
    LoadEvents(personId_);
    emit EventsChanged(personId_);
}

void TframEvents::btEditEventClick() {
    const int index = CurrentIndex();
    if (index < 0)
        return;
    TMateList mates;
    ListMates(personId_, mates);
    dialog_->Edit(events_[index], personId_, mates);
    if (dialog_->exec() != QDialog::Accepted)
        return;
    const TEvent edited = dialog_->Result();
    if (edited == events_[index])
        return;
    {
        UndoStep step(StepText("Edit an event of «%*»", {personId_}), personId_);
        if (!WriteEvent(edited))
            return;
    }
    LoadEvents(personId_);
    emit EventsChanged(personId_);
}

void TframEvents::btDeleteEventClick() {
    const int index = CurrentIndex();
    if (index < 0)
        return;
    const TEvent& event = events_[index];
    const QString question =
        FillPattern(Translate(QStringLiteral("Remove the event «%*»?")), {EventTitle(event)});
    if (MsgYesNo(question, Translate(QStringLiteral("Remove Event")), IDNO) != IDYES)
        return;
    {
        UndoStep step(StepText("Remove an event of «%*»", {personId_}), personId_);
        if (!DeleteEvent(event.Event_Id))
            return;
    }
    LoadEvents(personId_);
    emit EventsChanged(personId_);
}

} // namespace verdan
