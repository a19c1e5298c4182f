#include "grid_print_layout.h"

#include "text/bidi_text.h"
#include "text/interface_locale.h"
#include "text/localisation.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace verdan {

namespace {

constexpr double kLayoutDpi = 96.0;
constexpr double kCellInsetX = 5;
constexpr double kCellInsetTop = 3;
constexpr double kRowPadding = 6;
constexpr double kHeaderPadding = 2;
constexpr double kHeaderInset = 2;
// Columns this narrow (or hidden) are not printed.
constexpr int kNarrowestColumn = 5;
// A column sized to its texts is never narrower.
constexpr int kNarrowestPrinted = 24;
const QColor kLineColor(128, 128, 128);

QFont BaseFont(int pixels, bool bold) {
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

TGridPrintSettings::TGridPrintSettings() {
    Title.Font = BaseFont(20, true);
    Header.Font = BaseFont(12, false);
    Footer.Font = BaseFont(12, false);
    TextUpper.Font = BaseFont(12, false);
    TextLower.Font = BaseFont(12, false);
    Header.LeftSection.CaptionType = TCaptionType::Date;
    Header.RightSection.CaptionType = TCaptionType::PageNumber;
}

TFontMeasurer::TFontMeasurer() = default;
TFontMeasurer::~TFontMeasurer() = default;

const QFontMetricsF& TFontMeasurer::Metrics(const QFont& font) const {
    if (!metrics_ || font != font_) {
        font_ = font;
        metrics_ = std::make_unique<QFontMetricsF>(font);
        advances_.clear();
    }
    return *metrics_;
}

double TFontMeasurer::Advance(const QFont& font, const QString& line) const {
    // Long texts seldom repeat: only short ones are remembered, and not without end.
    constexpr qsizetype kLongestRemembered = 64;
    constexpr qsizetype kMostRemembered = 200000;
    const QFontMetricsF& metrics = Metrics(font);
    if (line.size() > kLongestRemembered)
        return metrics.horizontalAdvance(line);
    if (const auto known = advances_.constFind(line); known != advances_.constEnd())
        return *known;
    if (advances_.size() >= kMostRemembered)
        advances_.clear();
    const double advance = metrics.horizontalAdvance(line);
    advances_.insert(line, static_cast<float>(advance));
    return advance;
}

double TFontMeasurer::LineHeight(const QFont& font) const {
    return Metrics(font).height();
}

double TFontMeasurer::TextHeight(const QFont& font, const QString& text, double width) const {
    if (text.isEmpty())
        return 0;
    const QFontMetricsF& metrics = Metrics(font);
    // Most cells hold one short line: measuring its advance is much cheaper than laying it out.
    if (!text.contains(u'\n') && Advance(font, text) <= width)
        return metrics.height();
    return metrics.boundingRect(QRectF(0, 0, std::max(width, 1.0), 1e7), Qt::TextWordWrap, text).height();
}

double TFontMeasurer::TextWidth(const QFont& font, const QString& text) const {
    double widest = 0;
    for (const QStringView line : QStringView(text).split(u'\n'))
        widest = std::max(widest, Advance(font, line.toString()));
    return widest;
}

QFont LayoutFont(const QFont& font) {
    QFont layout(font);
    if (layout.pixelSize() <= 0)
        layout.setPixelSize(
            std::max(1, static_cast<int>(std::lround(font.pointSizeF() * kLayoutDpi / 72.0))));
    layout.setHintingPreference(QFont::PreferNoHinting);
    return layout;
}

QSizeF PageSizeInLayoutUnits(const QPageSize& paper, TPrintOrientation orientation) {
    QSizeF points = paper.size(QPageSize::Point);
    const bool landscape = orientation != TPrintOrientation::Portrait;
    if (landscape != (points.width() > points.height()))
        points.transpose();
    return points * (kLayoutDpi / 72.0);
}

TGridPrintLayout::TGridPrintLayout(TGridPrintSource source, TGridPrintSettings settings)
    : source_(std::move(source)), settings_(std::move(settings)) {
    const double zoom = settings_.PrintZoom > 0.01 ? settings_.PrintZoom : 1.0;
    settings_.PrintZoom = zoom;
    paper_ = PageSizeInLayoutUnits(settings_.Paper, settings_.Orientation);
    page_ = paper_ / zoom;
    font_ = LayoutFont(source_.font);
    printTime_ = QDateTime::currentDateTime();
    PlaceColumns(nullptr);
}

void TGridPrintLayout::SetPage(const QSizeF& pageInLayoutUnits) {
    page_ = pageInLayoutUnits;
    paper_ = page_ * settings_.PrintZoom;
    PlaceColumns(measurer_);
}

QRectF TGridPrintLayout::PageRect() const {
    const TPrintMargins& m = settings_.Margins;
    return QRectF(QPointF(m.Left, m.Top), QPointF(page_.width() - m.Right, page_.height() - m.Bottom));
}

double TGridPrintLayout::TableTop() const {
    return PageRect().top() + settings_.Header.Height + settings_.Title.Height + settings_.TextUpper.Height +
           3 * kSpacing;
}

double TGridPrintLayout::DataBottom() const {
    return PageRect().bottom() - settings_.Footer.Height - kSpacing - settings_.TextLower.Height - kSpacing;
}

namespace {

// A ticked cell on paper: the word of the Persian or Urdu interface, the Arabic in every other one.
QString RightToLeftYes() {
    const QString language = InterfaceLanguageCode();
    return language == u"fa"   ? QStringLiteral("بله")
           : language == u"ur" ? QStringLiteral("ہاں")
                               : QStringLiteral("نعم");
}

TPrintCell CellOf(const TGridPrintSource& source, int col, int row) {
    TPrintCell cell = source.cell ? source.cell(col, row) : TPrintCell();
    if (cell.text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0)
        cell.text = source.rightToLeft ? RightToLeftYes() : QStringLiteral("Yes");
    return cell;
}

} // namespace

QList<TGridPrintLayout::TWantedColumn>
TGridPrintLayout::PrintedColumns(const TPrintMeasurer* measurer) const {
    QList<int> order = source_.order;
    if (order.isEmpty())
        for (int col = 1; col < source_.colCount; ++col)
            order << col;
    QList<TWantedColumn> columns;
    for (const int col : order)
        if (col >= 1 && col < source_.colCount && source_.colWidths.value(col, 0) > kNarrowestColumn) {
            const double width = source_.colWidths.value(col);
            columns << TWantedColumn{col, width, width};
        }
    if (!settings_.ContentWidths || measurer == nullptr || columns.isEmpty())
        return columns;

    // Texts are looked at on every row of a list up to kSampledRows rows, on as many rows spread
    // evenly over a longer one; each column's longest texts are then measured.
    constexpr int kSampledRows = 4000;
    constexpr int kLongest = 12;
    const int rows = source_.rowCount - 1;
    const int step = std::max(1, rows / kSampledRows);
    QList<QList<QString>> longest(columns.size());
    for (int row = 1; row <= rows; row += step)
        for (int i = 0; i < columns.size(); ++i) {
            const QString text = CellOf(source_, columns[i].col, row).text;
            if (text.isEmpty())
                continue;
            QList<QString>& kept = longest[i];
            if (kept.size() == kLongest && kept.last().size() >= text.size())
                continue;
            const auto at =
                std::upper_bound(kept.begin(), kept.end(), text,
                                 [](const QString& a, const QString& b) { return a.size() > b.size(); });
            kept.insert(at, text);
            if (kept.size() > kLongest)
                kept.removeLast();
        }
    for (int i = 0; i < columns.size(); ++i) {
        // The title wraps between its words; its longest word sets the least width.
        double width = 0;
        for (const QString& word : CellOf(source_, columns[i].col, 0).text.split(u' ', Qt::SkipEmptyParts))
            width = std::max(width, measurer->TextWidth(font_, word) + 2 * kHeaderInset + 2);
        for (const QString& text : longest[i])
            width = std::max(width, measurer->TextWidth(font_, text) + 2 * kCellInsetX + 2);
        columns[i].natural = std::max(std::ceil(width), double(kNarrowestPrinted));
        columns[i].width = std::min(columns[i].natural, double(TGridPrintSettings::kWidestContentColumn));
    }
    return columns;
}

void TGridPrintLayout::PlaceColumns(const TPrintMeasurer* measurer) {
    bands_.clear();
    const QList<TWantedColumn> columns = PrintedColumns(measurer);
    if (settings_.FitToWidth && measurer != nullptr && !columns.isEmpty()) {
        double total = 0;
        for (const TWantedColumn& column : columns)
            total += column.width;
        const double across = total + settings_.Margins.Left + settings_.Margins.Right;
        settings_.PrintZoom = std::clamp(std::floor(paper_.width() / across * 100) / 100,
                                         TGridPrintSettings::kSmallestFitZoom, 1.0);
        page_ = paper_ / settings_.PrintZoom;
    }
    const QRectF area = PageRect();
    const double room = std::max(area.width(), 1.0);
    int repeat = source_.repeatColumn;
    if (std::none_of(columns.begin(), columns.end(),
                     [repeat](const TWantedColumn& c) { return c.col == repeat; }))
        repeat = columns.isEmpty() ? -1 : columns.first().col;
    TWantedColumn repeated;
    for (const TWantedColumn& column : columns)
        if (column.col == repeat)
            repeated = TWantedColumn{repeat, std::min(column.width, room), column.natural};

    qsizetype next = 0;
    while (next < columns.size()) {
        QList<TWantedColumn> band;
        double used = 0;
        // Every page of columns after the first starts with the name again, when the next column fits
        // beside it.
        if (!bands_.isEmpty() && repeat >= 0 && columns[next].col != repeat &&
            repeated.width + std::min(columns[next].width, room) <= room) {
            band << repeated;
            used = repeated.width;
        }
        for (; next < columns.size(); ++next) {
            TWantedColumn column = columns[next];
            if (column.col == repeat && !band.isEmpty() && band.first().col == repeat)
                continue;
            column.width = std::min(column.width, room);
            if (!band.isEmpty() && used + column.width > room + 0.01)
                break;
            band << column;
            used += column.width;
        }
        // Room left over goes to the columns whose texts wrap, so that rows take fewer lines.
        double spare = room - used;
        for (TWantedColumn& column : band) {
            const double more = std::min(spare, column.natural - column.width);
            if (more > 0) {
                column.width += more;
                spare -= more;
            }
        }
        QList<TPlacedColumn> placed;
        double edge = source_.rightToLeft ? area.right() : area.left();
        for (const TWantedColumn& column : band) {
            TPlacedColumn at;
            at.col = column.col;
            at.width = column.width;
            at.left = source_.rightToLeft ? edge - column.width : edge;
            edge += source_.rightToLeft ? -column.width : column.width;
            placed << at;
        }
        bands_ << placed;
    }
    if (bands_.isEmpty())
        bands_ << QList<TPlacedColumn>();
}

const QList<TGridPrintLayout::TPlacedColumn>& TGridPrintLayout::Columns(int columnPage) const {
    return bands_[std::clamp(columnPage, 0, static_cast<int>(bands_.size()) - 1)];
}

int TGridPrintLayout::ColumnPageOf(int page) const {
    return page >= 1 ? (page - 1) % ColumnPages() : 0;
}

void TGridPrintLayout::Begin(const TPrintMeasurer& measurer) {
    measurer_ = &measurer;
    printTime_ = QDateTime::currentDateTime();
    PlaceColumns(measurer_);
    line_ = measurer.LineHeight(font_);
    double header = line_;
    for (const QList<TPlacedColumn>& band : bands_)
        for (const TPlacedColumn& placed : band)
            header = std::max(header, measurer.TextHeight(font_, u' ' + CellOf(source_, placed.col, 0).text,
                                                          placed.width - 2 * kHeaderInset));
    headerHeight_ = header + kRowPadding + kHeaderPadding;
    rowHeights_.assign(std::max(source_.rowCount, 1), 0.0F);
    pages_.clear();
    nextRow_ = 1;
    pageFirst_ = 1;
    used_ = 0;
    complete_ = false;
    if (source_.rowCount <= 1) {
        pages_ << TRowsRange{1, 0};
        complete_ = true;
    }
}

void TGridPrintLayout::MeasureRow(int row) {
    double height = line_;
    if (settings_.Options & goAdjustRowHeight)
        for (const QList<TPlacedColumn>& band : bands_)
            for (const TPlacedColumn& placed : band)
                height = std::max(height, measurer_->TextHeight(font_, CellOf(source_, placed.col, row).text,
                                                                placed.width - 2 * kCellInsetX));
    rowHeights_[row] = static_cast<float>(height + kRowPadding);
    // A page always takes its first row, however tall; the next row that does not fit starts a page.
    const double usable = DataBottom() - DataTop();
    if (used_ > 0 && used_ + rowHeights_[row] > usable) {
        pages_ << TRowsRange{pageFirst_, row - 1};
        pageFirst_ = row;
        used_ = 0;
    }
    used_ += rowHeights_[row];
    if (row == source_.rowCount - 1) {
        pages_ << TRowsRange{pageFirst_, row};
        complete_ = true;
    }
}

bool TGridPrintLayout::Continue(int budgetMs) {
    if (measurer_ == nullptr)
        return complete_;
    QElapsedTimer clock;
    clock.start();
    constexpr int kRowsPerLook = 8;
    while (!complete_) {
        for (int i = 0; i < kRowsPerLook && !complete_; ++i)
            MeasureRow(nextRow_++);
        if (clock.elapsed() >= budgetMs)
            break;
    }
    return complete_;
}

bool TGridPrintLayout::Reach(int page) {
    const int rowPage = page < 1 ? 0 : (page - 1) / ColumnPages() + 1;
    while (measurer_ != nullptr && !complete_ && pages_.size() < rowPage)
        MeasureRow(nextRow_++);
    return page >= 1 && page <= PageCount();
}

bool TGridPrintLayout::Paginate(const TPrintMeasurer& measurer, const TPrintProgress& progress) {
    Begin(measurer);
    constexpr int kProgressStep = 2000;
    while (!complete_) {
        if (progress && nextRow_ % kProgressStep == 0 && !progress(nextRow_, source_.rowCount)) {
            pages_.clear();
            complete_ = false;
            measurer_ = nullptr;
            return false;
        }
        MeasureRow(nextRow_++);
    }
    measurer_ = nullptr;
    return true;
}

int TGridPrintLayout::PageCount() const {
    return static_cast<int>(pages_.size()) * ColumnPages();
}

TRowsRange TGridPrintLayout::PageRows(int page) const {
    if (page < 1 || page > PageCount())
        return TRowsRange{};
    return pages_[(page - 1) / ColumnPages()];
}

double TGridPrintLayout::RowHeight(int row) const {
    return row >= 1 && row < static_cast<int>(rowHeights_.size()) ? rowHeights_[row] : 0;
}

void TGridPrintLayout::ScalePainter(QPainter& painter, double dpiX, double dpiY) const {
    painter.scale(dpiX / kLayoutDpi * settings_.PrintZoom, dpiY / kLayoutDpi * settings_.PrintZoom);
}

int TGridPrintLayout::VisualFlags(TPrintAlignment align, bool leftToRight) const {
    // In a right-to-left grid "left" is the leading side, the right edge of the page.
    const bool mirrored = source_.rightToLeft && !leftToRight;
    int horizontal = Qt::AlignHCenter;
    if (align == TPrintAlignment::Left)
        horizontal = mirrored ? Qt::AlignRight : Qt::AlignLeft;
    else if (align == TPrintAlignment::Right)
        horizontal = mirrored ? Qt::AlignLeft : Qt::AlignRight;
    return horizontal | Qt::AlignAbsolute;
}

int TGridPrintLayout::CellFlags(TPrintAlignment align, Qt::LayoutDirection direction) {
    // "Left" is the leading side of the cell's own reading order.
    const bool mirrored = direction == Qt::RightToLeft;
    int horizontal = Qt::AlignHCenter;
    if (align == TPrintAlignment::Left)
        horizontal = mirrored ? Qt::AlignRight : Qt::AlignLeft;
    else if (align == TPrintAlignment::Right)
        horizontal = mirrored ? Qt::AlignLeft : Qt::AlignRight;
    return horizontal | Qt::AlignAbsolute;
}

QString TGridPrintLayout::SectionText(const TPrintSection& section, int page) const {
    switch (section.CaptionType) {
    case TCaptionType::Text:
        return section.Caption;
    case TCaptionType::PageNumber:
        // Pages drawn before every page is laid out do not know their count yet.
        if (!complete_)
            return FillPattern(Translate(QStringLiteral("Page %#")), {QString::number(page)});
        return FillPattern(Translate(QStringLiteral("Page %# of %#")),
                           {QString::number(page), QString::number(PageCount())});
    // Dates and times keep their own reading order inside a right-to-left band.
    case TCaptionType::Date:
        return Isolate(StampDateText(printTime_.date()));
    case TCaptionType::Time:
        return Isolate(StampTimeText(printTime_.time()));
    }
    return {};
}

void TGridPrintLayout::DrawBand(QPainter& painter, const TPrintBand& band, const QRectF& rect, int page,
                                bool bottom) const {
    if (band.Height <= 0)
        return;
    painter.save();
    painter.setFont(LayoutFont(band.Font));
    painter.setPen(Qt::black);
    painter.setClipRect(rect);
    const int vertical = bottom ? Qt::AlignBottom : Qt::AlignVCenter;
    if (!band.Caption.isEmpty()) {
        painter.drawText(rect, VisualFlags(band.Alignment, false) | vertical | Qt::TextSingleLine,
                         band.Caption);
    } else {
        const double third = rect.width() / 3;
        const TPrintSection* sections[3] = {&band.LeftSection, &band.MiddleSection, &band.RightSection};
        const TPrintAlignment aligns[3] = {TPrintAlignment::Left, TPrintAlignment::Center,
                                           TPrintAlignment::Right};
        for (int i = 0; i < 3; ++i) {
            // Mirrored for a right-to-left grid: the left section sits at the leading, right edge.
            const int slot = source_.rightToLeft ? 2 - i : i;
            const QRectF part(rect.left() + slot * third, rect.top(), third, rect.height());
            painter.drawText(part, VisualFlags(aligns[i], false) | vertical | Qt::TextSingleLine,
                             SectionText(*sections[i], page));
        }
    }
    painter.restore();
}

void TGridPrintLayout::DrawPage(QPainter& painter, int page, bool preview) const {
    const QRectF area = PageRect();
    painter.save();
    painter.setLayoutDirection(source_.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    const TGridPrintSettings& s = settings_;

    DrawBand(painter, s.Header, QRectF(area.left(), area.top(), area.width(), s.Header.Height), page, false);
    DrawBand(painter, s.Footer,
             QRectF(area.left(), area.bottom() - s.Footer.Height, area.width(), s.Footer.Height), page, true);

    if (s.Title.Height > 0) {
        const QRectF rect(area.left(), area.top() + s.Header.Height + kSpacing, area.width(), s.Title.Height);
        const QString caption = u' ' + s.Title.Caption + u' ';
        const int flags = VisualFlags(s.Title.Alignment, false) | Qt::AlignVCenter | Qt::TextSingleLine;
        painter.save();
        painter.setClipRect(rect);
        painter.fillRect(rect, Qt::white);
        painter.setFont(LayoutFont(s.Title.Font));
        if (s.Title.ShadowColor.isValid()) {
            painter.setPen(s.Title.ShadowColor);
            painter.drawText(rect.translated(1, 1), flags, caption);
        }
        painter.setPen(Qt::black);
        painter.drawText(rect, flags, caption);
        painter.restore();
    }
    auto drawText = [&](const TPrintText& text, const QRectF& rect) {
        if (text.Height <= 0 || text.Text.isEmpty())
            return;
        painter.save();
        painter.setClipRect(rect);
        painter.setFont(LayoutFont(text.Font));
        painter.setPen(Qt::black);
        painter.drawText(rect, VisualFlags(text.Alignment, false) | Qt::AlignTop | Qt::TextWordWrap,
                         text.Text.join(u'\n'));
        painter.restore();
    };
    drawText(s.TextUpper, QRectF(area.left(), area.top() + s.Header.Height + s.Title.Height + 2 * kSpacing,
                                 area.width(), s.TextUpper.Height));
    drawText(s.TextLower, QRectF(area.left(), area.bottom() - s.Footer.Height - kSpacing - s.TextLower.Height,
                                 area.width(), s.TextLower.Height));
    DrawTable(painter, page, preview);
    painter.restore();
}

void TGridPrintLayout::DrawTable(QPainter& painter, int page, bool preview) const {
    const QList<TPlacedColumn>& columns = Columns(ColumnPageOf(page));
    if (columns.isEmpty())
        return;
    QPen line(kLineColor);
    if (preview) {
        // One pixel drawn, one left out, whatever the preview's scale.
        line.setWidth(0);
        line.setDashPattern({1, 1});
    } else {
        line.setWidthF(0.75);
    }
    const double left = std::min_element(columns.begin(), columns.end(), [](auto& a, auto& b) {
                            return a.left < b.left;
                        })->left;
    double right = left;
    for (const TPlacedColumn& placed : columns)
        right = std::max(right, placed.left + placed.width);

    painter.setFont(font_);
    const double top = TableTop();
    for (const TPlacedColumn& placed : columns) {
        const QRectF cell(placed.left, top, placed.width, headerHeight_);
        painter.fillRect(cell, source_.fixedColor);
        painter.setPen(QPen(kLineColor, preview ? 0 : 0.75));
        painter.drawRect(cell);
        const TPrintCell title = CellOf(source_, placed.col, 0);
        painter.setPen(Qt::black);
        painter.save();
        painter.setClipRect(cell);
        painter.drawText(cell.adjusted(kHeaderInset, 0, -kHeaderInset, 0),
                         Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, u' ' + title.text);
        painter.restore();
    }

    const TRowsRange rows = PageRows(page);
    double y = DataTop();
    // A row taller than the page is cut at the lowest line data may reach.
    painter.save();
    painter.setClipRect(QRectF(left - 1, top - 1, right - left + 2, std::max(DataBottom(), y) - top + 2));
    const double tableBottom = rows.Last >= rows.First ? y : top + headerHeight_;
    const bool plainBack = source_.backColor == Qt::white;
    const Qt::LayoutDirection direction = source_.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight;
    painter.setPen(Qt::black);
    for (int row = rows.First; row <= rows.Last; ++row) {
        const double height = rowHeights_[row];
        // The page is white already; a coloured background is filled once per row.
        if (!plainBack)
            painter.fillRect(QRectF(left, y, right - left, height), source_.backColor);
        for (const TPlacedColumn& placed : columns) {
            const TPrintCell value = CellOf(source_, placed.col, row);
            if (value.text.isEmpty())
                continue;
            const TPrintAlignment align = value.centre ? TPrintAlignment::Center : value.align;
            // Each value reads in its own direction from its own reading start, unless the grid turned it.
            const Qt::LayoutDirection own =
                value.leftToRight ? Qt::LeftToRight : ReadingDirection(value.text, direction);
            painter.setLayoutDirection(own);
            // drawText clips to the rectangle by itself when the text does not fit in it.
            painter.drawText(QRectF(placed.left + kCellInsetX, y + kCellInsetTop,
                                    placed.width - 2 * kCellInsetX, height - kCellInsetTop),
                             CellFlags(align, own) | Qt::AlignTop | Qt::TextWordWrap, value.text);
        }
        painter.setLayoutDirection(direction);
        if (settings_.Options & goHorzLine) {
            painter.setPen(line);
            painter.drawLine(QPointF(left, y), QPointF(right, y));
            painter.setPen(Qt::black);
        }
        y += height;
    }
    const double bottom = std::max(y, tableBottom);
    painter.setPen(line);
    if ((settings_.Options & goHorzLine) && rows.Last >= rows.First)
        painter.drawLine(QPointF(left, bottom), QPointF(right, bottom));
    if (settings_.Options & goVertLine) {
        // The space between the title row and the data rows stays open.
        const double dataTop = rows.Last >= rows.First ? DataTop() : bottom;
        for (const TPlacedColumn& placed : columns)
            for (const double x : {placed.left, placed.left + placed.width})
                painter.drawLine(QPointF(x, dataTop), QPointF(x, bottom));
    }
    if (settings_.Options & goGridFrame) {
        painter.setPen(QPen(kLineColor, preview ? 0 : 1.0));
        painter.setBrush(Qt::NoBrush);
        if (rows.Last >= rows.First)
            painter.drawRect(QRectF(QPointF(left, DataTop()), QPointF(right, bottom)));
    }
    painter.restore();
}

} // namespace verdan
