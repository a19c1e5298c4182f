#pragma once

#include "relations/ui/person_list_window.h"

class QLineEdit;

namespace verdan {

// Every person with a note (TfrmNotes) or a briefing (TfrmBriefing), with the text and the day of its last
// change. The find box moves to the next row holding what is typed, from the top again after the last
// row, and every cell holding it is drawn bold blue. A double click shows the person in the main outline.
class TfrmPersonTexts : public TfrmPersonList {
    Q_OBJECT
public:
    enum class Kind { Notes, Briefing };
    TfrmPersonTexts(Kind kind, QWidget* parent);

    // The next row after the current one whose name and text hold the find box's text; true when found.
    bool FindNext();

    TZelGrid* Grid() const { return g_; }
    QLineEdit* FindBox() const { return txtFind_; }
    QPushButton* FindButton() const { return bt_Find_; }

protected:
    void ReadList() override;
    void TranslateTexts() override;
    void OpenRow(TZelGrid* grid, int row) override;

private:
    void DrawFound(QPainter& painter, const QRect& rect, int col, int row) const;

    Kind kind_;
    QLineEdit* txtFind_;
    QPushButton* bt_Find_;
    TZelGrid* g_;
};

class TfrmNotes : public TfrmPersonTexts {
    Q_OBJECT
public:
    explicit TfrmNotes(QWidget* parent = nullptr) : TfrmPersonTexts(Kind::Notes, parent) {}
};

class TfrmBriefing : public TfrmPersonTexts {
    Q_OBJECT
public:
    explicit TfrmBriefing(QWidget* parent = nullptr) : TfrmPersonTexts(Kind::Briefing, parent) {}
};

} // namespace verdan
