#include "chart_window.h"

#include "chart/chart_export.h"
#include "chart/chart_file.h"
#include "chart/ui/chart_view.h"
#include "chart/ui/poster_dialog.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/file_dialogs.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "text/ui/menu_captions.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace verdan {

namespace {

QString ChartFilter() {
    return Translate(QStringLiteral("Verdan Chart")) + QStringLiteral(" (*.chart)");
}

QList<QPointer<TfrmChart_Window>>& Windows() {
    static QList<QPointer<TfrmChart_Window>> windows;
    return windows;
}

QPointer<TfrmChart_Window>& MainWindow() {
    static QPointer<TfrmChart_Window> window;
    return window;
}

// The save dialog with a chosen filter; the file gets that filter's extension when typed without one.
QString SaveDialog(const QString& proposed, const QString& filter, const QString& selectedFilter) {
    QFileDialog dialog(QApplication::activeWindow(), QString(), proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!selectedFilter.isEmpty())
        dialog.selectNameFilter(selectedFilter);
    auto suffixOf = [](const QString& nameFilter) {
        const qsizetype star = nameFilter.indexOf(QLatin1String("*."));
        return star < 0 ? QString() : nameFilter.mid(star + 2).section(u' ', 0, 0).section(u')', 0, 0);
    };
    dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& chosen) { dialog.setDefaultSuffix(suffixOf(chosen)); });
    PrepareFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString TreeFolder() {
    const QString tree = CurrentTreePath();
    return tree.isEmpty() ? QDir::homePath() : QFileInfo(tree).absolutePath();
}

} // namespace

