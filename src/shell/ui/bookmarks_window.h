#pragma once

#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace verdan {

class TfrmEditNote;
class TZelGrid;

// The bookmarks of the open tree: each person's lineage name with the note kept on him, newest first.
// Notes are edited in place or in the note editor; a bookmark is deleted only after the user says Yes.
class TfrmBookmark : public QWidget {
    Q_OBJECT
public:
    explicit TfrmBookmark(QWidget* parent = nullptr);

    // Reads the bookmarks again; nothing stays selected.
    void Refresh();
    void EditCurrent();
    void DeleteCurrent();

    int Count() const { return count_; }
    QString CurrentPerson() const { return currentPerson_; }
    QString CurrentOid() const { return currentOid_; }
    TZelGrid* Grid() const { return gBookmark_; }
    TfrmEditNote* NoteEditor() const { return frmEditNote_; }
    QAction* EditAction() const { return actEdit_; }
    QAction* DeleteAction() const { return actDelete_; }
    QAction* GotoAction() const { return actGoto_; }
    QAction* ShowDataAction() const { return actShowData_; }
    QAction* TreeWindowAction() const { return actShowInTreeWindow_; }

signals:
    void TreeWindowWanted(const QString& personId);
    void MainTreeWanted(const QString& personId);
    void DataCardWanted(const QString& personId);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();
    void SelectCell(int col, int row);
    void ClearSelection();
    void UpdateActions();
    void NoteEdited(int col, int row);

    QToolBar* toolBar_;
    QAction* actEdit_;
    QAction* actDelete_;
    QAction* actRefresh_;
    QAction* actGoto_;
    QAction* actShowData_;
    QAction* actShowInTreeWindow_;
    QAction* mnuCopy_;
    QMenu* popup_;
    TZelGrid* gBookmark_;
    TfrmEditNote* frmEditNote_;
    int currentRow_ = -1;
    QString currentPerson_;
    QString currentOid_;
    int count_ = 0;
    QLabel* noteEmpty_;
};

} // namespace verdan
