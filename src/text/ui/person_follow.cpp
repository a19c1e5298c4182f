#include "person_follow.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QItemSelectionModel>
#include <QPointer>

namespace verdan {

void TPersonFollow::Point(const QString& personId, const QObject* source) {
    const QString id = personId.trimmed();
    if (!id.isEmpty())
        emit Pointed(id, source);
}

void TPersonFollow::Choose(const QString& personId, const QObject* source) {
    const QString id = personId.trimmed();
    if (id.isEmpty())
        return;
    emit Chosen(id, source);
}

TPersonFollow& PersonFollow() {
    static TPersonFollow hub;
    return hub;
}

void FollowPointer(QAbstractItemView* view, TPersonOfIndex personOf) {
    view->setMouseTracking(true);
    const QPointer<QAbstractItemView> guard(view);
    QObject::connect(view, &QAbstractItemView::entered, view, [guard, personOf](const QModelIndex& index) {
        if (guard)
            PersonFollow().Point(personOf(index), guard.data());
    });
}

namespace {

// Tells whether the view is handling a key, so that only the current rows the keys move to count as
// the user's choice.
class TKeyWatch : public QObject {
public:
    using QObject::QObject;
    bool keying = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            keying = true;
        else if (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut)
            keying = false;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void FollowPersonView(QAbstractItemView* view, TPersonOfIndex personOf) {
    FollowPointer(view, personOf);
    const QPointer<QAbstractItemView> guard(view);
    auto* keys = new TKeyWatch(view);
    view->installEventFilter(keys);
    if (QItemSelectionModel* selection = view->selectionModel())
        QObject::connect(selection, &QItemSelectionModel::currentChanged, view,
                         [guard, personOf, keys](const QModelIndex& current) {
                             if (guard && current.isValid() && keys->keying)
                                 PersonFollow().Choose(personOf(current), guard.data());
                         });
    // A press tells the row pressed, whether it was current or became so.
    QObject::connect(view, &QAbstractItemView::pressed, view, [guard, personOf](const QModelIndex& index) {
        if (guard)
            PersonFollow().Choose(personOf(index), guard.data());
    });
}

} // namespace verdan
