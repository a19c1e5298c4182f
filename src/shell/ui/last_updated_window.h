#pragma once

#include <QWidget>

class QDateEdit;
class QLabel;
class QPushButton;
class QSplitter;

namespace verdan {

class TZelGrid;

// The entry transactions of the tree: the persons added since a day above, the persons changed since
// then (added before it) below, the newest first.
class TfrmLastUpdated : public QWidget {
    Q_OBJECT
public:
    explicit TfrmLastUpdated(QWidget* parent = nullptr);

    // Reads both lists for the day in the picker.
    void Fill();

    QDateEdit* DatePicker() const { return dtAdded_; }
    TZelGrid* AddedGrid() const { return gAdded_; }
    TZelGrid* EditedGrid() const { return gEdited_; }

    // Each list shows at most this many persons, the newest; a label says how many there were.
    static constexpr int kMaxRows = 5000;

signals:
    void TreeWindowWanted(const QString& personId);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();
    void SetUpGrid(TZelGrid* grid);

    QLabel* lbl_Last_Updates_;
    QDateEdit* dtAdded_;
    QPushButton* btShowAdded_;
    QSplitter* splitter_;
    QLabel* pnl_Entries_;
    QLabel* pnl_Updates_;
    TZelGrid* gAdded_;
    TZelGrid* gEdited_;
    int added_ = -1;
    int edited_ = -1;
};

} // namespace verdan
