#pragma once

#include "relations/ui/person_list_window.h"

class QLabel;
class QSplitter;

namespace verdan {

// Couples in which one spouse has no child at all while the other has children: childless husbands above,
// childless wives below, a movable splitter between them.
class TfrmSpousNoChild : public TfrmPersonList {
    Q_OBJECT
public:
    explicit TfrmSpousNoChild(QWidget* parent = nullptr);

    TZelGrid* HusbandsGrid() const { return gHusbands_; }
    TZelGrid* WivesGrid() const { return gWives_; }

protected:
    void ReadList() override;
    void TranslateTexts() override;

private:
    QSplitter* splitter_;
    QLabel* lblHusbands_;
    QLabel* lblWives_;
    QLabel* noteHusbands_;
    QLabel* noteWives_;
    TZelGrid* gHusbands_;
    TZelGrid* gWives_;
};

} // namespace verdan
