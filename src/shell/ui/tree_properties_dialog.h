#pragma once

#include "storage/tree_info.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTextCharFormat;
class QTextEdit;
class QToolButton;
class QWidget;

namespace verdan {

class TZelGrid;

// The open tree's properties: its name and owner, the file with its size and the newest additions and
// changes, the statistics of persons, marriages and pictures, and the description, edited as rich text.
// OK is offered once something changed.
class TfrmProperty : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProperty(QWidget* parent = nullptr);

    // Shows the properties modally; after OK (true) props holds the edited name, owner, description and
    // the carried hide_about flag.
    bool Edit(TTreeProperty& props);
    // Shows props in the window without waiting (Edit does it before it waits).
    void Load(const TTreeProperty& props);
    // The edited values put into props.
    void Store(TTreeProperty& props) const;

    QLineEdit* TreeNameEdit() const { return txtTreeName_; }
    QLineEdit* OwnerEdit() const { return txtOwnerName_; }
    QTextEdit* DescriptionEditor() const { return rtfDescription_; }
    TZelGrid* StatisticsGrid() const { return gStat_; }
    QPushButton* OkButton() const { return bt_Ok_; }
    QToolButton* BoldButton() const { return btBold_; }
    QLabel* SizeLabel() const { return lblFileSize_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();
    void FillStatistics();
    void Changed();
    void ShowFormat(const QTextCharFormat& format);
    void MergeFormat(const QTextCharFormat& format);
    void ChooseColor();

    TTreeProperty shown_;
    QLabel* lblTreeName_;
    QTabWidget* pages_;
    QWidget* tab_General_;
    QWidget* tab_Description_;
    QLabel* lblTree_;
    QLabel* lblOwner_;
    QLabel* lblFile_;
    QLabel* lblLocation_;
    QLabel* lblSize_;
    QLabel* lblAdded_;
    QLabel* lblModified_;
    QLabel* lblStatistics_;
    QLineEdit* txtTreeName_;
    QLineEdit* txtOwnerName_;
    QLabel* lblFileName_;
    QLineEdit* txtFilePath_;
    QLabel* lblFileSize_;
    QLabel* lblLastCreated_;
    QLabel* lblLastModified_;
    TZelGrid* gStat_;
    QWidget* Panel3_;
    QCheckBox* chkShowAbout_;
    QToolButton* btBold_;
    QToolButton* btItalic_;
    QToolButton* btUnderline_;
    QToolButton* btColor_;
    QComboBox* cmbSize_;
    QTextEdit* rtfDescription_;
    QPushButton* bt_Ok_;
    QPushButton* bt_Cancel_;
    bool loading_ = false;
};

} // namespace verdan
