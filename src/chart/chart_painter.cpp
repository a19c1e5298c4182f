#include "chart_painter.h"

#include "storage/gender_code.h"
#include "text/localisation.h"
#include "text/text_utils.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>
#include <QTextOption>
#include <cmath>

namespace verdan {

namespace {

namespace c = chart_colours;

QPen ChartPen(quint32 colour, int width) {
    QPen pen(ChartColor(colour));
    pen.setWidth(width);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// From a point of a parent (or a mark) to the stick over its children: straight down (or up) when the
// stick lies under it, else down to midway between the parent's box and the stick, along, and down to the
// stick, so that a parent whose groups of children stand far apart reaches each with lines at right angles.
QList<QPoint> ElbowPath(const QPoint& from, const TChartBox& parent, const TChartBox& stick) {
    const QPoint end(std::clamp(from.x(), stick.X, stick.Right()), stick.CentreY());
    if (end.x() == from.x())
        return {from, end};
    const int bus = stick.Y >= parent.Bottom() ? parent.Bottom() + (stick.Y - parent.Bottom()) / 2
                                               : stick.Bottom() + (parent.Y - stick.Bottom()) / 2;
    return {from, QPoint(from.x(), bus), QPoint(end.x(), bus), end};
}

const TPersonObject* ItemOf(const TChart& chart, const QString& id) {
    const int index = chart.IndexOf(id);
    return index < 0 ? nullptr : &chart.Person(index);
}

QPoint Centre(const TChartRect& r) {
    return {r.CentreX(), r.CentreY()};
}

class ChartPainter {
public:
    ChartPainter(TChart& chart, QPainter& painter, const TChartMapping& mapping, const QSize& viewSize,
                 bool exporting, TChartPaintCache& cache, bool keepTexts)
        : chart_(chart), p_(painter), map_(mapping), view_(QPoint(0, 0), viewSize), exporting_(exporting),
          dpi_(painter.device() ? painter.device()->logicalDpiY() : kChartDpi), cache_(cache),
          keepTexts_(keepTexts && QGuiApplication::primaryScreen() &&
                     dpi_ == RoundChart(QGuiApplication::primaryScreen()->logicalDotsPerInchY())) {}

    void Paint() {
        p_.setLayoutDirection(Qt::LayoutDirectionAuto);
        if (chart_.Persons().isEmpty()) {
            if (!exporting_)
                PaintHint();
            PaintBand();
            return;
        }
        for (const TMarital& mark : chart_.Maritals())
            if (!mark.Removed)
                PaintSpouseLines(mark);
        for (const TPersonObject& item : chart_.Persons())
            PaintChildLink(item);
        const int stickWidth = chart_.Zoom() <= 0.6f ? 1 : 2;
        for (const TPersonObject& item : chart_.Persons())
            for (const TChildStick& stick : item.Sticks)
                PaintStick(stick.Box, stickWidth);
        for (const TMarital& mark : chart_.Maritals())
            if (mark.HasStick && !mark.Removed)
                PaintStick(mark.Stick, stickWidth);
        for (const TPersonObject& item : chart_.Persons()) {
            if (!exporting_ && !map_.ToView(item.Box).intersects(view_))
                continue;
            PaintText(item);
            if (item.Options.ShowPicture)
                PaintPicture(item);
        }
        for (const TMarital& mark : chart_.Maritals()) {
            if (mark.Removed)
                continue;
            const QRect box = map_.ToView(mark.Mark);
            if (!exporting_ && !box.intersects(view_))
                continue;
            p_.setBrush(Qt::white);
            p_.setPen(mark.Selected ? ChartPen(c::kSelectedMark, 2) : ChartPen(c::kMark, 1));
            p_.drawRect(box);
        }
        PaintBand();
    }

private:
    void PaintHint() {
        const QString text = Translate(QStringLiteral("Drag person from a tree and drop into chart."));
        p_.setFont(
            ChartFont(ChartTextFont(TOFont{QStringLiteral("Arial"), 16, c::kLink, 0}, text), 1.0, dpi_));
        p_.setPen(ChartColor(c::kLink));
        p_.setBrush(Qt::NoBrush);
        const bool rtl = Local().Target.RightToLeft;
        QTextOption option(Qt::AlignTop | Qt::AlignLeading);
        option.setTextDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
        option.setWrapMode(QTextOption::WordWrap);
        const QRectF box(20, 20, std::max(0, view_.width() - 40), std::max(0, view_.height() - 40));
        p_.drawText(box, text, option);
    }

    void PaintBand() {
        const QRect band = chart_.RubberBand();
        if (band.isEmpty() || exporting_)
            return;
        p_.save();
        p_.setCompositionMode(QPainter::CompositionMode_Multiply);
        p_.setBrush(Qt::NoBrush);
        p_.setPen(ChartPen(c::kBandFrame, 2));
        p_.drawRect(band);
        p_.restore();
    }

    // On screen, lines and arrows that pass nowhere near the view are left out.
    bool Visible(const QPoint& a, const QPoint& b) const {
        return exporting_ || QRect(a, b).normalized().adjusted(-8, -8, 8, 8).intersects(view_);
    }

    void Line(const QPoint& a, const QPoint& b) {
        const QPoint va = map_.ToView(a);
        const QPoint vb = map_.ToView(b);
        if (Visible(va, vb))
            p_.drawLine(va, vb);
    }

    const TPersonObject* Item(const QString& id) const { return ItemOf(chart_, id); }

    void PaintSpouseLines(const TMarital& mark) {
        p_.setPen(ChartPen(c::kFrame, mark.Selected ? 2 : 1));
        for (const TChartLine& line : SpouseLines(chart_, mark))
            Line(line.From, line.To);
    }

    void PaintChildLink(const TPersonObject& child) {
        const TChildLink link = RouteChildLink(chart_, child);
        if (!link.Drawn)
            return;
        if (link.Connector) {
            p_.setPen(ChartPen(c::kMark, 1));
            for (qsizetype k = 1; k < link.ConnectorPath.size(); ++k)
                Line(link.ConnectorPath[k - 1], link.ConnectorPath[k]);
        }
        const quint32 colour = child.Selected ? c::kSelectedLink : c::kLink;
        const QPoint a = map_.ToView(link.Start);
        const QPoint b = map_.ToView(link.End);
        if (!Visible(a, b))
            return;
        p_.setPen(ChartPen(colour, 1));
        DrawArrow(p_, a.x(), a.y(), colour, true, map_.Length(5), b.x(), b.y());
    }

    void PaintStick(const TChartBox& stick, int width) {
        const QPoint a = map_.ToView(QPoint(stick.X, stick.CentreY()));
        const QPoint b = map_.ToView(QPoint(stick.Right(), stick.CentreY()));
        if ((a.x() < 0 && b.x() < 0) || a.y() < 0 || !Visible(a, b))
            return;
        p_.setPen(ChartPen(c::kFrame, width));
        p_.drawLine(a, b);
    }

    // One line of text in the box, aligned horizontally, in the reading order its letters ask for. Laid-out
    // texts are kept only for devices of the screen's resolution, for which they are laid out.
    void DrawLine(const QString& text, const TChartPaintCache::Font& font, const QRectF& box,
                  Qt::Alignment align) {
        if (keepTexts_) {
            const QStaticText& line = cache_.Text(text, font);
            const double width = line.size().width();
            const double x = align == Qt::AlignRight     ? box.right() - width
                             : align == Qt::AlignHCenter ? box.left() + (box.width() - width) / 2
                                                         : box.left();
            p_.drawStaticText(QPointF(x, box.top()), line);
            return;
        }
        QTextOption option(align | Qt::AlignTop);
        option.setWrapMode(QTextOption::NoWrap);
        p_.drawText(QRectF(box.left(), box.top(), box.width(), std::max(box.height(), 1.0)), text, option);
    }

    void PaintText(const TPersonObject& item) {
        TOFont font = item.Options.ParentFont ? chart_.Defaults.Font : item.Options.Font;
        const QRect r = map_.ToView(item.TextRect);
        if (item.Options.HideFrame) {
            p_.setBrush(Qt::white);
            p_.setPen(ChartPen(item.Selected ? c::kSelectedFrame : c::kWhite, 1));
        } else {
            p_.setPen(item.Selected ? ChartPen(c::kSelectedFrame, 2) : ChartPen(c::kFrame, 1));
            const quint32 fill = item.Options.FillColor != 0   ? item.Options.FillColor
                                 : IsFemaleGender(item.Gender) ? c::kFemaleFill
                                                               : c::kMaleFill;
            p_.setBrush(ChartColor(fill));
        }
        p_.drawRect(r);
        const TChartPaintCache::Font& zoomed =
            cache_.FontFor(ChartTextFont(font, item.DisplayName), chart_.Zoom(), dpi_);
        const double h = zoomed.height;
        const int pad = map_.Length(item.Options.ShowDates ? 3 : 5);
        p_.setFont(zoomed.font);
        p_.setPen(ChartColor(font.Color));
        DrawLine(item.DisplayName, zoomed, QRectF(r.left(), r.top() + pad, r.width(), h), Qt::AlignHCenter);
        if (!item.Options.ShowDates)
            return;
        const TOFont dates{font.Name, std::max(1, font.Size - 1), c::kDates, 0};
        p_.setPen(ChartColor(c::kDates));
        const double right = r.right() + 1 - map_.Length(8);
        double top = r.top() + pad + h + std::floor(h) / 4;
        for (const QString* text : {&item.BirthText, &item.DeathText}) {
            if (!text->isEmpty()) {
                const TChartPaintCache::Font& small =
                    cache_.FontFor(ChartTextFont(dates, *text), chart_.Zoom(), dpi_);
                p_.setFont(small.font);
                DrawLine(*text, small, QRectF(r.left(), top, right - r.left(), h), Qt::AlignRight);
            }
            top += h;
        }
    }

    void PaintPicture(const TPersonObject& item) {
        const QRect area = map_.ToView(item.PictureRect);
        const QSize source = item.Picture.isNull() ? QSize(100, 100) : item.Picture.size();
        const QRect fitted = FitRect(area, source);
        if (!item.Picture.isNull() && !fitted.isEmpty()) {
            p_.save();
            p_.setRenderHint(QPainter::SmoothPixmapTransform);
            p_.drawImage(fitted, item.Picture);
            p_.restore();
        }
        p_.setBrush(Qt::NoBrush);
        p_.setPen(item.Selected ? ChartPen(c::kSelectedFrame, 2) : ChartPen(c::kFrame, 1));
        p_.drawRect(fitted);
    }

    TChart& chart_;
    QPainter& p_;
    TChartMapping map_;
    QRect view_;
    bool exporting_;
    int dpi_;
    TChartPaintCache& cache_;
    bool keepTexts_;
};

} // namespace

const TChartPaintCache::Font& TChartPaintCache::FontFor(const TOFont& font, float zoom, int dpi) {
    const FontKey key{font.Name, font.Size, font.Style, zoom, dpi};
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        Font entry{ChartFont(font, zoom, dpi), 0.0, int(fonts_.size())};
        // The height on this device, in its own units.
        QImage reference(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = RoundChart(dpi / 0.0254);
        reference.setDotsPerMeterX(dotsPerMeter);
        reference.setDotsPerMeterY(dotsPerMeter);
        entry.height = QFontMetricsF(entry.font, &reference).height();
        it = fonts_.insert(key, entry);
    }
    return *it;
}

const QStaticText& TChartPaintCache::Text(const QString& text, const Font& font) {
    if (texts_.size() > 20000)
        texts_.clear();
    const std::pair<int, QString> key{font.id, text};
    auto it = texts_.find(key);
    if (it == texts_.end()) {
        QStaticText line(text);
        line.setTextFormat(Qt::PlainText);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setTextDirection(Qt::LayoutDirectionAuto);
        line.setTextOption(option);
        line.setPerformanceHint(QStaticText::AggressiveCaching);
        line.prepare(QTransform(), font.font);
        it = texts_.insert(key, line);
    }
    return *it;
}

void PaintChart(TChart& chart, QPainter& painter, const TChartMapping& mapping, const QSize& viewSize,
                bool exporting, TChartPaintCache* cache, bool computeSticks) {
    TChartPaintCache once;
    painter.save();
    if (computeSticks)
        chart.ComputeAllSticks();
    ChartPainter(chart, painter, mapping, viewSize, exporting, cache ? *cache : once, cache != nullptr)
        .Paint();
    painter.restore();
}

TChildLink RouteChildLink(const TChart& chart, const TPersonObject& child) {
    TChildLink link;
    const int mark = chart.CoupleMark(child.FatherId, child.MotherId);
    if (mark >= 0) {
        const TMarital& m = chart.Maritals()[mark];
        if (chart.LinkType() == TLinkType::Stick && m.Stick.Width > 0)
            link.Start = QPoint(child.TextRect.CentreX(), m.Stick.CentreY());
        else
            link.Start = QPoint(m.Mark.CentreX(), m.Mark.CentreY());
    } else {
        const int parentIndex = chart.LinkParent(child);
        if (parentIndex < 0)
            return link;
        const TPersonObject* parent = &chart.Person(parentIndex);
        const bool stickLink = child.LinkType == TLinkType::Stick || parent->LinkType == TLinkType::Stick ||
                               (child.LinkType == TLinkType::Follow && chart.LinkType() == TLinkType::Stick);
        const TChildStick* stick = chart.StickFor(*parent, child);
        const bool hasStick = stick && stick->Box.Width >= 1;
        if (stickLink && hasStick) {
            link.Connector = true;
            link.ConnectorPath = ElbowPath(Centre(parent->TextRect), parent->Box, stick->Box);
        }
        if (stickLink && hasStick && chart.EffectiveLinkType(*parent) == TLinkType::Stick)
            link.Start = QPoint(child.TextRect.CentreX(), stick->Box.CentreY());
        else
            link.Start = Centre(parent->TextRect);
    }
    link.End = link.Start.y() < child.Box.Y          ? QPoint(child.Box.CentreX(), child.Box.Y)
               : link.Start.y() > child.Box.Bottom() ? QPoint(child.Box.CentreX(), child.Box.Bottom())
                                                     : BorderPoint(child.Box, link.Start);
    link.Drawn = true;
    return link;
}

QList<TChartLine> SpouseLines(const TChart& chart, const TMarital& mark) {
    QList<TChartLine> lines;
    const QPoint centre(mark.Mark.CentreX(), mark.Mark.CentreY());
    auto add = [&](const QPoint& a, const QPoint& b) {
        lines.append({TChartLine::Kind::Spouse, a, b});
    };
    for (const QString& id : {mark.HusbandId, mark.WifeId}) {
        const TPersonObject* spouse = ItemOf(chart, id);
        if (!spouse)
            continue;
        const int x = spouse->TextRect.CentreX();
        if (mark.Mark.Y >= spouse->TextRect.Bottom) {
            add(centre, QPoint(x, centre.y()));
            add(QPoint(x, centre.y()), QPoint(x, spouse->TextRect.Bottom));
        } else if (mark.Mark.Bottom() <= spouse->Box.Y) {
            add(centre, QPoint(x, centre.y()));
            add(QPoint(x, centre.y()), QPoint(x, spouse->Box.Y));
        } else {
            add(centre, Centre(spouse->TextRect));
        }
    }
    if (mark.HasStick) {
        const QList<QPoint> path = ElbowPath(centre, mark.Mark, mark.Stick);
        for (qsizetype k = 1; k < path.size(); ++k)
            add(path[k - 1], path[k]);
    }
    return lines;
}

QList<TChartLine> ChartLines(const TChart& chart) {
    QList<TChartLine> lines;
    for (const TMarital& mark : chart.Maritals())
        if (!mark.Removed)
            lines += SpouseLines(chart, mark);
    for (const TPersonObject& item : chart.Persons()) {
        const TChildLink link = RouteChildLink(chart, item);
        if (!link.Drawn)
            continue;
        for (qsizetype k = 1; k < link.ConnectorPath.size(); ++k)
            lines.append({TChartLine::Kind::Connector, link.ConnectorPath[k - 1], link.ConnectorPath[k]});
        lines.append({TChartLine::Kind::Child, link.Start, link.End});
    }
    auto stick = [&](const TChartBox& b) {
        lines.append({TChartLine::Kind::Stick, QPoint(b.X, b.CentreY()), QPoint(b.Right(), b.CentreY())});
    };
    for (const TPersonObject& item : chart.Persons())
        for (const TChildStick& s : item.Sticks)
            stick(s.Box);
    for (const TMarital& mark : chart.Maritals())
        if (mark.HasStick && !mark.Removed)
            stick(mark.Stick);
    return lines;
}

TArrowHead ArrowHead(int x1, int y1, int size, int x2, int y2) {
    double dx = x2 - x1;
    double dy = y2 - y1;
    if (dx == 0)
        dx = 1;
    if (dy == 0)
        dy = 1;
    const double d = std::sqrt(dx * dx + dy * dy);
    const double ux = dx / d;
    const double uy = dy / d;
    const double nx = dy / d;
    const double ny = -dx / d;
    TArrowHead head;
    head.Base = QPoint(x2 - RoundChart(size * ux), y2 - RoundChart(size * uy));
    for (int k = 0; k < 3; ++k) {
        const int s = size - k;
        head.Wings[k][0] = head.Base + QPoint(RoundChart(s * nx), RoundChart(s * ny));
        head.Wings[k][1] = head.Base - QPoint(RoundChart(s * nx), RoundChart(s * ny));
    }
    return head;
}

void DrawArrow(QPainter& painter, int x1, int y1, quint32 colour, bool filled, int size, int x2, int y2) {
    QPen pen = painter.pen();
    pen.setColor(ChartColor(colour));
    pen.setWidth(1);
    painter.setPen(pen);
    painter.drawLine(x1, y1, x2, y2);
    const TArrowHead head = ArrowHead(x1, y1, size, x2, y2);
    const QPoint tip(x2, y2);
    for (const auto& wings : head.Wings) {
        const QPoint stroke[] = {tip, wings[0], wings[1]};
        painter.drawPolyline(stroke, 3);
    }
    if (filled) {
        const QPoint triangle[] = {tip, head.Wings[2][0], head.Wings[2][1]};
        painter.setBrush(ChartColor(colour));
        painter.drawConvexPolygon(triangle, 3);
    }
}

} // namespace verdan
