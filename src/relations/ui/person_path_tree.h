#pragma once

#include "relations/lineage_path.h"

#include <QWidget>
#include <functional>

class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace verdan {

// A read-only tree view without a header for a path, each line at its own reading end, that reports the
// persons under the pointer and chosen. `activated` gets the person of an item double-clicked or entered,
// queued: moving to him may rebuild the tree, the item included. The window is the tree's parent.
QTreeWidget* NewPathTree(QWidget* window, const QString& name,
                         std::function<void(const QString& personId)> activated);

// Fills a path tree with a path's entries, each beneath the one above it and holding its person's identifier
// in the user role; the persons the path is of are bold. Everything is expanded.
void FillPathTree(QTreeWidget* tree, const TLineagePath& path);

// The lineage path window: a person's line of ancestors as a nested tree (the father line, the mother's
// father line or the line of mothers), with the person's children, brothers and sisters and those of the
// parent at their places. Non-modal; it follows the selection of the outlines while it is shown, and a
// person activated in it is shown in the main outline (which then brings the window to that person).
class TfrmPersonPathTree : public QWidget {
    Q_OBJECT

public:
    explicit TfrmPersonPathTree(QWidget* parent = nullptr);

    // Rebuilds the window for the person with the chain chosen by the buttons.
    void ShowPath(const QString& personId);
    QString PersonId() const { return personId_; }
    TLineageKind Kind() const;

    QTreeWidget* PathTree() const { return trvPersonPath_; }
    QRadioButton* FatherPathButton() const { return rbFatherPath_; }
    QRadioButton* MotherPathButton() const { return rbMotherPath_; }
    QRadioButton* MothersChainButton() const { return rb_Mothers_Chain_; }

signals:
    // The user double-clicked a person of the path, or pressed Enter on one.
    void PersonActivated(const QString& personId);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();

    QRadioButton* rbFatherPath_;
    QRadioButton* rbMotherPath_;
    QRadioButton* rb_Mothers_Chain_;
    QTreeWidget* trvPersonPath_;
    QPushButton* btClose_;
    QString personId_;
};

} // namespace verdan
