#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace verdan {

class TZelGrid;

// The start page: the recently opened trees, newest first, with commands to open one, open another file
// or create a new tree. It shows the process-wide recent-trees list and follows its changes; the list
// keeps the stored texts, the placeholders and padding exist only on the page.
class Tfrm_Start_Page : public QDialog {
    Q_OBJECT

public:
    explicit Tfrm_Start_Page(QWidget* parent = nullptr);

    // The main window's commands; each tells whether a tree is open afterwards.
    std::function<bool(const QString& path)> OpenTree;
    std::function<bool()> OpenTreeDialog;
    std::function<bool()> NewTree;

    TZelGrid* Grid() const { return gTrees_; }
    QString PathText() const;
    // True from the moment a tree was chosen until the page is shown again; input is ignored meanwhile.
    bool IsBusy() const { return busy_; }

    // Opens the tree of a grid row (1 is the first tree): a missing file is reported and the page stays.
    void OpenRow(int row);
    // Asks, then takes the row's tree off the list.
    void RemoveRow(int row);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TranslateTexts();
    void Fill();
    void ShowPath(int row);
    void DrawCell(QPainter& painter, const QRect& rect, int col, int row);
    // True at the end of a tree name where a click opens the tree.
    bool OnOpenSpot(const QPoint& point) const;
    void OpenDialogClick();
    void NewTreeClick();

    QLabel* lblSelect_;
    TZelGrid* gTrees_;
    QLineEdit* txtPath_;
    QPushButton* btOpen_;
    QPushButton* btNew_;
    QPushButton* btClose_;
    QMenu* pmTrees_;
    QAction* mnuRemove_;
    bool busy_ = false;
};

} // namespace verdan
