#pragma once

#include "shell/new_tree.h"
#include "storage/tree_info.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace verdan {

// Asks for the name, owner and place of a new tree. On OK the path is composed and checked again, so the
// properties it gives name a valid path to a file that does not exist yet.
class Tfrm_NewTree : public QDialog {
    Q_OBJECT

public:
    explicit Tfrm_NewTree(QWidget* parent = nullptr);

    // The accepted tree: TreeName, OwnerName, BasePath, FolderName and FileName.
    const TTreeProperty& Result() const { return result_; }

    QLineEdit* TreeNameEdit() const { return txtTreeName_; }
    QLineEdit* OwnerEdit() const { return txtOwner_; }
    QLineEdit* LocationEdit() const { return txtLocation_; }
    QLineEdit* FolderEdit() const { return txtFolder_; }
    QLineEdit* FileNameEdit() const { return txtFileName_; }
    QLineEdit* PathEdit() const { return txtPath_; }
    QPushButton* OkButton() const { return btOk_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void TranslateTexts();
    void ShowNames();
    void Compose();
    void BrowseClick();

    QLabel* lblTreeName_;
    QLabel* lblOwner_;
    QLabel* lblLocation_;
    QLabel* lblFolder_;
    QLabel* lblFileName_;
    QLineEdit* txtTreeName_;
    QLineEdit* txtOwner_;
    QLineEdit* txtLocation_;
    QLineEdit* txtFolder_;
    QLineEdit* txtFileName_;
    QLineEdit* txtPath_;
    QPushButton* btBrowse_;
    QPushButton* btDetail_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
    QWidget* pnlDetail_;
    TNewTreeNames names_;
    TTreeProperty result_;
};

} // namespace verdan