TfrmChart_Window::TfrmChart_Window(QWidget* owner) : QMainWindow(owner, Qt::Window), view_(new Tfrm_Chart) {
    setCentralWidget(view_);
    // What the window sets of the chart's defaults.
    view_->Chart().Defaults.ShowPicture = false;
    view_->Chart().SetLinkType(TLinkType::Stick);
    view_->Chart().Modified = false;
    BuildMenus();
    BuildZoomBar();
    BuildLayoutBar();
    connect(view_, &Tfrm_Chart::CopyWanted, this, &TfrmChart_Window::CopyChart);
    ChooseOpenFile = [](const QString& filter, const QString& folder) {
        return OpenFileDialog(filter, folder);
    };
    ChooseSaveFile = SaveDialog;
    OpenDocument = [](const QString& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    zoomTimer_.setInterval(500);
    connect(&zoomTimer_, &QTimer::timeout, this, &TfrmChart_Window::ShowZoom);
    zoomTimer_.start();
    Windows() << this;
    TranslateTexts();
}

TfrmChart_Window::~TfrmChart_Window() {
    Windows().removeAll(this);
}

TfrmChart_Window* TfrmChart_Window::MainChartWindow(QWidget* owner) {
    if (!MainWindow())
        MainWindow() = new TfrmChart_Window(owner);
    return MainWindow();
}

TfrmChart_Window* TfrmChart_Window::ShowPersonChart(QWidget* owner, const QString& personId) {
    auto* window = new TfrmChart_Window(owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->ShowChartWindow();
    window->BuildPersonChart(personId);
    return window;
}

QList<TfrmChart_Window*> TfrmChart_Window::ChartWindows() {
    QList<TfrmChart_Window*> windows;
    for (const QPointer<TfrmChart_Window>& window : Windows())
        if (window)
            windows << window.data();
    return windows;
}

bool TfrmChart_Window::CloseAllChartWindows() {
    for (TfrmChart_Window* window : ChartWindows())
        if (window->isVisible() && !window->close())
            return false;
    return true;
}

void TfrmChart_Window::BuildMenus() {
    QMenuBar* bar = menuBar();
    mnuFile_ = bar->addMenu(QString());
    mnuNew_ = mnuFile_->addAction(Icon(u"document-new"), QString(), this, [this] { NewChart(); });
    mnuNew_->setShortcut(QKeySequence::New);
    mnuOpen_ = mnuFile_->addAction(Icon(u"document-open"), QString(), this, [this] { OpenChart(); });
    mnuOpen_->setShortcut(QKeySequence::Open);
    mnuFile_->addSeparator();
    mnuSave_ = mnuFile_->addAction(Icon(u"document-save"), QString(), this, [this] { SaveChart(); });
    mnuSave_->setShortcut(QKeySequence::Save);
    mnuSaveAs_ = mnuFile_->addAction(Icon(u"document-save-as"), QString(), this, [this] { SaveChartAs(); });
    mnuFile_->addSeparator();
    mnuSaveAsImage_ =
        mnuFile_->addAction(Icon(u"image-x-generic"), QString(), this, [this] { ExportImageCommand(); });
    mnuSaveAsPdf_ =
        mnuFile_->addAction(Icon(u"document-print"), QString(), this, [this] { ExportPdfCommand(); });
    mnuExportPoster_ = mnuFile_->addAction(QString(), this, [this] { ExportPosterCommand(); });
    mnuFile_->addSeparator();
    mnuClose_ = mnuFile_->addAction(Icon(u"window-close"), QString(), this, [this] { close(); });

    mnuEdit_ = bar->addMenu(QString());
    mnuSelectAll_ = mnuEdit_->addAction(QString(), this, [this] {
        view_->Chart().SelectAll();
        view_->Refresh();
    });
    mnuEdit_->addSeparator();
    mnuRemove_ = mnuEdit_->addAction(Icon(u"edit-delete"), QString(), this, [this] {
        view_->Chart().RemoveSelected();
        view_->Refresh();
    });
    mnuEdit_->addSeparator();
    mnuCopy_ = mnuEdit_->addAction(Icon(u"edit-copy"), QString(), this, [this] { CopyChart(); });
    mnuCopy_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    mnuEdit_->addSeparator();
    mnuAlign_ = mnuEdit_->addMenu(QString());
    for (int mode : {2, 1, 0, -1, 3, 4, 5}) {
        if (mode < 0) {
            mnuAlign_->addSeparator();
            continue;
        }
        QAction* entry = mnuAlign_->addAction(QString(), this, [this, mode] {
            view_->Chart().AlignSelected(mode);
            view_->Refresh();
        });
        entry->setData(mode);
        alignEntries_ << entry;
    }

    mnuOptions_ = bar->addMenu(QString());
    mnuDisplay_ = mnuOptions_->addMenu(QString());
    auto flag = [this](QAction*& entry, bool TShowOption::*field) {
        entry = mnuDisplay_->addAction(QString());
        entry->setCheckable(true);
        connect(entry, &QAction::toggled, this,
                [this, field](bool on) { view_->Chart().Defaults.*field = on; });
    };
    flag(mnuExpandedName_, &TShowOption::ShowFullName);
    flag(mnuDates_, &TShowOption::ShowDates);
    flag(mnuPicture_, &TShowOption::ShowPicture);
    mnuRootAtTop_ = mnuDisplay_->addAction(QString());
    mnuRootAtTop_->setCheckable(true);
    mnuRootAtTop_->setChecked(true);
    // The chart turns over at once: the root's descendants go above him, his ancestors below.
    connect(mnuRootAtTop_, &QAction::toggled, this, [this](bool on) {
        view_->Chart().SetRootAtTop(on);
        view_->Refresh();
    });
    mnuLeftToRight_ = mnuOptions_->addAction(QString());
    mnuLeftToRight_->setCheckable(true);
    // Reading order of the chart itself, whatever the interface's: flipping it mirrors the chart.
    connect(mnuLeftToRight_, &QAction::toggled, this, [this](bool on) {
        view_->Chart().SetLeftToRight(on);
        view_->Refresh();
    });
    mnuCalendar_ = mnuOptions_->addMenu(QString());
    auto* calendars = new QActionGroup(mnuCalendar_);
    for (TDateShown shown : {TDateShown::Hijri, TDateShown::Gregorian, TDateShown::Both}) {
        QAction* entry = mnuCalendar_->addAction(QString());
        entry->setCheckable(true);
        entry->setData(int(shown));
        calendars->addAction(entry);
        calendarEntries_ << entry;
        connect(entry, &QAction::triggered, this, [this, shown] {
            {
                const TBusyCursor busy;
                view_->Chart().SetDatesShown(shown);
            }
            view_->Refresh();
        });
    }
    connect(mnuCalendar_, &QMenu::aboutToShow, this, [this] {
        for (QAction* entry : std::as_const(calendarEntries_))
            entry->setChecked(entry->data().toInt() == int(view_->Chart().DatesShown()));
    });
    connect(mnuOptions_, &QMenu::aboutToShow, this, [this] {
        const QSignalBlocker block(mnuLeftToRight_), blockTop(mnuRootAtTop_);
        mnuLeftToRight_->setChecked(view_->Chart().LeftToRight());
        mnuRootAtTop_->setChecked(view_->Chart().Defaults.RootAtTop);
    });
    mnuLinks_ = mnuOptions_->addMenu(QString());
    auto* links = new QActionGroup(mnuLinks_);
    mnuLines_ = mnuLinks_->addAction(QString());
    mnuSticks_ = mnuLinks_->addAction(QString());
    for (QAction* entry : {mnuLines_, mnuSticks_}) {
        entry->setCheckable(true);
        links->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, entry] {
            view_->Chart().SetLinkType(entry == mnuLines_ ? TLinkType::Line : TLinkType::Stick);
            view_->Refresh();
        });
    }
    for (QMenu* menu : {mnuFile_, mnuEdit_, mnuAlign_})
        connect(menu, &QMenu::aboutToShow, this, &TfrmChart_Window::UpdateMenuStates);
    // The display checks show the chart's defaults; "Root at top" keeps its own check.
    connect(mnuDisplay_, &QMenu::aboutToShow, this, [this] {
        const TChartOption& d = view_->Chart().Defaults;
        const QSignalBlocker blockName(mnuExpandedName_), blockDates(mnuDates_), blockPicture(mnuPicture_);
        mnuExpandedName_->setChecked(d.ShowFullName);
        mnuDates_->setChecked(d.ShowDates);
        mnuPicture_->setChecked(d.ShowPicture);
    });
    connect(mnuLinks_, &QMenu::aboutToShow, this, [this] {
        mnuLines_->setChecked(view_->Chart().LinkType() == TLinkType::Line);
        mnuSticks_->setChecked(view_->Chart().LinkType() == TLinkType::Stick);
    });
}

