#include "navigator/visit_history.h"

#include "storage/person_store.h"

namespace verdan {

void TVisitHistory::Start() {
    entries_.clear();
    index_ = -1;
    active_ = true;
}

void TVisitHistory::Stop() {
    entries_.clear();
    index_ = -1;
    active_ = false;
}

void TVisitHistory::Add(const QString& personId) {
    if (!active_ || personId.trimmed().isEmpty())
        return;
    // Compared with the person shown now, not the newest entry: after going back, moving to the newest
    // person is a move like any other.
    if (index_ >= 0 && index_ < entries_.size() && SameId(entries_[index_], personId))
        return;
    ++index_;
    if (index_ < entries_.size())
        entries_[index_] = personId;
    else
        entries_ << personId;
}

QString TVisitHistory::Back() {
    if (!active_ || entries_.isEmpty())
        return QString();
    if (index_ - 1 < 0) {
        index_ = 0;
        return QString();
    }
    return entries_[--index_];
}

QString TVisitHistory::Forward() {
    if (!active_ || entries_.isEmpty())
        return QString();
    if (index_ + 1 >= entries_.size()) {
        index_ = static_cast<int>(entries_.size()) - 1;
        return QString();
    }
    return entries_[++index_];
}

} // namespace verdan
