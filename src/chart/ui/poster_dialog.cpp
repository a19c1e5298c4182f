#include "poster_dialog.h"

#include "chart/chart_file.h"
#include "storage/person_names.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/file_dialogs.h"
#include "text/ui/form_grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

namespace verdan {

namespace {

const char* const kPapers[] = {"A4", "A3", "A2", "A1", "A0"};

// A progress dialog for a long export that the user can cancel.
TPosterProgress Progress(QProgressDialog& dialog) {
    return [&dialog](int done, int total) {
        dialog.setMaximum(total);
        dialog.setValue(done);
        return !dialog.wasCanceled();
    };
}

} // namespace

TfrmPosterDialog::TfrmPosterDialog(const QString& personId, QWidget* parent)
    : QDialog(parent), personId_(personId), lblPerson_(new QLabel), lblUp_(new QLabel), spnUp_(new QSpinBox),
      lblDown_(new QLabel), spnDown_(new QSpinBox), chkDaughters_(new QCheckBox), chkSpouses_(new QCheckBox),
      chkDates_(new QCheckBox), chkPictures_(new QCheckBox), lblPaper_(new QLabel), cmbPaper_(new QComboBox),
      chkLandscape_(new QCheckBox), chkTiles_(new QCheckBox),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Close)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kRowSpacing);
    lblPerson_->setWordWrap(true);
    layout->addWidget(lblPerson_);
    auto* form = new QWidget;
    auto* grid = new TFormGrid(form);
    spnUp_->setRange(0, 200);
    spnDown_->setRange(1, 200);
    spnDown_->setValue(200);
    lblUp_->setBuddy(spnUp_);
    lblDown_->setBuddy(spnDown_);
    grid->AddRow(lblUp_, spnUp_);
    grid->AddRow(lblDown_, spnDown_);
    grid->AddRow(nullptr, chkDaughters_);
    grid->AddRow(nullptr, chkSpouses_);
    grid->AddRow(nullptr, chkDates_);
    grid->AddRow(nullptr, chkPictures_);
    for (const char* paper : kPapers)
        cmbPaper_->addItem(QString::fromLatin1(paper));
    cmbPaper_->setCurrentIndex(1);
    lblPaper_->setBuddy(cmbPaper_);
    grid->AddRow(lblPaper_, cmbPaper_, {chkLandscape_});
    grid->AddRow(nullptr, chkTiles_);
    layout->addWidget(form);
    btExport_ = buttons_->addButton(QString(), QDialogButtonBox::ActionRole);
    btPrint_ = buttons_->addButton(QString(), QDialogButtonBox::ActionRole);
    btExport_->setDefault(true);
    buttons_->button(QDialogButtonBox::Close)->setAutoDefault(false);
    layout->addWidget(buttons_);
    chkDates_->setChecked(true);
    chkTiles_->setChecked(true);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btExport_, &QPushButton::clicked, this, [this] {
        const QString filter = Translate(QStringLiteral("PDF document")) + QStringLiteral(" (*.pdf);;") +
                               Translate(QStringLiteral("SVG Drawing")) + QStringLiteral(" (*.svg);;") +
                               Translate(QStringLiteral("Portable Network Graphics")) +
                               QStringLiteral(" (*.png)");
        const QString tree = CurrentTreePath();
        const QString folder = tree.isEmpty() ? QDir::homePath() : QFileInfo(tree).absolutePath();
        const QString path = ChooseFile(QDir(folder).filePath(QStringLiteral("poster.pdf")), filter);
        if (!path.trimmed().isEmpty() && ExportTo(path))
            OpenDocument(path);
    });
    connect(btPrint_, &QPushButton::clicked, this, [this] { Print(); });
    ChooseFile = [this](const QString& proposed, const QString& filter) {
        QFileDialog dialog(this, QString(), proposed, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        PrepareFileDialog(dialog);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().first()
                   : QString();
    };
    OpenDocument = [](const QString& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    TranslateTexts();
}

void TfrmPosterDialog::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Export Poster")));
    setLayoutDirection(Local().Target.RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    const QString person = personId_.isEmpty() ? Translate(QStringLiteral("the tree's largest father line"))
                                               : Isolate(GetNameFatherLast(personId_));
    lblPerson_->setText(FillPattern(Translate(QStringLiteral("Descendants of %s")), {person}));
    lblUp_->setText(Translate(QStringLiteral("Generations up")) + u':');
    lblDown_->setText(Translate(QStringLiteral("Generations down")) + u':');
    chkDaughters_->setText(Translate(QStringLiteral("Include daughters' children")));
    chkSpouses_->setText(Translate(QStringLiteral("Spouses")));
    chkDates_->setText(Translate(QStringLiteral("Dates")));
    chkPictures_->setText(Translate(QStringLiteral("Pictures")));
    lblPaper_->setText(Translate(QStringLiteral("Paper")) + u':');
    chkLandscape_->setText(Translate(QStringLiteral("Landscape")));
    chkTiles_->setText(Translate(QStringLiteral("Tiles with crop marks and an assembly sheet")));
    btExport_->setText(Translate(QStringLiteral("Export")) + QStringLiteral(".."));
    btPrint_->setText(Translate(QStringLiteral("Print")) + QStringLiteral(".."));
    buttons_->button(QDialogButtonBox::Close)->setText(Translate(QStringLiteral("&Close")));
}

void TfrmPosterDialog::TakeChartLook(bool leftToRight, TDateShown calendar, bool daughters) {
    leftToRight_ = leftToRight;
    calendar_ = calendar;
    chkDaughters_->setChecked(daughters);
}

TPosterOptions TfrmPosterDialog::Options() const {
    TPosterOptions o;
    o.PersonId = personId_;
    o.LeftToRight = leftToRight_;
    o.Calendar = calendar_;
    o.Up = spnUp_->value();
    o.Down = spnDown_->value();
    o.Daughters = chkDaughters_->isChecked();
    o.Spouses = chkSpouses_->isChecked();
    o.Dates = chkDates_->isChecked();
    o.Pictures = chkPictures_->isChecked();
    o.Paper = PaperOf(cmbPaper_->currentText());
    o.Landscape = chkLandscape_->isChecked();
    o.Tiles = chkTiles_->isChecked();
    return o;
}

bool TfrmPosterDialog::ExportTo(const QString& path) {
    TChart chart;
    QString error;
    bool done = false;
    {
        QProgressDialog progress(Translate(QStringLiteral("Drawing the poster..")),
                                 Translate(QStringLiteral("&Cancel")), 0, 1, this);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(500);
        const TBusyCursor busy;
        if (BuildPosterChart(chart, Options()) < 0)
            error = Translate(QStringLiteral("The tree holds no such person."));
        else
            done = ExportPoster(TPoster(chart, Options()), path, &error, Progress(progress));
    }
    if (!done)
        MsgError(Translate(QStringLiteral("The poster could not be exported.")) + u'|' + error);
    return done;
}

bool TfrmPosterDialog::Print() {
    const TPosterOptions options = Options();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(options.Paper));
    printer.setPageOrientation(options.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    TChart chart;
    TPosterOptions tiled = options;
    tiled.Tiles = true;
    bool done = false;
    {
        QProgressDialog progress(Translate(QStringLiteral("Drawing the poster..")),
                                 Translate(QStringLiteral("&Cancel")), 0, 1, this);
        progress.setWindowModality(Qt::WindowModal);
        const TBusyCursor busy;
        done = BuildPosterChart(chart, tiled) >= 0 &&
               PaintPosterTiles(TPoster(chart, tiled), printer, Progress(progress));
    }
    if (!done)
        MsgError(Translate(QStringLiteral("The poster could not be printed.")));
    return done;
}

} // namespace verdan
