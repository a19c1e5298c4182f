#pragma once

#include "relations/ui/person_list_window.h"

class QLabel;
class QLineEdit;

namespace verdan {

// The general search: persons whose names, places, notes and briefings hold every word typed, with the
// texts where the words were found.
class TfrmFind : public TfrmPersonList {
    Q_OBJECT
public:
    explicit TfrmFind(QWidget* parent = nullptr);

    void Search();

    QLineEdit* FindBox() const { return txtFind_; }
    QPushButton* SearchButton() const { return btSearch_; }
    TZelGrid* Grid() const { return g_; }

protected:
    // Showing the window starts a new search.
    void ReadList() override;
    void TranslateTexts() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* lblFind_;
    QLineEdit* txtFind_;
    QPushButton* btSearch_;
    QLabel* lblResult_;
    TZelGrid* g_;
    bool searched_ = false;
    int found_ = 0;
};

} // namespace verdan
