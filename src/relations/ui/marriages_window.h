#pragma once

#include "relations/ui/person_list_window.h"

namespace verdan {

// Every marriage of the tree with both spouses and their order numbers. "Update Names" writes the
// spouses' current lineage names into the relations before the list is read again.
class TfrmRelationM : public TfrmPersonList {
    Q_OBJECT
public:
    explicit TfrmRelationM(QWidget* parent = nullptr);

    TZelGrid* Grid() const { return g_; }
    QPushButton* UpdateNamesButton() const { return btUpdateNames_; }
    void UpdateNames();

protected:
    void ReadList() override;
    void TranslateTexts() override;
    void ShowCell(const TZelGrid* grid, int col, int row, QString& text) const override;

private:
    TZelGrid* g_;
    QPushButton* btUpdateNames_;
};

} // namespace verdan
