#pragma once

#include "relations/ui/person_list_window.h"

namespace verdan {

// Persons whose attached mother is male or whose attached father is female. It starts above the other
// windows, so the user can put each person right in the outline while the list stays in sight.
class TfrmParenrContradiction : public TfrmPersonList {
    Q_OBJECT
public:
    explicit TfrmParenrContradiction(QWidget* parent = nullptr);

    TZelGrid* Grid() const { return g_; }
    // The number of persons listed by the last reading.
    int Count() const { return count_; }

protected:
    void ReadList() override;
    void TranslateTexts() override;
    void ShowCell(const TZelGrid* grid, int col, int row, QString& text) const override;

private:
    TZelGrid* g_;
    int count_ = 0;
};

} // namespace verdan
