#pragma once

#include "chart/chart_poster.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace verdan {

// File ▸ Export Poster: a person's whole descendant tree (the chart's root, else the tree's largest
// father line) as a framed wall poster: how many generations, what the boxes show, the paper and whether
// to cut it into tiles; then Export writes a PDF, SVG or PNG file and Print sends the assembly sheet and
// the tiles to a printer through the system's print dialog.
class TfrmPosterDialog : public QDialog {
    Q_OBJECT

public:
    // personId may be empty (the largest father line).
    TfrmPosterDialog(const QString& personId, QWidget* parent = nullptr);

    TPosterOptions Options() const;
    // The look the poster takes from the chart it is asked from: reading order, calendar, daughters'
    // children.
    void TakeChartLook(bool leftToRight, TDateShown calendar, bool daughters);
    // Builds the poster and writes it; false with a message when that fails or is cancelled.
    bool ExportTo(const QString& path);
    // Builds the poster and prints its tiles after the print dialog; false when cancelled or failed.
    bool Print();

    QSpinBox* UpBox() const { return spnUp_; }
    QSpinBox* DownBox() const { return spnDown_; }
    QComboBox* PaperBox() const { return cmbPaper_; }
    QCheckBox* TilesBox() const { return chkTiles_; }
    QPushButton* ExportButton() const { return btExport_; }
    QPushButton* PrintButton() const { return btPrint_; }

    // The file to write (filter as for QFileDialog); empty when cancelled. Tests replace it.
    std::function<QString(const QString& proposed, const QString& filter)> ChooseFile;
    // Opens the written file with the desktop's viewer. Tests replace it.
    std::function<void(const QString& path)> OpenDocument;

private:
    void TranslateTexts();

    QString personId_;
    bool leftToRight_ = false;
    TDateShown calendar_ = TDateShown::Hijri;
    QLabel* lblPerson_;
    QLabel* lblUp_;
    QSpinBox* spnUp_;
    QLabel* lblDown_;
    QSpinBox* spnDown_;
    QCheckBox* chkDaughters_;
    QCheckBox* chkSpouses_;
    QCheckBox* chkDates_;
    QCheckBox* chkPictures_;
    QLabel* lblPaper_;
    QComboBox* cmbPaper_;
    QCheckBox* chkLandscape_;
    QCheckBox* chkTiles_;
    QDialogButtonBox* buttons_;
    QPushButton* btExport_;
    QPushButton* btPrint_;
};

} // namespace verdan
