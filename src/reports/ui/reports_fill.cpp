// The reports window's lists read in the background, and the columns they show.
#include "column_chooser.h"
#include "reports/name_cache.h"
#include "reports/report_print.h"
#include "reports_window.h"
#include "text/localisation.h"
#include "text/user_options.h"
#include "work_progress.h"
#include "zel_grid.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <climits>

namespace verdan {

namespace {

// A slice of work between two turns of the event loop: short enough that the window answers at once.
// Putting the rows read into the grid takes about as long as reading them: reading takes half a slice.
constexpr int kSliceMs = 24;
constexpr int kReadMs = kSliceMs / 2;
// The first slices run at the click, until the first rows are in or this much time passed.
constexpr int kFirstScreenMs = 150;
constexpr int kPersonRowHeight = 20;
// A column this narrow on the screen is hidden: it would print or export as nothing.
constexpr int kNarrowestShown = 5;

QString T(const char* text) {
    return Translate(QString::fromLatin1(text));
}

} // namespace

int TfrmReports::TFill::Done() const {
    return namesRead ? (reader ? reader->Done() : 0) : names.Done();
}

int TfrmReports::TFill::Total() const {
    return namesRead ? (reader ? reader->Total() : 0) : names.Total();
}

bool TfrmReports::Filling() const {
    return fill_ && fill_->kind.has_value();
}

bool TfrmReports::Reading() const {
    return fill_ != nullptr;
}

void TfrmReports::StartFill(std::optional<TReportKind> kind) {
    if (!fill_)
        fill_ = std::make_unique<TFill>();
    if (kind) {
        fill_->kind = kind;
        fill_->reader.reset();
    }
    fillTimer_->start();
}

void TfrmReports::BuildReport(TReportKind kind) {
    // A list being read gives way; names being read go on.
    if (Filling())
        StopFill();
    StartFill(kind);
    // The first rows show at once; the rest follow between the window's other work.
    QElapsedTimer clock;
    clock.start();
    while (Filling() && !fill_->shown && clock.elapsed() < kFirstScreenMs)
        FillStep();
}

void TfrmReports::ShowFillProgress(const QString& label, int done, int total) {
    fillLabel_->setText(label);
    fillBar_->setMaximum(std::max(total, 1));
    fillBar_->setValue(std::min(done, std::max(total, 1)));
    fillLabel_->show();
    fillBar_->show();
}

void TfrmReports::FillStep() {
    if (!fill_) {
        fillTimer_->stop();
        return;
    }
    TFill& fill = *fill_;
    if (!fill.namesRead) {
        if (!fill.names.Step(kSliceMs)) {
            ShowFillProgress(T("Reading the names"), fill.names.Done(), fill.names.Total());
            return;
        }
        fill.namesRead = true;
        if (!fill.kind)
            StopFill();
        return;
    }
    const TReportKind kind = *fill.kind;
    if (!fill.reader) {
        fill.reader = std::make_unique<TReportReader>(kind);
        // No tree or a query that cannot run: the grid keeps what it showed.
        if (!fill.reader->Start()) {
            StopFill();
            return;
        }
        ++tableReads_;
        kind_ = kind;
        allRows_ = {};
        lastSort_.reset();
        g_->ClearSortMark();
        const QString caption = Translate(ReportCaptionSource(kind));
        if (kind == TReportKind::Persons)
            g_->SetDefaultRowHeight(kPersonRowHeight);
        FillReportGrid(g_->Model(), kind, {fill.reader->Header()});
        ExportReportCellsAsShown(g_->Model(), kind);
        g_->SetCaption(caption);
        lbl_Title_->setText(caption);
        g_->SetAutoRowNumber(true);
        g_->SetAllowSorting(true);
        QList<int> widths = ReportColumnWidths(kind);
        // The row numbers take the width of the largest, known before the rows come.
        if (kind == TReportKind::Persons)
            widths[0] = g_->fontMetrics().horizontalAdvance(QString::number(fill.reader->Total()) +
                                                            QStringLiteral("  ")) +
                        8;
        g_->SetColWidths(widths);
        QList<int> columns = DefaultReportColumns(kind);
        for (const TReportColumnChoice& choice : Options().ReportColumns)
            if (choice.Report == ReportKindName(kind) &&
                !ReportColumnsOfFields(kind, choice.Fields).isEmpty())
                columns = ReportColumnsOfFields(kind, choice.Fields);
        ApplyColumns(columns);
    }
    AppendReportRows(g_->Model(), fill.reader->Read(kReadMs, FillSliceRows));
    // Column 1 holds the hidden identifier: the cursor starts on the name.
    if (!fill.shown) {
        fill.shown = true;
        g_->SetCurrentCell(ReportColumnOfField(kind, QStringLiteral("Name1")), 1);
    }
    if (fill.reader->AtEnd())
        FinishFill();
    else
        ShowFillProgress(T("Reading the list"), fill.reader->Done(), fill.reader->Total());
}

void TfrmReports::FinishFill() {
    allRows_ = g_->Model().RowOrder();
    StopFill();
    if (afterFill_) {
        const std::function<void()> then = std::move(afterFill_);
        afterFill_ = nullptr;
        then();
    }
}

void TfrmReports::StopFill() {
    fillTimer_->stop();
    fill_.reset();
    fillLabel_->hide();
    fillBar_->hide();
}

bool TfrmReports::WaitForFill() {
    if (!Filling())
        return true;
    TWorkProgress progress(this, T("Reading the list"));
    while (Filling()) {
        FillStep();
        if (Filling() && !progress.Step(fill_->Done(), fill_->Total()))
            return false;
    }
    return true;
}

QList<int> TfrmReports::ShownColumns() const {
    QList<int> shown;
    const QList<TReportColumn> columns = kind_ ? ReportColumns(*kind_) : QList<TReportColumn>();
    for (const int col : g_->VisualColumns()) {
        const bool inner = col <= columns.size() && columns[col - 1].inner;
        if (!inner && g_->ColWidth(col) > kNarrowestShown)
            shown << col;
    }
    return shown;
}

void TfrmReports::SetShownColumns(const QList<int>& columns) {
    ApplyColumns(columns);
    RememberColumns();
}

void TfrmReports::ApplyColumns(const QList<int>& columns) {
    if (!kind_)
        return;
    applyingColumns_ = true;
    const QList<TReportColumn>& all = ReportColumns(*kind_);
    QList<int> order;
    for (const int col : columns)
        if (col >= 1 && col <= all.size() && !all[col - 1].inner && !order.contains(col))
            order << col;
    for (int col = 1; col <= all.size(); ++col) {
        const bool shown = order.contains(col);
        if (!shown)
            g_->SetColWidth(col, 0);
        else if (g_->ColWidth(col) <= kNarrowestShown)
            g_->SetColWidth(col, std::max(all[col - 1].width, 100));
        if (!shown)
            order << col;
    }
    // The chosen columns stand first, in their order; the hidden ones keep theirs after them.
    QHeaderView* header = g_->horizontalHeader();
    for (int visual = 0; visual < order.size(); ++visual) {
        const int logical = order[visual] - TZelGridModel::kFixedCols;
        if (logical < header->count() && header->visualIndex(logical) != visual)
            header->moveSection(header->visualIndex(logical), visual);
    }
    applyingColumns_ = false;
}

void TfrmReports::RememberColumns() {
    if (!kind_)
        return;
    const TReportColumnChoice choice{ReportKindName(*kind_), ReportColumnFields(*kind_, ShownColumns())};
    QList<TReportColumnChoice>& choices = Options().ReportColumns;
    const auto known = std::find_if(choices.begin(), choices.end(), [&](const TReportColumnChoice& each) {
        return each.Report == choice.Report;
    });
    if (known != choices.end())
        *known = choice;
    else
        choices << choice;
    SaveOptions();
}

void TfrmReports::ColumnResized(int section, int, int newSize) {
    // A column made too narrow to read is hidden, so that the screen, the paper and the files agree.
    if (applyingColumns_ || !kind_ || newSize <= 0 || newSize > kNarrowestShown)
        return;
    applyingColumns_ = true;
    g_->SetColWidth(section + TZelGridModel::kFixedCols, 0);
    applyingColumns_ = false;
    RememberColumns();
}

void TfrmReports::mnuColumnsClick() {
    if (!kind_)
        return;
    const QList<TReportColumn>& all = ReportColumns(*kind_);
    QList<TfrmColumns::TEntry> entries;
    for (const int col : g_->VisualColumns())
        if (col <= all.size() && !all[col - 1].inner)
            entries << TfrmColumns::TEntry{col, ReportColumnTitle(all[col - 1])};
    if (frmColumns_->Ask(entries, ShownColumns()))
        SetShownColumns(frmColumns_->Chosen());
}

} // namespace verdan