void TfrmChart_Window::BuildZoomBar() {
    QToolBar* bar = addToolBar(QString());
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setContentsMargins(kWindowMargin, 0, kWindowMargin, 0);
    lblZoom_ = new QLabel;
    bar->addWidget(lblZoom_);
    cmbZoom_ = new QComboBox;
    lblZoom_->setBuddy(cmbZoom_);
    cmbZoom_->setEditable(true);
    cmbZoom_->setInsertPolicy(QComboBox::NoInsert);
    cmbZoom_->addItems({QStringLiteral("200 %"), QStringLiteral("150 %"), QStringLiteral("100 %"),
                        QStringLiteral("75 %"), QStringLiteral("50 %"), QStringLiteral("30 %"),
                        QStringLiteral("10 %")});
    cmbZoom_->setMinimumContentsLength(7);
    // Percentages read left to right in both languages.
    cmbZoom_->lineEdit()->setLayoutDirection(Qt::LeftToRight);
    bar->addWidget(cmbZoom_);
    connect(cmbZoom_, &QComboBox::activated, this, [this] { ApplyZoomText(); });
    connect(cmbZoom_->lineEdit(), &QLineEdit::returnPressed, this, &TfrmChart_Window::ApplyZoomText);
    ShowZoom();
}

void TfrmChart_Window::BuildLayoutBar() {
    QToolBar* bar = addToolBar(QString());
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setContentsMargins(kWindowMargin, 0, kWindowMargin, 0);
    auto spin = [&](QLabel*& label, QSpinBox*& box, int& field) {
        label = new QLabel;
        box = new QSpinBox;
        label->setBuddy(box);
        box->setRange(0, 200);
        box->setValue(field);
        bar->addWidget(label);
        bar->addWidget(box);
        connect(box, &QSpinBox::valueChanged, this, [this, &field](int value) {
            field = value;
            view_->BuildGenerations();
        });
    };
    spin(lblUp_, spnUp_, view_->GenerationsUp);
    spin(lblDown_, spnDown_, view_->GenerationsDown);
    chkDaughters_ = new QCheckBox;
    bar->addWidget(chkDaughters_);
    connect(chkDaughters_, &QCheckBox::toggled, this, [this](bool on) {
        view_->DaughtersChildren = on;
        view_->BuildGenerations();
    });
    bar->addSeparator();
    actFit_ = bar->addAction(Icon(u"zoom-fit-best"), QString(), view_, &Tfrm_Chart::FitToWindow);
    actArrange_ = bar->addAction(Icon(u"view-refresh"), QString(), this, [this] {
        {
            const TBusyCursor busy;
            view_->Chart().Arrange();
        }
        view_->Refresh();
    });
    for (QAction* action : {actFit_, actArrange_})
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addSeparator();
    txtFind_ = new QLineEdit;
    txtFind_->setClearButtonEnabled(true);
    txtFind_->setMinimumWidth(txtFind_->fontMetrics().averageCharWidth() * 24);
    bar->addWidget(txtFind_);
    connect(txtFind_, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(txtFind_, &QLineEdit::textChanged, this, [this] { found_ = -1; });
}

bool TfrmChart_Window::FindNext() {
    const QString text = txtFind_->text().trimmed();
    TChart& chart = view_->Chart();
    const int count = int(chart.Persons().size());
    if (text.isEmpty() || count == 0)
        return false;
    for (int step = 1; step <= count; ++step) {
        const int i = (std::max(found_, -1) + step) % count;
        const TPersonObject& item = chart.Person(i);
        if (item.DisplayName.contains(text, Qt::CaseInsensitive) ||
            item.ExpandedName.contains(text, Qt::CaseInsensitive)) {
            found_ = i;
            chart.DeselectAll();
            chart.SetPersonSelected(i, true);
            view_->CentreOn(i);
            view_->Refresh();
            return true;
        }
    }
    found_ = -1;
    return false;
}

void TfrmChart_Window::ApplyZoomText() {
    QString digits;
    for (QChar c : cmbZoom_->currentText())
        if (c.isDigit())
            digits += QChar(u'0' + c.digitValue());
    bool ok = false;
    const int percent = digits.left(6).toInt(&ok);
    if (ok && percent > 0)
        view_->SetZoom(float(percent) / 100.0f);
    view_->viewport()->update();
}

void TfrmChart_Window::ShowZoom() {
    if (cmbZoom_->hasFocus())
        return;
    // Rounded: after a step from 100 % the zoom is 0.94999.. in single precision, shown as 95 %.
    const QString text =
        QString::number(RoundChart(double(view_->Chart().Zoom()) * 100.0)) + QStringLiteral(" %");
    if (cmbZoom_->currentText() != text)
        cmbZoom_->setEditText(text);
}

void TfrmChart_Window::TranslateTexts() {
    setLayoutDirection(Local().Target.RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    mnuFile_->setTitle(MenuCaption("File"));
    mnuNew_->setText(MenuCaption("&New"));
    mnuOpen_->setText(MenuOpens("&Open"));
    mnuSave_->setText(MenuCaption("&Save"));
    mnuSaveAs_->setText(MenuOpens("Save &As"));
    mnuSaveAsImage_->setText(MenuOpens("Save As Image"));
    mnuSaveAsPdf_->setText(MenuOpens("Save As PDF File"));
    mnuExportPoster_->setText(MenuOpens("Export Poster"));
    mnuClose_->setText(MenuCaption("&Close"));
    mnuEdit_->setTitle(MenuCaption("Edit"));
    mnuSelectAll_->setText(MenuCaption("Select All"));
    mnuRemove_->setText(MenuOpens("Remove"));
    mnuCopy_->setText(MenuCaption("Copy"));
    mnuAlign_->setTitle(MenuCaption("Align"));
    const char* alignTexts[] = {"Right", "Center", "Left", "Top", "Middle", "Bottom"};
    for (qsizetype k = 0; k < alignEntries_.size(); ++k)
        alignEntries_[k]->setText(MenuCaption(alignTexts[k]));
    mnuOptions_->setTitle(MenuCaption("Options"));
    mnuDisplay_->setTitle(MenuCaption("Person Display Options"));
    mnuExpandedName_->setText(MenuCaption("Expanded Name"));
    mnuDates_->setText(MenuCaption("Dates"));
    mnuPicture_->setText(MenuCaption("Picture"));
    mnuRootAtTop_->setText(MenuCaption("Root at top"));
    mnuLeftToRight_->setText(MenuCaption("Left to Right"));
    mnuCalendar_->setTitle(MenuCaption("Dates in Boxes"));
    const char* calendarTexts[] = {"Hijri", "Gregorian", "Hijri and Gregorian"};
    for (qsizetype k = 0; k < calendarEntries_.size(); ++k)
        calendarEntries_[k]->setText(MenuCaption(calendarTexts[k]));
    lblUp_->setText(MenuCaption("Generations up") + QStringLiteral(": "));
    lblDown_->setText(MenuCaption("Generations down") + QStringLiteral(": "));
    chkDaughters_->setText(MenuCaption("Include daughters' children"));
    actFit_->setText(MenuCaption("Fit to Window"));
    actArrange_->setText(MenuCaption("Arrange"));
    txtFind_->setPlaceholderText(MenuCaption("Find a person"));
    txtFind_->setAccessibleName(txtFind_->placeholderText());
    mnuLinks_->setTitle(MenuCaption("Connecting Links"));
    mnuLines_->setText(MenuCaption("Lines"));
    mnuSticks_->setText(MenuCaption("Sticks"));
    lblZoom_->setText(MenuCaption("Zoom") + QStringLiteral(": "));
    cmbZoom_->setToolTip(MenuCaption("Zoom"));
    cmbZoom_->setAccessibleName(cmbZoom_->toolTip());
    GiveArabicMnemonics(menuBar());
    UpdateCaption();
}

void TfrmChart_Window::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QMainWindow::changeEvent(event);
}

void TfrmChart_Window::UpdateCaption() {
    const QString file = view_->Chart().ChartFileName;
    const QString name = file.isEmpty() ? QString() : Isolate(QFileInfo(file).completeBaseName());
    setWindowTitle(MenuCaption("Family Tree Chart") + QStringLiteral(" :: [") + name + u']');
}

void TfrmChart_Window::UpdateMenuStates() {
    const TChart& chart = view_->Chart();
    const bool any = !chart.Persons().isEmpty();
    mnuSave_->setEnabled(any);
    mnuSaveAs_->setEnabled(any);
    mnuSaveAsImage_->setEnabled(any);
    mnuRemove_->setEnabled(chart.SelectedPersonCount() >= 1);
    mnuAlign_->setEnabled(chart.SelectedPersonCount() >= 2);
    for (QAction* entry : std::as_const(alignEntries_))
        entry->setEnabled(chart.SelectedPersonCount() >= 2);
}

void TfrmChart_Window::ShowChartWindow() {
    TranslateTexts();
    if (!isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            int width = area.width() - area.width() / 4;
            int height = area.height() - area.height() / 5;
            const QPoint at = area.topLeft() + QPoint(20, 20);
            if (at.x() + width > area.right())
                width = area.width() - 40;
            if (at.y() + height > area.bottom())
                height = area.height() - 40;
            resize(width, height);
            move(at);
        }
    }
    show();
    raise();
    activateWindow();
    view_->Refresh();
    UpdateCaption();
}

