#include "reports/grid_sort.h"
#include "reports/ui/grid_editor.h"
#include "reports/ui/zel_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <climits>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
         const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &release);
}

void Type(QWidget* target, const QString& text) {
    for (const QChar c : text)
        Key(target, 0, Qt::NoModifier, QString(c));
}

void Click(QWidget* target, const QPoint& at, QEvent::Type type = QEvent::MouseButtonPress) {
    const QPointF global = target->mapToGlobal(QPointF(at));
    if (type == QEvent::MouseButtonDblClick) {
        QMouseEvent dbl(type, QPointF(at), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dbl);
        return;
    }
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

TGridEditor* OpenEditor() {
    QApplication::processEvents();
    return qobject_cast<TGridEditor*>(QApplication::focusWidget());
}

// A shown grid of names and ages with its focus, so that keys and editors behave as for a user.
struct TShownGrid {
    TShownGrid() {
        grid.resize(400, 300);
        grid.SetColCount(3);
        grid.SetRowCount(4);
        grid.SetColTitles({"", "Name", "Age"});
        const QStringList names{"Omar", "Ali", "Said"};
        const QStringList ages{"40", "9", "100"};
        for (int i = 0; i < 3; ++i) {
            grid.SetCells(1, i + 1, names[i]);
            grid.SetCells(2, i + 1, ages[i]);
        }
        grid.show();
        grid.activateWindow();
        grid.setFocus();
        grid.SetCurrentCell(1, 1);
        QApplication::processEvents();
    }
    TZelGrid grid;
};

} // namespace

TEST(ZelGridUi, OverlaidEditorCommitsOnEnterAndCancelsOnEscape) {
    TShownGrid shown;
    TZelGrid& grid = shown.grid;
    Key(&grid, Qt::Key_F2);
    EXPECT_EQ(OpenEditor(), nullptr) << "editing is off by default";

    grid.SetAllowEdit(true);
    QList<QPoint> edited;
    QObject::connect(&grid, &TZelGrid::AfterEdit, [&](int col, int row) { edited.append({col, row}); });
    Key(&grid, Qt::Key_F2);
    TGridEditor* editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), "Omar");
    EXPECT_EQ(editor->textCursor().position(), 4);
    const int oneLine = editor->height();
    Type(editor, " bin");
    Key(editor, Qt::Key_Return, Qt::AltModifier);
    Type(editor, "Khattab");
    Key(editor, Qt::Key_Return, Qt::AltModifier);
    Type(editor, "x");
    EXPECT_GT(editor->height(), oneLine);
    Key(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(grid.Cells(1, 1), "Omar bin\nKhattab\nx");
    EXPECT_EQ(edited, QList<QPoint>({{1, 1}}));
    EXPECT_FALSE(editor->isVisible() && QApplication::focusWidget() == editor);

    Key(&grid, Qt::Key_Return);
    editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    Type(editor, "zzz");
    Key(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(grid.Cells(1, 1), "Omar bin\nKhattab\nx");

    // An unchanged text is not an edit; a read-only grid does not take the text.
    Key(&grid, Qt::Key_F2);
    ASSERT_NE(OpenEditor(), nullptr);
    Key(OpenEditor(), Qt::Key_Return);
    EXPECT_EQ(edited.size(), 1);
    grid.SetReadonly(true);
    Key(&grid, Qt::Key_F2);
    ASSERT_NE(OpenEditor(), nullptr);
    EXPECT_TRUE(OpenEditor()->isReadOnly());
    Key(OpenEditor(), Qt::Key_Escape);

    // A double click edits the clicked cell.
    grid.SetReadonly(false);
    const QRect cell = grid.visualRect(grid.Model().index(1, 1));
    Click(grid.viewport(), cell.center(), QEvent::MouseButtonDblClick);
    editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), "9");
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 2);
    Key(editor, Qt::Key_Escape);
}

