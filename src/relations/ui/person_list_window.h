#pragma once

#include <QList>
#include <QWidget>

class QHBoxLayout;
class QMenu;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace verdan {

class TZelGrid;

// The frame shared by the windows that list persons of the whole tree (marriages, childless couples,
// breastfeeding relations, parent contradictions, the general search): a bar with the "Stay on Top"
// button and "Update", one or more read-only grids, and what every person in them leads to. The list is
// read again each time the window is shown and on "Update". A press on a person tells the cards; a
// double click (or Enter) opens a tree window for every person of the row; the popup menu shows the
// person in the data card, a tree window or the main outline. The host connects the three wishes.
class TfrmPersonList : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPersonList(QWidget* parent = nullptr);

    // Reads the list from the open tree, with the busy cursor.
    void Refresh();

    bool IsStayOnTop() const;
    void SetStayOnTop(bool on);
    QToolButton* StayOnTopButton() const { return btStayOnTop_; }
    QPushButton* UpdateButton() const { return btUpdate_; }

signals:
    void TreeWindowWanted(const QString& personId);
    void MainTreeWanted(const QString& personId);
    void DataCardWanted(const QString& personId);

protected:
    // A name column of a grid and the column of the identifier of its person.
    struct PersonColumn {
        int name;
        int id;
    };

    virtual void ReadList() = 0;
    virtual void TranslateTexts();
    // Lets a window show a stored cell text its own way (a relation's kind by its name).
    virtual void ShowCell(const TZelGrid* grid, int col, int row, QString& text) const;

    QHBoxLayout* Bar() const { return bar_; }
    QVBoxLayout* Body() const { return body_; }
    // A grid of the window with the look of the lists: row numbers, sorting by the column titles, a title
    // row 30 high, read-only.
    TZelGrid* NewGrid(QWidget* parent);
    // Replaces the grid's rows by the table's (no key column, no title row) and sets the column widths
    // (-1 hides a column); a table without rows leaves one empty row.
    static void Fill(TZelGrid* grid, const QList<QStringList>& table, const QList<int>& widths);
    // The persons of a grid: where their names are, and where the identifiers behind them. Names left
    // empty in the table are looked up when first drawn (lazy), when `lazy`.
    void ListPersons(TZelGrid* grid, const QList<PersonColumn>& columns, bool lazy);
    // The person of the grid's cell: the one of its name column, else the row's first.
    QString PersonAt(TZelGrid* grid, int col, int row) const;
    QStringList PersonsOfRow(TZelGrid* grid, int row) const;

    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

    // A double click or Enter on a row: a tree window for each of its persons.
    virtual void OpenRow(TZelGrid* grid, int row);

private:
    void ShowPopup(TZelGrid* grid, const QPoint& at);

    QToolButton* btStayOnTop_;
    QPushButton* btUpdate_;
    QHBoxLayout* bar_;
    QVBoxLayout* body_;
    QMenu* popup_;
    QAction* mnuDataCard_;
    QAction* mnuTreeWindow_;
    QAction* mnuMainTree_;
    struct ListedGrid {
        TZelGrid* grid;
        QList<PersonColumn> columns;
        bool lazy;
    };
    QList<ListedGrid> persons_;
    bool restyling_ = false;
};

} // namespace verdan
