#include "page_setup_dialog.h"

#include "grid_print.h"
#include "text/localisation.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace verdan {

namespace {

QString T(const char* text) {
    return Translate(QString::fromLatin1(text));
}

QSpinBox* Number(int most) {
    auto* box = new QSpinBox;
    box->setRange(0, most);
    return box;
}

// The papers the default printer offers, or the common ones when there is no printer.
QList<QPageSize> Papers() {
    QList<QPageSize> papers = QPrinterInfo::defaultPrinter().supportedPageSizes();
    if (papers.isEmpty())
        for (const auto id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B5, QPageSize::Letter,
                              QPageSize::Legal})
            papers << QPageSize(id);
    return papers;
}

} // namespace

QList<int> TfrmZelSetup::Qualities() {
    return {1200, 600, 300, 150, 75};
}

TfrmZelSetup::TfrmZelSetup(TZelGridPrintL& print, QWidget* parent) : QDialog(parent), print_(print) {
    setObjectName(QStringLiteral("TfrmZelSetup"));
    setWindowTitle(T("Page Setup"));
    setLayoutDirection(print_.BiDiMode());

    auto* captions = new TCaptionColumn(this);
    auto caption = [](const char* text) {
        return new QLabel(T(text) + u':');
    };

    auto* page = new QWidget;
    auto* pageForm = new TFormGrid(page, captions);
    txtZoom_ = Number(400);
    txtZoom_->setMinimum(10);
    txtZoom_->setSuffix(QStringLiteral(" %"));
    cmbPaper_ = new QComboBox;
    for (const QPageSize& paper : Papers())
        cmbPaper_->addItem(paper.name(), QVariant::fromValue(paper.id()));
    cmbQuality_ = new QComboBox;
    for (int dpi : Qualities())
        cmbQuality_->addItem(FillPattern(T("%# dots per inch"), {QString::number(dpi)}), dpi);
    rbPortrait_ = new QRadioButton(T("Portrait"));
    rbLandscape_ = new QRadioButton(T("Landscape"));
    auto* printerSetup = new QPushButton(Icon(u"document-print"), T("Printer Setup") + QStringLiteral("..."));
    chkFit_ = new QCheckBox(T("Fit to page width"));
    // A fitted zoom is worked out for every print; the box shows the last one.
    connect(chkFit_, &QCheckBox::toggled, txtZoom_, &QWidget::setDisabled);
    pageForm->AddRow(caption("Print zoom"), txtZoom_, {chkFit_});
    pageForm->AddRow(caption("Paper size"), cmbPaper_);
    pageForm->AddRow(caption("Print quality"), cmbQuality_);
    pageForm->AddRow(caption("Orientation"), rbPortrait_, {rbLandscape_});
    pageForm->AddRow(nullptr, printerSetup);

    auto* marginsPage = new QWidget;
    auto* marginsForm = new TFormGrid(marginsPage, captions);
    const char* sides[4] = {"Top margin", "Bottom margin", "Left margin", "Right margin"};
    for (int i = 0; i < 4; ++i) {
        margins_[i] = Number(1000);
        margins_[i]->setSuffix(u' ' + T("px"));
        marginsForm->AddRow(caption(sides[i]), margins_[i]);
    }
    const char* parts[5] = {"Header height", "Title height", "Upper text height", "Lower text height",
                            "Footer height"};
    for (int i = 0; i < 5; ++i) {
        heights_[i] = Number(1000);
        heights_[i]->setSuffix(u' ' + T("px"));
        marginsForm->AddRow(caption(parts[i]), heights_[i]);
    }

    auto* textsPage = new QWidget;
    auto* textsForm = new TFormGrid(textsPage, captions);
    txtTitle_ = new QLineEdit;
    txtHeader_ = new QLineEdit;
    txtFooter_ = new QLineEdit;
    cmbTitleAlign_ = AlignmentBox();
    cmbHeaderAlign_ = AlignmentBox();
    cmbFooterAlign_ = AlignmentBox();
    for (QComboBox*& box : sections_)
        box = SectionBox();
    textsForm->AddRow(caption("Title"), txtTitle_, {cmbTitleAlign_});
    textsForm->AddRow(caption("Header"), txtHeader_, {cmbHeaderAlign_});
    textsForm->AddRow(caption("Header sections"), sections_[0], {sections_[1], sections_[2]});
    textsForm->AddRow(caption("Footer"), txtFooter_, {cmbFooterAlign_});
    txtUpper_ = new QPlainTextEdit;
    txtLower_ = new QPlainTextEdit;
    txtUpper_->setMaximumHeight(70);
    txtLower_->setMaximumHeight(70);
    textsForm->AddRow(caption("Text above the table"), txtUpper_);
    textsForm->AddRow(caption("Text below the table"), txtLower_);
    captions->Update();

    auto* tabs = new QTabWidget;
    tabs->addTab(page, Icon(u"document-page-setup"), T("Page"));
    tabs->addTab(marginsPage, T("Margins"));
    tabs->addTab(textsPage, T("Texts"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(T("Ok"));
    buttons->button(QDialogButtonBox::Cancel)->setText(T("Cancel"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    column->addWidget(tabs);
    column->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmZelSetup::btOkClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(printerSetup, &QPushButton::clicked, this, &TfrmZelSetup::btPrinterSetupClick);
    Load();
}

QComboBox* TfrmZelSetup::AlignmentBox() {
    auto* box = new QComboBox;
    box->addItems({T("Left"), T("Center"), T("Right")});
    return box;
}

QComboBox* TfrmZelSetup::SectionBox() {
    auto* box = new QComboBox;
    box->addItems({T("Text"), T("Page Number"), T("Date"), T("Time")});
    return box;
}

TPrintAlignment TfrmZelSetup::FromVisual(int index) const {
    const bool mirrored = print_.BiDiMode() == Qt::RightToLeft;
    if (index == 1)
        return TPrintAlignment::Center;
    return (index == 0) != mirrored ? TPrintAlignment::Left : TPrintAlignment::Right;
}

int TfrmZelSetup::ToVisual(TPrintAlignment align) const {
    const bool mirrored = print_.BiDiMode() == Qt::RightToLeft;
    if (align == TPrintAlignment::Center)
        return 1;
    return (align == TPrintAlignment::Left) != mirrored ? 0 : 2;
}

void TfrmZelSetup::Load() {
    const TGridPrintSettings& s = print_.Settings();
    txtZoom_->setValue(static_cast<int>(std::lround(s.PrintZoom * 100)));
    chkFit_->setChecked(s.FitToWidth);
    int paper = cmbPaper_->findData(QVariant::fromValue(s.Paper.id()));
    if (paper < 0) {
        cmbPaper_->addItem(s.Paper.name(), QVariant::fromValue(s.Paper.id()));
        paper = cmbPaper_->count() - 1;
    }
    cmbPaper_->setCurrentIndex(paper);
    cmbQuality_->setCurrentIndex(std::max(0, cmbQuality_->findData(s.Quality)));
    (s.Orientation == TPrintOrientation::Portrait ? rbPortrait_ : rbLandscape_)->setChecked(true);
    const int margins[4] = {s.Margins.Top, s.Margins.Bottom, s.Margins.Left, s.Margins.Right};
    for (int i = 0; i < 4; ++i)
        margins_[i]->setValue(margins[i]);
    const int heights[5] = {s.Header.Height, s.Title.Height, s.TextUpper.Height, s.TextLower.Height,
                            s.Footer.Height};
    for (int i = 0; i < 5; ++i)
        heights_[i]->setValue(heights[i]);
    txtTitle_->setText(s.Title.Caption);
    txtHeader_->setText(s.Header.Caption);
    txtFooter_->setText(s.Footer.Caption);
    cmbTitleAlign_->setCurrentIndex(ToVisual(s.Title.Alignment));
    cmbHeaderAlign_->setCurrentIndex(ToVisual(s.Header.Alignment));
    cmbFooterAlign_->setCurrentIndex(ToVisual(s.Footer.Alignment));
    const TPrintSection* sections[3] = {&s.Header.LeftSection, &s.Header.MiddleSection,
                                        &s.Header.RightSection};
    for (int i = 0; i < 3; ++i)
        sections_[i]->setCurrentIndex(static_cast<int>(sections[i]->CaptionType));
    txtUpper_->setPlainText(s.TextUpper.Text.join(u'\n'));
    txtLower_->setPlainText(s.TextLower.Text.join(u'\n'));
}

void TfrmZelSetup::btOkClick() {
    TGridPrintSettings& s = print_.Settings();
    s.PrintZoom = txtZoom_->value() / 100.0;
    s.FitToWidth = chkFit_->isChecked();
    s.Paper = QPageSize(cmbPaper_->currentData().value<QPageSize::PageSizeId>());
    s.Quality = cmbQuality_->currentData().toInt();
    s.Orientation = rbPortrait_->isChecked() ? TPrintOrientation::Portrait : TPrintOrientation::Landscape;
    s.Margins =
        TPrintMargins{margins_[0]->value(), margins_[1]->value(), margins_[2]->value(), margins_[3]->value()};
    s.Header.Height = heights_[0]->value();
    s.Title.Height = heights_[1]->value();
    s.TextUpper.Height = heights_[2]->value();
    s.TextLower.Height = heights_[3]->value();
    s.Footer.Height = heights_[4]->value();
    s.Title.Caption = txtTitle_->text();
    s.Header.Caption = txtHeader_->text();
    s.Footer.Caption = txtFooter_->text();
    s.Title.Alignment = FromVisual(cmbTitleAlign_->currentIndex());
    s.Header.Alignment = FromVisual(cmbHeaderAlign_->currentIndex());
    s.Footer.Alignment = FromVisual(cmbFooterAlign_->currentIndex());
    TPrintSection* sections[3] = {&s.Header.LeftSection, &s.Header.MiddleSection, &s.Header.RightSection};
    for (int i = 0; i < 3; ++i)
        sections[i]->CaptionType = static_cast<TCaptionType>(sections_[i]->currentIndex());
    const QString upper = txtUpper_->toPlainText();
    const QString lower = txtLower_->toPlainText();
    s.TextUpper.Text = upper.isEmpty() ? QStringList() : upper.split(u'\n');
    s.TextLower.Text = lower.isEmpty() ? QStringList() : lower.split(u'\n');
    accept();
}

void TfrmZelSetup::btPrinterSetupClick() {
    QPrinter printer(QPrinter::HighResolution);
    const QPageSize paper(cmbPaper_->currentData().value<QPageSize::PageSizeId>());
    printer.setPageLayout(QPageLayout(
        paper, rbPortrait_->isChecked() ? QPageLayout::Portrait : QPageLayout::Landscape, QMarginsF()));
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QPageLayout chosen = printer.pageLayout();
    (chosen.orientation() == QPageLayout::Portrait ? rbPortrait_ : rbLandscape_)->setChecked(true);
    int index = cmbPaper_->findData(QVariant::fromValue(chosen.pageSize().id()));
    if (index < 0) {
        cmbPaper_->addItem(chosen.pageSize().name(), QVariant::fromValue(chosen.pageSize().id()));
        index = cmbPaper_->count() - 1;
    }
    cmbPaper_->setCurrentIndex(index);
    const int quality = cmbQuality_->findData(printer.resolution());
    if (quality >= 0)
        cmbQuality_->setCurrentIndex(quality);
}

} // namespace verdan
