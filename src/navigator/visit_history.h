#pragma once

#include <QString>
#include <QStringList>

namespace verdan {

// The persons an outline was moved to, for its Go Backward and Go Forward buttons. It exists while the
// outline shows a tree; going back and then somewhere new replaces the entry after the current one and
// keeps those beyond it.
class TVisitHistory {
public:
    // A new, empty list (the outline was filled).
    void Start();
    // No list at all (the outline was emptied): the buttons do nothing.
    void Stop();
    bool IsActive() const { return active_; }

    // Records a move to the person; a second move to the person already current adds nothing.
    void Add(const QString& personId);
    // The person to show when going back or forward; empty at either end, where the position stays.
    QString Back();
    QString Forward();

    bool CanGoBack() const { return active_ && index_ > 0; }
    bool CanGoForward() const { return active_ && index_ + 1 < entries_.size(); }
    int Index() const { return index_; }
    const QStringList& Entries() const { return entries_; }

private:
    QStringList entries_;
    int index_ = -1;
    bool active_ = false;
};

} // namespace verdan