void TfrmChart_Window::BuildPersonChart(const QString& personId) {
    view_->FullBuild(personId, QPoint(150, 150));
    view_->setFocus();
}

bool TfrmChart_Window::NeedsSaving() const {
    const TChart& chart = view_->Chart();
    return chart.Modified && !(chart.ChartFileName.isEmpty() && chart.Persons().isEmpty());
}

bool TfrmChart_Window::AskToSave(bool canCancel) {
    if (!NeedsSaving())
        return true;
    const QString question = Translate(QStringLiteral("Save the changes to the chart?"));
    const int answer = canCancel ? MsgYesNoCancel(question, Translate(QStringLiteral("Confirm")))
                                 : MsgYesNo(question, Translate(QStringLiteral("Confirm")));
    if (answer == IDYES)
        return SaveChart() && !view_->Chart().Modified;
    return answer == IDNO;
}

void TfrmChart_Window::ClearChart() {
    TChart& chart = view_->Chart();
    chart.Clear();
    chart.ChartFileName.clear();
    chart.Modified = false;
    view_->Refresh();
    UpdateCaption();
}

bool TfrmChart_Window::NewChart() {
    if (!AskToSave(true))
        return false;
    ClearChart();
    return true;
}

bool TfrmChart_Window::OpenChart() {
    if (!AskToSave(true))
        return false;
    const QString path = ChooseOpenFile(ChartFilter(), TreeFolder());
    if (path.isEmpty())
        return false;
    return OpenChartFile(path);
}

