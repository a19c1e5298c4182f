#pragma once

#include "datasheet/mate_children.h"

#include <QPoint>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QToolButton;

namespace verdan {

class TfrmMarriage;

class TZelGrid;

// The relationships section of the data sheet and of the data card: the person's parents, each with a
// button that removes the link; the mates in their order with a divorce mark each, reordered with the
// buttons or by dragging a row; the children in birth order as a check list in which the children of the
// selected mate are checked. Checking a child makes the selected mate its other parent. Every change is
// written at once; the frame keeps nothing pending.
class TframMateChild : public QWidget {
    Q_OBJECT
public:
    // Grid columns.
    static constexpr int kIdCol = 1;
    static constexpr int kNameCol = 2;
    static constexpr int kSplitCol = 3;
    static constexpr int kDeadCol = 4;
    static constexpr int kMarriedCol = 5; // the wedding's date and place
    static constexpr int kDivorceCol = 6; // the divorce's date and place

    explicit TframMateChild(QWidget* parent = nullptr);

    // Fills the parents, the mates and the children of the person (blank: nobody).
    void LoadRelations(const QString& personId);
    void FillMates();
    void FillChildren();
    // Checks the children of the selected mate (the first one when none is selected).
    void MarkMateChildren();
    void SaveMatesOrder();
    void SaveChildrenOrder();

    QString PersonId() const { return view_.Person.Person_Id; }
    // The mate of the current grid row; empty when there is none.
    QString CurrentMateId() const;
    QStringList MateIds() const;
    QStringList ChildIds() const;
    void TranslateTexts();

    // The commands of the buttons and the grid.
    void btDeleteFatherClick();
    void btDeleteMotherClick();
    void btDeleteMateClick();
    // The marriage dialog for the current mate: wedding and divorce dates and places, notes.
    void btMarriageClick();
    void btUpMClick();
    void btDownMClick();
    void btUpClick();
    void btDownClick();
    void bt_Alpha_SortClick();
    // Flips the divorce mark of a mate row and writes it.
    void ToggleSplit(int row);
    // Moves a mate row to another place, as dragging it does, and stores the order.
    void MoveMateRow(int from, int to);

    TZelGrid* MatesGrid() const { return gMates_; }
    QListWidget* ChildrenList() const { return lstChildren_; }

signals:
    // A link of the person or of one of the listed persons changed.
    void RelationsChanged(const QString& personId);
    // A double click on a listed person: a tree window is wanted at it.
    void TreeWindowWanted(const QString& personId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    // Shows view_.Mates with the given row current.
    void FillMateGrid(int currentRow);
    void ChildCheckChanged(QListWidgetItem* item);
    void SetChecked(QListWidgetItem* item, bool checked);
    void FillChildList(const TChildEntries& children);
    TChildEntry* EntryOf(QListWidgetItem* item);
    void SwapChildren(int a, int b);
    QRect SplitMarkRect(const QRect& cell) const;
    bool GridMouse(QEvent* event);
    // The grid row at a point of its viewport; -1 below the rows.
    int ViewportRow(const QPoint& pos) const;
    bool ParentBoxEvent(QLineEdit* box, const QString& personId, QEvent* event);
    void DrawCell(QPainter& painter, const QRect& rect, int col, int row);
    void Choose(const QString& personId);

    TRelationsView view_;
    TChildEntries children_; // in list order; each list item holds its index here
    bool filling_ = false;
    int dragRow_ = -1;
    QPoint pressPos_;
    bool dragging_ = false;

    QLabel* lbl_Father_;
    QLabel* lbl_Mother_;
    QLineEdit* txtFather_;
    QLineEdit* txtMother_;
    QToolButton* btDeleteFather_;
    QToolButton* btDeleteMother_;
    QWidget* pnlMate_;
    TZelGrid* gMates_;
    QToolButton* btDeleteMate_;
    QToolButton* btMarriage_;
    TfrmMarriage* marriageDialog_ = nullptr;
    QToolButton* btUpM_;
    QToolButton* btDownM_;
    QWidget* pnlChildren_;
    QLabel* lblChild_;
    QListWidget* lstChildren_;
    QToolButton* btUp_;
    QToolButton* btDown_;
    QToolButton* bt_Alpha_Sort_;
};

} // namespace verdan
