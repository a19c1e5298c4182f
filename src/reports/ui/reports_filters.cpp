// The reports window's popup menu, its filters and its find box.
#include "filter_dialog.h"
#include "reports/grid_model.h"
#include "reports_window.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/icons.h"
#include "zel_grid.h"

#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

namespace verdan {

namespace {

constexpr int kCaptionLength = 30;

QString T(const char* text) {
    return Translate(QString::fromLatin1(text));
}

} // namespace

void TfrmReports::ComposePopup(QMenu& menu) {
    const int col = g_->Col();
    const int row = g_->Row();
    const QString value = g_->Model().CellText(col, row);
    AddFilterEntries(menu, value, ShownText(col, row));
    menu.addSeparator();
    QAction* copy = menu.addAction(Icon(u"edit-copy"), T("Copy"), this, [this] {
        TBusyCursor busy;
        g_->CopyToClipboard();
    });
    copy->setShortcut(QKeySequence::Copy);
    QAction* all = menu.addAction(T("Select All"), g_, &TZelGrid::SelectAll);
    all->setShortcut(QKeySequence::SelectAll);
    menu.addAction(Icon(sortDescending_ ? u"view-sort-ascending" : u"view-sort-descending"), T("Sort"), this,
                   &TfrmReports::mnuSortClick);
}

void TfrmReports::AddFilterEntries(QMenu& menu, const QString& value, const QString& shown) {
    // Filters need a report: a grid without one has nothing to filter.
    if (!kind_)
        return;
    auto quick = [this, value](const char* kind, quint8 operation) {
        return [this, value, kind, operation] {
            FilterCurrentColumn(TFilter{QString::fromLatin1(kind), operation, value, QString()});
        };
    };
    // The captions show the cell as the list shows it; the filter compares what the tree holds.
    if (IsFilterNumber(value)) {
        QMenu* custom = menu.addMenu(Icon(u"view-filter"), T("Number Filter"));
        custom->addAction(T("Equals") + QStringLiteral("..."), this,
                          [this] { CustomFilter("%s is equal to", "N", foEquals); });
        custom->addAction(T("Dose Not Equal") + QStringLiteral("..."), this,
                          [this] { CustomFilter("%s is not equal to", "N", foDiffers); });
        custom->addAction(T("Lees Than") + QStringLiteral("..."), this,
                          [this] { CustomFilter("%s is less than or equal to", "N", foAtMost); });
        custom->addAction(T("Greater Than") + QStringLiteral("..."), this,
                          [this] { CustomFilter("%s is greater than or equal to", "N", foAtLeast); });
        custom->addAction(T("Between") + QStringLiteral("..."), this,
                          [this] { CustomFilter(nullptr, "N", foBetween); });
        const QString number = IsolateLtr(shown);
        menu.addAction(T("Equals") + u' ' + number, this, quick("N", foEquals));
        menu.addAction(T("Dose Not Equal") + u' ' + number, this, quick("N", foDiffers));
        menu.addAction(T("Lees Than or Equal To") + u' ' + number, this, quick("N", foAtMost));
        menu.addAction(T("Greater Than or Equal To") + u' ' + number, this, quick("N", foAtLeast));
        return;
    }
    QString caption =
        shown.size() > kCaptionLength ? shown.left(kCaptionLength) + QStringLiteral("...") : shown;
    caption = Isolate(u'"' + caption + u'"');
    QMenu* custom = menu.addMenu(Icon(u"view-filter"), T("Text Filter"));
    custom->addAction(T("Equals") + QStringLiteral("..."), this,
                      [this] { CustomFilter("%s is equal to", "s", foEquals); });
    custom->addAction(T("Dose Not Equal") + QStringLiteral("..."), this,
                      [this] { CustomFilter("%s is not equal to", "s", foDiffers); });
    custom->addAction(T("Contains") + QStringLiteral("..."), this,
                      [this] { CustomFilter("%s is contains", "s", foContains); });
    custom->addAction(T("Dose Not Contain") + QStringLiteral("..."), this,
                      [this] { CustomFilter("%s dose not contain", "s", foNotContains); });
    menu.addAction(T("Equals") + u' ' + caption, this, quick("s", foEquals));
    menu.addAction(T("Dose Not Equal") + u' ' + caption, this, quick("s", foDiffers));
    menu.addAction(T("Contains") + u' ' + caption, this, quick("s", foContains));
    menu.addAction(T("Dose Not Contain") + u' ' + caption, this, quick("s", foNotContains));
}

void TfrmReports::CustomFilter(const char* pattern, const char* kind, quint8 operation) {
    const QString title = g_->Model().CellText(g_->Col(), 0);
    const QString prompt =
        pattern ? FillPattern(T(pattern), {title}) + QStringLiteral(" :")
                : T("Enter the smallest number and the greatest number") + QStringLiteral(" :");
    if (!frmFilter_->Ask(prompt, operation == foBetween))
        return;
    FilterCurrentColumn(
        TFilter{QString::fromLatin1(kind), operation, frmFilter_->Value1(), frmFilter_->Value2()});
}

void TfrmReports::FilterCurrentColumn(const TFilter& filter) {
    if (!kind_ || !WaitForFill())
        return;
    savedFilter_ = filter;
    filterColumnTitle_ = g_->Model().CellText(g_->Col(), 0);
    ApplyFilter(filter, g_->Col());
}

void TfrmReports::ApplyFilter(const TFilter& filter, int column) {
    if (!WaitForFill())
        return;
    {
        TBusyCursor busy;
        const int col = g_->Col();
        verdan::ApplyFilter(g_->Model(), filter, column);
        g_->SetCurrentCell(col, TZelGridModel::kFixedRows);
    }
    SetFilterState(true);
}

void TfrmReports::SetFilterState(bool filtered) {
    const QSignalBlocker quiet(bt_Filter_);
    bt_Filter_->setEnabled(true);
    bt_Filter_->setChecked(filtered);
    bt_Filter_->setIcon(Icon(filtered ? u"view-filter" : u"edit-clear"));
    if (filtered) {
        bt_Filter_->setText(T("Filtered"));
        bt_Filter_->setToolTip(T("Click to remove filter from the records"));
    } else {
        bt_Filter_->setText(T("Unfiltered"));
        bt_Filter_->setToolTip(T("Click to filter the records by using the last saved filter"));
    }
}

void TfrmReports::bt_FilterClick(bool down) {
    // The button works only on a report that was made.
    if (!currentReport_ || !kind_) {
        SetFilterState(false);
        return;
    }
    if (!WaitForFill()) {
        SetFilterState(!down);
        return;
    }
    if (!down) {
        // Every row comes back without reading the tree again, in the order the last sort gave.
        {
            TBusyCursor busy;
            const int col = g_->Col();
            if (!g_->Model().SetRowOrder(allRows_))
                currentReport_();
            g_->SetCurrentCell(col, TZelGridModel::kFixedRows);
        }
        if (!Filling())
            ReapplySort();
        SetFilterState(false);
        return;
    }
    // A title that is no longer there (the interface language changed) finds no column to filter.
    const int column = filterColumnTitle_.isEmpty() ? -1 : g_->ColumnIndexOf(filterColumnTitle_);
    if (!savedFilter_ || column < 1) {
        SetFilterState(false);
        return;
    }
    ApplyFilter(*savedFilter_, column);
}

void TfrmReports::ReadReportAgain() {
    if (!currentReport_ || !kind_)
        return;
    const bool filtered = bt_Filter_->isChecked();
    const std::optional<TFilter> filter = savedFilter_;
    const QString title = filterColumnTitle_;
    const std::optional<std::pair<int, bool>> sort = lastSort_;
    currentReport_();
    // The filter and the sort come back once the list is read whole.
    afterFill_ = [this, filtered, filter, title, sort] {
        savedFilter_ = filter;
        filterColumnTitle_ = title;
        const int column = title.isEmpty() ? -1 : g_->ColumnIndexOf(title);
        if (filtered && filter && column >= 1)
            ApplyFilter(*filter, column);
        else
            SetFilterState(false);
        lastSort_ = sort;
        ReapplySort();
        bt_Filter_->setEnabled(savedFilter_.has_value());
    };
    if (!Filling())
        FinishFill();
}

void TfrmReports::FindNext(const QString& text) {
    findTimer_->stop();
    finder_.reset();
    if (text.isEmpty() || !WaitForFill())
        return;
    finder_ = std::make_unique<TCellFinder>([this](int col, int row) { return ShownText(col, row); },
                                            g_->ColCount(), g_->RowCount(), g_->Col(), g_->Row(), text,
                                            [this](int col) { return g_->ColWidth(col) > 0; });
    FindSome();
}

bool TfrmReports::Finding() const {
    return finder_ != nullptr;
}

void TfrmReports::FindSome() {
    // A search of many rows goes on between the window's other work; a new text starts it afresh.
    constexpr int kSliceMs = 40;
    if (!finder_ || !finder_->Step(kSliceMs)) {
        if (finder_)
            findTimer_->start();
        return;
    }
    findTimer_->stop();
    const QPoint hit = finder_->Hit();
    finder_.reset();
    ShowFound(hit);
}

void TfrmReports::ShowFound(const QPoint& hit) {
    if (hit.x() < 0)
        return;
    g_->SetCurrentCell(hit.x(), hit.y());
    g_->scrollTo(g_->Model().index(hit.y() - TZelGridModel::kFixedRows, hit.x() - TZelGridModel::kFixedCols),
                 QAbstractItemView::PositionAtCenter);
}

} // namespace verdan