bool TfrmChart_Window::OpenChartFile(const QString& path) {
    bool ok = false;
    {
        const TBusyCursor busy;
        ok = ReadChart(view_->Chart(), path).Ok;
    }
    view_->Refresh();
    UpdateCaption();
    ShowZoom();
    return ok;
}

bool TfrmChart_Window::SaveChart() {
    TChart& chart = view_->Chart();
    if (chart.ChartFileName.isEmpty())
        return SaveChartAs();
    const bool saved = WriteChart(chart, chart.ChartFileName);
    UpdateCaption();
    return saved;
}

QString TfrmChart_Window::ProposedName(const QString& extension) const {
    const QString file = view_->Chart().ChartFileName;
    const QString folder = file.isEmpty() ? TreeFolder() : QFileInfo(file).absolutePath();
    const QString base = file.isEmpty() ? QStringLiteral("Chart1") : QFileInfo(file).completeBaseName();
    return QDir(folder).filePath(base + extension);
}

bool TfrmChart_Window::SaveChartAs() {
    const QString path = ChooseSaveFile(ProposedName(QStringLiteral(".chart")), ChartFilter(), QString());
    if (path.isEmpty())
        return false;
    TChart& chart = view_->Chart();
    const bool saved = WriteChart(chart, path);
    // The chart takes the new name only once it is written there.
    if (saved)
        chart.ChartFileName = path;
    UpdateCaption();
    return saved;
}

