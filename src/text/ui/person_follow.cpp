#include "person_follow.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QPointer>
#include <memory>
#include <utility>

namespace verdan {

void TPersonFollow::Point(const QString& personId, const QObject* source) {
    const QString id = personId.trimmed();
    if (id.isEmpty() || (id == lastPointed_ && source == lastSource_))
        return;
    lastPointed_ = id;
    lastSource_ = source;
    emit Pointed(id, source);
}

void TPersonFollow::Choose(const QString& personId, const QObject* source) {
    const QString id = personId.trimmed();
    if (id.isEmpty())
        return;
    // Pointing at the chosen person again is news for a card that was refilled meanwhile.
    lastPointed_.clear();
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

void FollowPersonView(QAbstractItemView* view, TPersonOfIndex personOf) {
    FollowPointer(view, personOf);
    const QPointer<QAbstractItemView> guard(view);
    // A press that made a row current was reported with the change; a press on the current row is
    // reported by itself.
    auto reported = std::make_shared<bool>(false);
    if (QItemSelectionModel* selection = view->selectionModel())
        QObject::connect(selection, &QItemSelectionModel::currentChanged, view,
                         [guard, personOf, reported](const QModelIndex& current) {
                             if (!guard || !current.isValid() || !guard->hasFocus())
                                 return;
                             *reported = QGuiApplication::mouseButtons() != Qt::NoButton;
                             PersonFollow().Choose(personOf(current), guard.data());
                         });
    QObject::connect(view, &QAbstractItemView::pressed, view,
                     [guard, personOf, reported](const QModelIndex& index) {
                         if (std::exchange(*reported, false) || !guard)
                             return;
                         PersonFollow().Choose(personOf(index), guard.data());
                     });
}

} // namespace verdan
