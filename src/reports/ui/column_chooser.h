#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QListWidget;
class QPushButton;

namespace verdan {

// Chooses the columns a list shows, prints and exports, and their order: every column with a box to
// tick, moved up and down with the buttons (or Alt+Up and Alt+Down).
class TfrmColumns : public QDialog {
    Q_OBJECT

public:
    explicit TfrmColumns(QWidget* parent = nullptr);

    // One entry: the column's key and its title.
    struct TEntry {
        int key = 0;
        QString title;
    };
    // Shows `all` in their order, ticking those in `shown`; true on OK.
    bool Ask(const QList<TEntry>& all, const QList<int>& shown);
    // The keys ticked on OK, in the order listed.
    QList<int> Chosen() const;

    QListWidget* List() const { return lstColumns_; }
    void btUpClick();
    void btDownClick();
    void btAllClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Move(int by);
    void UpdateButtons();

    QListWidget* lstColumns_;
    QPushButton* btUp_;
    QPushButton* btDown_;
    QPushButton* btAll_;
    QPushButton* btOk_;
};

} // namespace verdan
