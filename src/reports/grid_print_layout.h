#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace verdan {

// Page layout of a printed grid: a header band, a title, an upper text, the table (its title row
// repeated on every page), a lower text and a footer band inside the page margins. Every length is in
// layout units, pixels of a 96 dpi screen, so one layout serves the preview, the printer and PDF files:
// a target only scales the drawing. Pagination measures every row once and drawing uses those heights,
// so each data row lands on exactly one page.
//
// No column is ever left out: columns that do not fit across the paper continue on the following
// pages, each of those starting again with the grid's name column, so that every printed row can be
// told apart. The pages of one set of rows come one after another, first columns first.

enum class TPrintAlignment { Left, Right, Center };
enum class TCaptionType { Text, PageNumber, Date, Time };
enum class TPrintOrientation { Undefined, Portrait, Landscape };

enum TGPixOption : unsigned {
    goFixedVertLine = 1,
    goFixedHorzLine = 2,
    goVertLine = 4,
    goHorzLine = 8,
    goAdjustRowHeight = 16,
    goGridFrame = 32,
    goAllOptions = 63,
};

struct TPrintSection {
    TCaptionType CaptionType = TCaptionType::Text;
    QString Caption;
};

// A band with a caption shows it across the page; without one it shows its three sections.
struct TPrintBand {
    QString Caption;
    TPrintAlignment Alignment = TPrintAlignment::Center;
    QFont Font;
    int Height = 20;
    TPrintSection LeftSection;
    TPrintSection MiddleSection;
    TPrintSection RightSection;
};

struct TPrintTitle {
    QString Caption;
    TPrintAlignment Alignment = TPrintAlignment::Center;
    QColor ShadowColor; // invalid: no shadow
    QFont Font;
    int Height = 32;
};

struct TPrintText {
    QStringList Text;
    TPrintAlignment Alignment = TPrintAlignment::Left;
    QFont Font;
    int Height = 0;
};

struct TPrintMargins {
    int Top = 75;
    int Bottom = 75;
    int Left = 75;
    int Right = 75;
    bool operator==(const TPrintMargins&) const = default;
};

struct TGridPrintSettings {
    TGridPrintSettings();
    TPrintMargins Margins;
    TPrintTitle Title;
    TPrintBand Header;
    TPrintBand Footer;
    TPrintText TextUpper;
    TPrintText TextLower;
    unsigned Options = goAllOptions;
    // Scale of everything printed; pagination takes it into account, so a smaller zoom fits more.
    double PrintZoom = 1.0;
    // Sets the print zoom so that the columns fit across the paper, never smaller than kSmallestFitZoom
    // nor larger than 1; the columns that still do not fit continue on the following pages.
    bool FitToWidth = false;
    // Sizes every column to its texts instead of taking its width on the screen: a column grows until
    // its widest text fits on one line (up to kWidestContentColumn), and shrinks to it.
    bool ContentWidths = false;
    static constexpr double kSmallestFitZoom = 0.7;
    static constexpr int kWidestContentColumn = 320;
    TPrintOrientation Orientation = TPrintOrientation::Undefined;
    QPageSize Paper = QPageSize(QPageSize::A4);
    // Dots per inch asked of the printer.
    int Quality = 600;
};

// How one cell is printed.
struct TPrintCell {
    QString text;
    TPrintAlignment align = TPrintAlignment::Left; // Left means the leading side of the reading order
    bool leftToRight = false;                      // read left to right even in a right-to-left grid
    bool centre = false;
};

// What is printed: the cells of a grid as it shows them. Cells are addressed as (column, row) over the
// whole grid, row 0 being the title row; data columns start at 1.
struct TGridPrintSource {
    int colCount = 0;
    int rowCount = 0;
    std::function<TPrintCell(int col, int row)> cell;
    // Widths by grid column; a column of 5 pixels or less is not printed.
    QList<int> colWidths;
    // The columns in the order they are printed; empty means grid order.
    QList<int> order;
    // The column that starts every page of columns that did not fit on the first: the name that tells
    // the rows apart. -1: the first printed column.
    int repeatColumn = -1;
    bool rightToLeft = false;
    QFont font;
    QColor fixedColor = QColor(240, 240, 240);
    QColor backColor = Qt::white;
};

// Text measurement for pagination; the real one measures with the fonts' metrics, tests use a fake.
class TPrintMeasurer {
public:
    virtual ~TPrintMeasurer() = default;
    // The height of one line of the font.
    virtual double LineHeight(const QFont& font) const = 0;
    // The height of the text word-wrapped to `width`.
    virtual double TextHeight(const QFont& font, const QString& text, double width) const = 0;
    // The width of the text on one line (its widest line when it has several).
    virtual double TextWidth(const QFont& font, const QString& text) const = 0;
};

// Measures with the fonts' own metrics (needs a running QGuiApplication). A list repeats its texts
// (names, places, the same dates): the width of each short text is measured once and remembered.
class TFontMeasurer : public TPrintMeasurer {
public:
    TFontMeasurer();
    ~TFontMeasurer() override;
    double LineHeight(const QFont& font) const override;
    double TextHeight(const QFont& font, const QString& text, double width) const override;
    double TextWidth(const QFont& font, const QString& text) const override;

private:
    const QFontMetricsF& Metrics(const QFont& font) const;
    double Advance(const QFont& font, const QString& line) const;

