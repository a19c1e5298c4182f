#pragma once

#include "relations/ui/person_list_window.h"

namespace verdan {

// Every breastfeeding relation of the tree: breastfeeding siblings, and a nursing mother with the child
// she nursed. "Update" writes the persons' current lineage names into the relations and reads the list
// again.
class TfrmRelationB : public TfrmPersonList {
    Q_OBJECT
public:
    explicit TfrmRelationB(QWidget* parent = nullptr);

    TZelGrid* Grid() const { return g_; }

protected:
    void ReadList() override;
    void TranslateTexts() override;
    void ShowCell(const TZelGrid* grid, int col, int row, QString& text) const override;

private:
    void UpdateNames();

    TZelGrid* g_;
};

} // namespace verdan