TEST(ZelGridUi, ClipboardAndRowKeys) {
    TShownGrid shown;
    TZelGrid& grid = shown.grid;
    QClipboard* clipboard = QGuiApplication::clipboard();
    grid.SelectAll();
    Key(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "Name\tAge\r\nOmar\t40\r\nAli\t9\r\nSaid\t100");
    grid.SetColWidth(2, 0);
    grid.setCurrentIndex(grid.Model().index(1, 0));
    Key(&grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "Ali");
    grid.SetAllowNotCopy(true);
    clipboard->setText("untouched");
    Key(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "untouched");

    clipboard->setText("Hind\t30\r\nZaid\t5\r\nlost\t1\r\n");
    grid.SetCurrentCell(1, 2);
    Key(&grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.Cells(1, 2), "Ali") << "pasting is off by default";
    grid.SetAllowPaste(true);
    Key(&grid, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(grid.Cells(1, 2), "Hind");
    EXPECT_EQ(grid.Cells(2, 3), "5");
    EXPECT_EQ(grid.RowCount(), 4);

    Key(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid.RowCount(), 4);
    grid.SetAllowRowDelete(true);
    Key(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cells(1, 2), "Zaid");
    EXPECT_EQ(grid.Row(), 2);

    grid.SetAllowRowInsert(true);
    Key(&grid, Qt::Key_Insert, Qt::AltModifier);
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.Cells(1, 2), "");

    grid.SetCurrentCell(1, 3);
    grid.selectionModel()->select(grid.Model().index(2, 0), QItemSelectionModel::ClearAndSelect);
    Key(&grid, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(grid.Cells(1, 3), "");

    grid.SetCurrentCell(1, grid.RowCount() - 1);
    Key(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.RowCount(), 4);
    grid.SetAutoRowIncrement(true);
    Key(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Row(), 4);
}

TEST(ZelGridUi, TriangleClicksSortAndShareTheDirection) {
    TShownGrid first;
    TShownGrid second;
    TZelGrid& grid = first.grid;
    QHeaderView* header = grid.horizontalHeader();
    const int ageLeft = header->sectionViewportPosition(1);
    const int ageRight = ageLeft + header->sectionSize(1);
    const QPoint triangles(ageRight - 10, header->height() / 2);
    const QPoint middle(ageLeft + 10, header->height() / 2);

    Click(header->viewport(), triangles);
    EXPECT_EQ(grid.Cells(2, 1), "40") << "sorting is off by default";
    grid.SetAllowSorting(true);
    Click(header->viewport(), middle);
    EXPECT_EQ(grid.Cells(2, 1), "40");
    Click(header->viewport(), triangles);
    EXPECT_EQ(grid.SortedColumn(), 2);
    EXPECT_EQ(grid.Cells(2, 1), "9");
    EXPECT_EQ(grid.Cells(1, 3), "Said");
    EXPECT_EQ(grid.Row(), 1);
    Click(header->viewport(), triangles);
    EXPECT_EQ(grid.Cells(2, 1), "100");
    EXPECT_TRUE(SortDescending());

    // Another grid's already sorted column inverts the direction that grid left.
    second.grid.SortColumn(1, false);
    Click(header->viewport(), triangles);
    EXPECT_TRUE(SortDescending());
    EXPECT_EQ(grid.Cells(2, 1), "100");
    // A new column always starts ascending.
    SetSortDescending(true);
    const QPoint nameTriangles(header->sectionSize(0) - 10, header->height() / 2);
    Click(header->viewport(), nameTriangles);
    EXPECT_FALSE(SortDescending());
    EXPECT_EQ(grid.Cells(1, 1), "Ali");
    EXPECT_EQ(grid.ColWidth(2), second.grid.ColWidth(2)) << "sorting keeps column widths";
}

TEST(ZelGridUi, RightToLeftMirrorsTheGrid) {
    TShownGrid shown;
    TZelGrid& grid = shown.grid;
    EXPECT_LT(grid.verticalHeader()->geometry().left(), grid.viewport()->geometry().left());
    Key(&grid, Qt::Key_Shift, Qt::ControlModifier | Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_TRUE(grid.isRightToLeft());
    EXPECT_GT(grid.verticalHeader()->geometry().left(), grid.viewport()->geometry().left());
    const QRect first = grid.visualRect(grid.Model().index(0, 0));
    const QRect second = grid.visualRect(grid.Model().index(0, 1));
    EXPECT_GT(first.left(), second.left());

    // Each text starts at its own reading start: Arabic at the right of its cell, Latin at the left.
    grid.SetColWidth(1, 200);
    grid.clearSelection();
    grid.SetCurrentCell(2, 2);
    const auto leftmostInk = [&grid](const QString& text) {
        grid.SetCells(1, 1, text);
        QApplication::processEvents();
        const QImage image = grid.viewport()->grab().toImage();
        const QRect cell = grid.visualRect(grid.Model().index(0, 0));
        int leftmost = cell.right();
        for (int x = cell.left() + 3; x < cell.right() - 3; ++x)
            for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y)
                if (qGray(image.pixel(x, y)) < 128)
                    leftmost = std::min(leftmost, x);
        return leftmost - cell.left();
    };
    EXPECT_GT(leftmostInk(QStringLiteral(u"عيسى")), 100);
    EXPECT_LT(leftmostInk(QStringLiteral("ab")), 100);

    // The sort triangles move to the left end of the column title.
    grid.SetAllowSorting(true);
    QHeaderView* header = grid.horizontalHeader();
    const int left = header->sectionViewportPosition(1);
    Click(header->viewport(), QPoint(left + 10, header->height() / 2));
    EXPECT_EQ(grid.SortedColumn(), 2);

    Key(&grid, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_FALSE(grid.isRightToLeft());
}

TEST(ZelGridUi, LayoutFillAndRowHeights) {
    TShownGrid shown;
    TZelGrid& grid = shown.grid;
    grid.SetColWidths({20, -2, 0, 99});
    EXPECT_EQ(grid.ColWidth(0), 20);
    EXPECT_EQ(grid.ColWidth(1), 64);
    EXPECT_EQ(grid.ColWidth(2), 0);

    FillGridFromTable(grid, {{"Id", "Name"}}, "id", true);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cells(1, 0), "Name");
    EXPECT_EQ(grid.Cells(1, 1), "");

    grid.SetAutoColWidth(true);
    grid.SetColTitles({"", "A rather long column title"});
    grid.AdjustLayout();
    EXPECT_GT(grid.ColWidth(1), 64);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 1);

    grid.SetCells(1, 1, QString(40, u'w') + " " + QString(40, u'w') + " " + QString(40, u'w'));
    grid.SetAutoRowHeight(true);
    QApplication::processEvents();
    EXPECT_GT(grid.RowHeight(1), grid.DefaultRowHeight());
    // Whatever the column's width, the row holds every line the cell draws within its margins.
    const QString name = QStringLiteral("Ernest_I of_Saxe-Coburg- Saalfeld Francis Frederick");
    grid.SetCells(1, 1, name);
    for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        grid.setLayoutDirection(direction);
        const QMargins margins = TZelGrid::CellTextMargins(direction);
        for (int width = 60; width < 260; width += 3) {
            grid.SetColWidths({20, width});
            QApplication::processEvents();
            const QRect drawn(0, 0, width - margins.left() - margins.right(), INT_MAX / 2);
            const int lines = QFontMetrics(grid.font()).boundingRect(drawn, Qt::TextWordWrap, name).height();
            EXPECT_GE(grid.RowHeight(1), lines + margins.top() + margins.bottom()) << width;
        }
    }
    grid.ClearCells();
    grid.SetAutoRowHeight(false);
    EXPECT_EQ(grid.RowHeight(1), grid.DefaultRowHeight());
}