    mutable QFont font_;
    mutable std::unique_ptr<QFontMetricsF> metrics_;
    mutable QHash<QString, float> advances_;
};

// Called with the pages done and the pages in all; returning false cancels the work.
using TPrintProgress = std::function<bool(int done, int total)>;

struct TRowsRange {
    int First = 0;
    int Last = -1; // an empty range when Last < First
    bool operator==(const TRowsRange&) const = default;
};

// A font as layout units measure it: sized in pixels of a 96 dpi screen, without hinting, so that
// measuring and drawing agree on every target.
QFont LayoutFont(const QFont& font);

// The page of `paper` in layout units, before the print zoom.
QSizeF PageSizeInLayoutUnits(const QPageSize& paper, TPrintOrientation orientation);

class TGridPrintLayout {
public:
    TGridPrintLayout(TGridPrintSource source, TGridPrintSettings settings);

    const TGridPrintSettings& Settings() const { return settings_; }
    const TGridPrintSource& Source() const { return source_; }
    // The page the layout fills, in layout units (the paper divided by the print zoom).
    QSizeF Page() const { return page_; }
    // Sets the paper the layout is for; the layout must be paginated again.
    void SetPage(const QSizeF& pageInLayoutUnits);

    // Measures every row and divides the data rows into pages: every page holds at least one row, a row
    // that does not fit below others starts the next page, and a row taller than a page has a page of
    // its own (drawn clipped). The time shown in the bands is taken now. `progress` (rows measured, rows
    // in all) may cancel; a cancelled layout has no pages and Paginate returns false.
    bool Paginate(const TPrintMeasurer& measurer, const TPrintProgress& progress = {});
    // Pagination a little at a time, so that the first pages show before every row is measured: Begin
    // places the columns (sizing them and fitting the zoom as the settings ask) and measures the title
    // row; Continue measures rows for about `budgetMs`; Reach measures until a page is known. The
    // measurer must live until the last row is measured.
    void Begin(const TPrintMeasurer& measurer);
    bool Continue(int budgetMs);
    bool Reach(int page);
    // True once every row is measured: PageCount is then the number of pages.
    bool Complete() const { return complete_; }
    int MeasuredRows() const { return nextRow_ - 1; }
    // The pages known so far, every page once pagination is complete.
    int PageCount() const;
    // The grid rows of a page (1-based); an empty range outside the pages known.
    TRowsRange PageRows(int page) const;
    // How many pages the columns take across: 1 when they all fit on one paper's width.
    int ColumnPages() const { return static_cast<int>(bands_.size()); }
    // Which of them a page (1-based) shows, from 0.
    int ColumnPageOf(int page) const;
    // The grid columns of a page of columns, in order from the leading edge, with their left edges and
    // widths in layout units.
    struct TPlacedColumn {
        int col = 0;
        double left = 0;
        double width = 0;
    };
    const QList<TPlacedColumn>& Columns(int columnPage = 0) const;
    double RowHeight(int row) const;
    double HeaderRowHeight() const { return headerHeight_; }
    // Top of the title row and of the first data row, in layout units.
    double TableTop() const;
    double DataTop() const { return TableTop() + headerHeight_ + kAfterHeader; }
    // The lowest a data row may reach.
    double DataBottom() const;

    // Draws a page (1-based) on a painter whose coordinates are layout units over the page. On the
    // preview grid lines are dotted, on paper solid.
    void DrawPage(QPainter& painter, int page, bool preview) const;
    // Scales a painter of a device with `dpiX` x `dpiY` dots per inch to the layout units of this page.
    void ScalePainter(QPainter& painter, double dpiX, double dpiY) const;

    static constexpr double kSpacing = 5;
    static constexpr double kAfterHeader = 10;

private:
    // A printed column: the width it takes at first, and the width its widest text would take.
    struct TWantedColumn {
        int col = 0;
        double width = 0;
        double natural = 0;
    };
    QList<TWantedColumn> PrintedColumns(const TPrintMeasurer* measurer) const;
    void PlaceColumns(const TPrintMeasurer* measurer);
    void MeasureRow(int row);
    void DrawBand(QPainter& painter, const TPrintBand& band, const QRectF& rect, int page, bool bottom) const;
    void DrawTable(QPainter& painter, int page, bool preview) const;
    QRectF PageRect() const;
    int VisualFlags(TPrintAlignment align, bool leftToRight) const;
    static int CellFlags(TPrintAlignment align, Qt::LayoutDirection direction);
    QString SectionText(const TPrintSection& section, int page) const;

    TGridPrintSource source_;
    TGridPrintSettings settings_;
    QSizeF paper_; // in layout units at zoom 1
    QSizeF page_;
    QFont font_;
    QList<QList<TPlacedColumn>> bands_;
    std::vector<float> rowHeights_; // by grid row; index 0 unused
    double headerHeight_ = 0;
    QList<TRowsRange> pages_; // pages of rows; each is printed once for every page of columns
    const TPrintMeasurer* measurer_ = nullptr;
    double line_ = 0;
    int nextRow_ = 1;   // the first row not measured yet
    int pageFirst_ = 1; // the first row of the page being filled
    double used_ = 0;   // the height taken on it
    bool complete_ = false;
    QDateTime printTime_;
};

} // namespace verdan
