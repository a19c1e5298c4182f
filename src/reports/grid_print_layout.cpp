#include "grid_print_layout.h"

#include "text/bidi_text.h"
#include "text/localisation.h"

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

double TFontMeasurer::LineHeight(const QFont& font) const {
    return QFontMetricsF(font).height();
}

double TFontMeasurer::TextHeight(const QFont& font, const QString& text, double width) const {
    if (text.isEmpty())
        return 0;
    const QFontMetricsF metrics(font);
    // Most cells hold one short line: measuring its advance is much cheaper than laying it out.
    if (!text.contains(u'\n') && metrics.horizontalAdvance(text) <= width)
        return metrics.height();
    return metrics.boundingRect(QRectF(0, 0, std::max(width, 1.0), 1e7), Qt::TextWordWrap, text).height();
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
    page_ = PageSizeInLayoutUnits(settings_.Paper, settings_.Orientation) / zoom;
    font_ = LayoutFont(source_.font);
    printTime_ = QDateTime::currentDateTime();
    PlaceColumns();
}

void TGridPrintLayout::SetPage(const QSizeF& pageInLayoutUnits) {
    page_ = pageInLayoutUnits;
    PlaceColumns();
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

void TGridPrintLayout::PlaceColumns() {
    columns_.clear();
    const QRectF area = PageRect();
    double edge = source_.rightToLeft ? area.right() : area.left();
    for (int col = 1; col < source_.colCount; ++col) {
        const int width = source_.colWidths.value(col, 0);
        if (width <= kNarrowestColumn)
            continue;
        TPlacedColumn placed;
        placed.col = col;
        if (source_.rightToLeft) {
            if (edge <= area.left())
                break;
            placed.left = std::max(edge - width, area.left());
            placed.width = edge - placed.left;
            edge -= width;
        } else {
            if (edge >= area.right())
                break;
            placed.left = edge;
            placed.width = std::min<double>(width, area.right() - edge);
            edge += width;
        }
        columns_ << placed;
    }
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

bool TGridPrintLayout::Paginate(const TPrintMeasurer& measurer, const TPrintProgress& progress) {
    printTime_ = QDateTime::currentDateTime();
    PlaceColumns();
    const double line = measurer.LineHeight(font_);
    const bool adjust = settings_.Options & goAdjustRowHeight;

    double header = line;
    for (const TPlacedColumn& placed : columns_)
        header = std::max(header, measurer.TextHeight(font_, u' ' + CellOf(source_, placed.col, 0).text,
                                                      placed.width - 2 * kHeaderInset));
    headerHeight_ = header + kRowPadding + kHeaderPadding;

    rowHeights_ = QList<double>(std::max(source_.rowCount, 1), 0.0);
    pages_.clear();
    constexpr int kProgressStep = 2000;
    for (int row = 1; row < source_.rowCount; ++row) {
        if (progress && row % kProgressStep == 0 && !progress(row, source_.rowCount))
            return false;
        double height = line;
        if (adjust)
            for (const TPlacedColumn& placed : columns_)
                height = std::max(height, measurer.TextHeight(font_, CellOf(source_, placed.col, row).text,
                                                              placed.width - 2 * kCellInsetX));
        rowHeights_[row] = height + kRowPadding;
    }

    const double usable = DataBottom() - DataTop();
    int first = 1;
    double used = 0;
    for (int row = 1; row < source_.rowCount; ++row) {
        // A page always takes its first row, however tall; the next row that does not fit starts a page.
        if (used > 0 && used + rowHeights_[row] > usable) {
            pages_ << TRowsRange{first, row - 1};
            first = row;
            used = 0;
        }
        used += rowHeights_[row];
    }
    if (source_.rowCount > 1)
        pages_ << TRowsRange{first, source_.rowCount - 1};
    else
        pages_ << TRowsRange{1, 0};
    return true;
}

TRowsRange TGridPrintLayout::PageRows(int page) const {
    if (page < 1 || page > pages_.size())
        return TRowsRange{};
    return pages_[page - 1];
}

double TGridPrintLayout::RowHeight(int row) const {
    return row >= 1 && row < rowHeights_.size() ? rowHeights_[row] : 0;
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

QString TGridPrintLayout::SectionText(const TPrintSection& section, int page) const {
    switch (section.CaptionType) {
    case TCaptionType::Text:
        return section.Caption;
    case TCaptionType::PageNumber:
        return FillPattern(Translate(QStringLiteral("Page %# of %#")),
                           {QString::number(page), QString::number(PageCount())});
    // Dates and times keep their own reading order inside a right-to-left band.
    case TCaptionType::Date:
        return Isolate(QLocale().toString(printTime_.date(), QLocale::ShortFormat));
    case TCaptionType::Time:
        return Isolate(QLocale().toString(printTime_.time(), QLocale::ShortFormat));
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
    if (columns_.isEmpty())
        return;
    QPen line(kLineColor);
    if (preview) {
        // One pixel drawn, one left out, whatever the preview's scale.
        line.setWidth(0);
        line.setDashPattern({1, 1});
    } else {
        line.setWidthF(0.75);
    }
    const double left = std::min_element(columns_.begin(), columns_.end(), [](auto& a, auto& b) {
                            return a.left < b.left;
                        })->left;
    double right = left;
    for (const TPlacedColumn& placed : columns_)
        right = std::max(right, placed.left + placed.width);

    painter.setFont(font_);
    const double top = TableTop();
    for (const TPlacedColumn& placed : columns_) {
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
        for (const TPlacedColumn& placed : columns_) {
            const TPrintCell value = CellOf(source_, placed.col, row);
            if (value.text.isEmpty())
                continue;
            const TPrintAlignment align = value.centre ? TPrintAlignment::Center : value.align;
            const bool turned = value.leftToRight && source_.rightToLeft;
            if (turned)
                painter.setLayoutDirection(Qt::LeftToRight);
            // drawText clips to the rectangle by itself when the text does not fit in it.
            painter.drawText(QRectF(placed.left + kCellInsetX, y + kCellInsetTop,
                                    placed.width - 2 * kCellInsetX, height - kCellInsetTop),
                             VisualFlags(align, value.leftToRight) | Qt::AlignTop | Qt::TextWordWrap,
                             value.text);
            if (turned)
                painter.setLayoutDirection(direction);
        }
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
        for (const TPlacedColumn& placed : columns_)
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
