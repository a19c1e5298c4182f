#pragma once

#include <QTreeView>

namespace verdan {

// The outline control of TframTree; it tells whether a label is being edited.
class TOutlineView : public QTreeView {
public:
    using QTreeView::QTreeView;
    bool IsEditing() const { return state() == EditingState; }
};

} // namespace verdan
