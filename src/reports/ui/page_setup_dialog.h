#pragma once

#include "reports/grid_print_layout.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QCheckBox;
class QSpinBox;

namespace verdan {

class TZelGridPrintL;

// The page set-up of a grid print: zoom (or a zoom that fits the columns across the paper), paper,
// quality and orientation; the margins and the heights of
// the page's parts; the texts of the bands, the title and the texts above and below the table. OK
// copies everything into the print; Cancel changes nothing.
class TfrmZelSetup : public QDialog {
    Q_OBJECT

public:
    TfrmZelSetup(TZelGridPrintL& print, QWidget* parent = nullptr);

    void btOkClick();
    void btPrinterSetupClick();

    QSpinBox* Zoom() const { return txtZoom_; }
    QCheckBox* FitToWidth() const { return chkFit_; }
    QSpinBox* Margin(int side) const { return margins_[side]; }
    QComboBox* Paper() const { return cmbPaper_; }
    QRadioButton* Portrait() const { return rbPortrait_; }

    // The print qualities offered, in dots per inch.
    static QList<int> Qualities();

private:
    void Load();
    // Left and right as the user sees them: in a mirrored page the leading side is the right.
    TPrintAlignment FromVisual(int index) const;
    int ToVisual(TPrintAlignment align) const;
    QComboBox* AlignmentBox();
    QComboBox* SectionBox();

    TZelGridPrintL& print_;
    QSpinBox* txtZoom_;
    QCheckBox* chkFit_;
    QComboBox* cmbPaper_;
    QComboBox* cmbQuality_;
    QRadioButton* rbPortrait_;
    QRadioButton* rbLandscape_;
    QSpinBox* margins_[4];
    QSpinBox* heights_[5];
    QLineEdit* txtTitle_;
    QLineEdit* txtHeader_;
    QLineEdit* txtFooter_;
    QComboBox* cmbTitleAlign_;
    QComboBox* cmbHeaderAlign_;
    QComboBox* cmbFooterAlign_;
    QComboBox* sections_[3];
    QPlainTextEdit* txtUpper_;
    QPlainTextEdit* txtLower_;
};

} // namespace verdan
