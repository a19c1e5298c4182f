#pragma once

#include <functional>

class QAbstractItemView;
class QLabel;

namespace verdan {

// A note over a list while it holds nothing: what the list would hold and how to fill it, in grey under
// the list's first row. `empty` tells whether the list holds nothing; it is asked again whenever the list's
// contents change. The caller sets the note's text (and again when the language changes).
QLabel* ShowNoteWhileEmpty(QAbstractItemView* view, std::function<bool()> empty);

} // namespace verdan
