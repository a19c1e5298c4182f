#pragma once

#include <QWidget>

class QLabel;
class QMenu;

namespace verdan {

class TZelGrid;

// The strip of favourite persons at the main window's edge: a narrow handle that opens and collapses it,
// and a list of the favourites stored in the open tree. Persons are added by dropping them on the strip.
class TFavouritesStrip : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHandleWidth = 7;
    static constexpr int kOpenWidth = 200;

    explicit TFavouritesStrip(QWidget* parent = nullptr);

    // Reloads the list from the open tree; empties it when no tree is open.
    void FillFavourites();
    bool IsOpen() const { return open_; }
    void SetOpen(bool open);
    // Adds the person with the lineage name as its text; false when listed already or not written.
    bool AddPerson(const QString& personId);
    // Asks, then deletes the favourite of the data row; false when the user declined or the row is empty.
    bool RemoveRow(int row);
    void TranslateTexts();

    TZelGrid* Grid() const { return gSpeed_; }
    QWidget* Handle() const;

signals:
    // A favourite was double-clicked: the host shows that person.
    void PersonChosen(const QString& personId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ShowHandle(bool hover);
    void ShowPopup(const QPoint& position);

    QLabel* imgSpeed_;
    QLabel* lblSpeed_;
    QLabel* noteEmpty_;
    QWidget* gridHost_;
    TZelGrid* gSpeed_;
    QMenu* pmSpeed_;
    QAction* mnuDelete_;
    bool open_ = false;
};

} // namespace verdan