bool TfrmChart_Window::CloseChart(bool canCancel) {
    if (!AskToSave(canCancel))
        return false;
    ClearChart();
    hide();
    return true;
}

void TfrmChart_Window::closeEvent(QCloseEvent* event) {
    if (!CloseChart(true)) {
        event->ignore();
        return;
    }
    event->accept();
    QMainWindow::closeEvent(event);
}

bool TfrmChart_Window::ExportImageCommand() {
    const QString filter =
        Translate(QStringLiteral("All")) + QStringLiteral(" (*.gif *.png *.jpg *.bmp *.svg);;") +
        Translate(QStringLiteral("GIF Image")) + QStringLiteral(" (*.gif);;") +
        Translate(QStringLiteral("Portable Network Graphics")) + QStringLiteral(" (*.png);;") +
        Translate(QStringLiteral("JPEG Image File")) + QStringLiteral(" (*.jpg);;") +
        Translate(QStringLiteral("Bitmaps")) + QStringLiteral(" (*.bmp);;") +
        Translate(QStringLiteral("SVG Drawing")) + QStringLiteral(" (*.svg)");
    const QString jpeg = Translate(QStringLiteral("JPEG Image File")) + QStringLiteral(" (*.jpg)");
    const QString path = ChooseSaveFile(ProposedName(QStringLiteral(".jpg")), filter, jpeg);
    if (path.trimmed().isEmpty())
        return false;
    QString error;
    bool done = false;
    {
        const TBusyCursor busy;
        const QString suffix = QFileInfo(path).suffix().toLower();
        done = suffix == u"svg" ? ExportSvg(view_->Chart(), path, &error)
                                : ExportImage(view_->Chart(), path, suffix, &error);
    }
    view_->Refresh();
    if (!done)
        MsgError(Translate(QStringLiteral("The chart could not be exported.")) + u'|' + error);
    return done;
}

bool TfrmChart_Window::ExportPdfCommand() {
    const QString filter = Translate(QStringLiteral("PDF document")) + QStringLiteral(" (*.pdf)");
    const QString path = ChooseSaveFile(ProposedName(QStringLiteral(".pdf")), filter, QString());
    if (path.trimmed().isEmpty())
        return false;
    TPdfInfo info;
    info.Author = DefaultPdfAuthor();
    info.Title = QFileInfo(view_->Chart().ChartFileName).completeBaseName();
    QString error;
    bool done = false;
    {
        const TBusyCursor busy;
        done = ExportPdf(view_->Chart(), path, info, &error);
    }
    view_->Refresh();
    if (!done) {
        MsgError(Translate(QStringLiteral("The chart could not be exported.")) + u'|' + error);
        return false;
    }
    OpenDocument(path);
    return true;
}

void TfrmChart_Window::ExportPosterCommand() {
    const TChart& chart = view_->Chart();
    TfrmPosterDialog dialog(chart.IndexOf(chart.RootId) >= 0 ? chart.RootId : QString(), this);
    dialog.TakeChartLook(chart.LeftToRight(), chart.DatesShown(), view_->DaughtersChildren);
    dialog.exec();
}

bool TfrmChart_Window::CopyChart() {
    return view_->CopyToClipboard();
}

} // namespace verdan
