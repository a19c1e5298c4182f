#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAbstractItemView;
class QModelIndex;

namespace verdan {

// Where the two cards that follow the user's eye learn of persons: every list of persons in the program
// (outlines, search results, report grids, the sheet's own lists, pickers) reports the person under the
// mouse pointer and the person it moved its selection to. The quick info card listens to both, the data
// card to the choices while it is synchronised. Lists report; they never know who listens.
class TPersonFollow : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The pointer came onto a person of `source` (blank identifiers are not reported).
    void Point(const QString& personId, const QObject* source);
    // The selection of `source` moved to a person, or the user clicked one.
    void Choose(const QString& personId, const QObject* source);

signals:
    void Pointed(const QString& personId, const QObject* source);
    void Chosen(const QString& personId, const QObject* source);
};

// The program's one hub.
TPersonFollow& PersonFollow();

// `personOf` gives the person identifier of an index (empty for rows that hold no person); the source
// reported is the view itself.
using TPersonOfIndex = std::function<QString(const QModelIndex&)>;

// Makes an item view report the row under the pointer.
void FollowPointer(QAbstractItemView* view, TPersonOfIndex personOf);
// Makes an item view report the row under the pointer and the rows the user chooses: a click, or the
// keys moving the current row. Rows made current by the program (a refill) are not reported. Set the
// view's model first.
void FollowPersonView(QAbstractItemView* view, TPersonOfIndex personOf);

} // namespace verdan
