#pragma once

#include "storage/event_store.h"

#include <QWidget>

class QToolButton;
class QTreeWidget;

namespace verdan {

class TfrmEvent;

// The events section of the data sheet: a person's events and facts besides birth and death (a couple's
// too), in the order of their dates, with buttons to add, edit and remove them. Every change is written at
// once, as one undo step.
class TframEvents : public QWidget {
    Q_OBJECT
public:
    explicit TframEvents(QWidget* parent = nullptr);

    // Fills the list for the person (empty: nobody).
    void LoadEvents(const QString& personId);
    const QList<TEvent>& Events() const { return events_; }
    TfrmEvent* Dialog() const { return dialog_; }
    QTreeWidget* List() const { return list_; }
    void TranslateTexts();

    void btAddEventClick();
    void btEditEventClick();
    void btDeleteEventClick();

signals:
    // An event of the person was added, changed or removed.
    void EventsChanged(const QString& personId);

protected:
    void changeEvent(QEvent* event) override;

private:
    void Fill();
    int CurrentIndex() const;

    QString personId_;
    QList<TEvent> events_;
    QTreeWidget* list_;
    QToolButton* btAdd_;
    QToolButton* btEdit_;
    QToolButton* btDelete_;
    TfrmEvent* dialog_;
};

// The text a list shows for an event: its kind's name, its own words ("Hajj", "Occupation: farmer",
// "Event: naming feast").
QString EventTitle(const TEvent& event);

} // namespace verdan
