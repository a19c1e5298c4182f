#include "chart_poster.h"

#include "calendar/date_numbers.h"
#include "chart/chart_export.h"
#include "chart/chart_painter.h"
#include "chart/chart_tree_reader.h"
#include "chart/pdf_info.h"
#include "storage/database.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPageLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTextOption>
#include <cmath>

namespace verdan {

namespace {

constexpr double kUnit = 0.75;     // points per chart unit: the chart's 96 dots to the inch
constexpr double kPad = 54;        // between the poster's edge and its chart
constexpr double kFrameOuter = 18; // insets of the frame's two rules
constexpr double kFrameInner = 25;
constexpr double kMargin = 28.35;     // 10 mm round a tile, for the printer and the crop marks
constexpr double kOverlap = 28.35;    // 10 mm that a tile shares with the next
constexpr double kMaxPdfSide = 14400; // 200 inches: the largest page viewers take
const QColor kInk(0x2f, 0x4f, 0x3a);  // the frame's and the title's dark green

// A font `points` high in the painter's coordinates, whatever the resolution of its device, in a face that
// has every letter of the text.
QFont TitleFont(const QPainter& painter, const QString& family, const QString& text, double points,
                bool bold) {
    const TOFont font{family, 12, 0, quint8(bold ? kFontBold : 0)};
    QFont face = ChartFont(ChartTextFont(font, text));
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 72;
    face.setPointSizeF(std::max(0.1, points * 72.0 / dpi));
    return face;
}

void Centred(QPainter& painter, const QRectF& box, const QString& text, const QFont& font) {
    painter.setFont(font);
    QTextOption option(Qt::AlignHCenter | Qt::AlignVCenter);
    option.setTextDirection(Qt::LayoutDirectionAuto);
    option.setWrapMode(QTextOption::NoWrap);
    painter.drawText(box, text, option);
}

QString ColumnLetters(int column) {
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

// The name of the family whose tree it is: the branch the founder stands under, else his family or last
// name, else his own.
QString FamilyName(const TChart& chart) {
    const int root = chart.IndexOf(chart.RootId);
    if (root < 0)
        return QString();
    const TPersonObject& founder = chart.Person(root);
    if (!founder.FatherId.isEmpty() && !SameId(founder.FatherId, GetGlobalParentId())) {
        const QHash<QString, TChartPersonRecord> father = ReadChartPersons({founder.FatherId});
        const auto it = father.find(ChartIdKey(founder.FatherId));
        if (it != father.end() && it->IsSection)
            return it->Name;
    }
    TPersonNames names;
    if (ReadPersonNames(founder.Id, names)) {
        if (!names.Family_Name.trimmed().isEmpty())
            return names.Family_Name.trimmed();
        if (!names.Last_Name.trimmed().isEmpty())
            return names.Last_Name.trimmed();
    }
    return founder.ShortName;
}

bool Fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

bool WriteFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Fail(error, file.errorString());
    return true;
}

// The file of a tile beside the named one: NAME-A1.png.
QString TileFile(const QString& path, const QString& tile) {
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + u'-' + tile + u'.' + info.suffix());
}

} // namespace

QString LargestFatherLine() {
    // One pass over the tree: children by father, then the size of each founder's line.
    QHash<QString, QStringList> children;
    QHash<QString, bool> groups;
    QStringList persons;
    QHash<QString, QString> fathers;
    {
        Query q = Dm().Prepare("SELECT Person_Id, Father_Id, Is_Section FROM ftPerson ORDER BY oid");
        while (q.Next()) {
            const QString id = q.Text(0);
            const QString father = NormaliseChartId(q.Text(1));
            groups.insert(ChartIdKey(id), q.Bool(2));
            if (q.Bool(2))
                continue;
            persons << id;
            fathers.insert(ChartIdKey(id), father);
            if (!father.isEmpty())
                children[ChartIdKey(father)] << id;
        }
    }
    QString best;
    qsizetype bestSize = 0;
    QSet<QString> seen;
    for (const QString& id : std::as_const(persons)) {
        const QString father = fathers.value(ChartIdKey(id));
        if (!father.isEmpty() && !groups.value(ChartIdKey(father), false) &&
            groups.contains(ChartIdKey(father)))
            continue;
        qsizetype size = 0;
        QStringList pending{id};
        while (!pending.isEmpty()) {
            const QString next = pending.takeLast();
            if (seen.contains(ChartIdKey(next)))
                continue;
            seen.insert(ChartIdKey(next));
            ++size;
            pending += children.value(ChartIdKey(next));
        }
        if (size > bestSize) {
            best = id;
            bestSize = size;
        }
    }
    return best;
}

int BuildPosterChart(TChart& chart, const TPosterOptions& options) {
    const QString person = options.PersonId.isEmpty() ? LargestFatherLine() : options.PersonId;
    chart.Clear();
    chart.Defaults.ShowDates = options.Dates;
    chart.Defaults.ShowPicture = options.Pictures;
    chart.SetDatesShown(options.Calendar, false);
    chart.SetLeftToRight(options.LeftToRight, false);
    chart.SetRootAtTop(true, false);
    chart.SetLinkType(TLinkType::Stick);
    const int root = chart.BuildGenerations(person, options.Up, options.Down, options.Daughters);
    if (root >= 0 && options.Spouses) {
        QStringList ids;
        for (const TPersonObject& item : chart.Persons())
            ids << item.Id;
        chart.ShowSpousesOf(ids);
    }
    chart.DeselectAll();
    chart.ComputeAllSticks();
    return chart.IndexOf(chart.RootId);
}

QPageSize::PageSizeId PaperOf(const QString& name, bool* known) {
    static const QHash<QString, QPageSize::PageSizeId> papers = {{QStringLiteral("A4"), QPageSize::A4},
                                                                 {QStringLiteral("A3"), QPageSize::A3},
                                                                 {QStringLiteral("A2"), QPageSize::A2},
                                                                 {QStringLiteral("A1"), QPageSize::A1},
                                                                 {QStringLiteral("A0"), QPageSize::A0}};
    const auto it = papers.find(name.trimmed().toUpper());
    if (known)
        *known = it != papers.end();
    return it == papers.end() ? QPageSize::A3 : *it;
}

TPoster::TPoster(TChart& chart, const TPosterOptions& options) : chart_(chart), options_(options) {
    chart_.DeselectAll();
    chart_.ComputeAllSticks();
    family_ = FamilyName(chart_);
    const int root = chart_.IndexOf(chart_.RootId);
    founder_ = root < 0 ? QString() : chart_.Person(root).ExpandedName;
    TDateValue today;
    today.Gregorian = DateToDateNumber(QDate::currentDate());
    date_ = DateValueText(WithBothCalendars(today), TDateShown::Both);
    origin_ = chart_.Origin();
    const QSize extents = chart_.Extents();
    const QSizeF drawing((extents.width() - origin_.x()) * kUnit, (extents.height() - origin_.y()) * kUnit);
    const double title = 150;
    chartArea_ = QRectF(QPointF(kPad, kFrameInner + title), drawing);
    size_ = QSizeF(std::max(drawing.width() + 2 * kPad, 480.0), chartArea_.bottom() + kPad);
    chartArea_.moveLeft((size_.width() - drawing.width()) / 2);
    paper_ = QPageSize(options_.Paper).size(QPageSize::Point);
    if (options_.Landscape)
        paper_.transpose();
    const QSizeF step(paper_.width() - 2 * kMargin - kOverlap, paper_.height() - 2 * kMargin - kOverlap);
    columns_ = std::max(1, int(std::ceil((size_.width() - kOverlap) / step.width())));
    rows_ = std::max(1, int(std::ceil((size_.height() - kOverlap) / step.height())));
}

QString TPoster::TileName(int row, int column) const {
    return ColumnLetters(column) + QString::number(row + 1);
}

QRectF TPoster::TilePart(int row, int column) const {
    const QSizeF content(paper_.width() - 2 * kMargin, paper_.height() - 2 * kMargin);
    return QRectF(QPointF(column * (content.width() - kOverlap), row * (content.height() - kOverlap)),
                  content);
}

void TPoster::Paint(QPainter& painter, const QRectF& part) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(part.intersected(QRectF(QPointF(0, 0), size_)), Qt::white);
    // The frame: a strong rule and a fine one inside it.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kInk, 3));
    painter.drawRect(
        QRectF(QPointF(0, 0), size_).adjusted(kFrameOuter, kFrameOuter, -kFrameOuter, -kFrameOuter));
    painter.setPen(QPen(kInk, 0.8));
    painter.drawRect(
        QRectF(QPointF(0, 0), size_).adjusted(kFrameInner, kFrameInner, -kFrameInner, -kFrameInner));
    // The title: the family, the founder, the date.
    const QString name = chart_.Defaults.Font.Name;
    const QString family = FillPattern(Translate(QStringLiteral("The family tree of %s")), {family_});
    const QString founder = FillPattern(Translate(QStringLiteral("Descendants of %s")), {founder_});
    const QString date = FillPattern(Translate(QStringLiteral("Drawn on %s")), {date_});
    painter.setPen(kInk);
    Centred(painter, QRectF(kPad, kFrameInner + 18, size_.width() - 2 * kPad, 60), family,
            TitleFont(painter, name, family, 40, true));
    painter.setPen(QColor(0x30, 0x30, 0x30));
    Centred(painter, QRectF(kPad, kFrameInner + 80, size_.width() - 2 * kPad, 30), founder,
            TitleFont(painter, name, founder, 20, false));
    painter.setPen(QColor(0x60, 0x60, 0x60));
    Centred(painter, QRectF(kPad, kFrameInner + 112, size_.width() - 2 * kPad, 20), date,
            TitleFont(painter, name, date, 11, false));
    painter.restore();
    // The chart, drawn only where it meets the part.
    const QRectF shown = part.intersected(chartArea_);
    if (shown.isEmpty())
        return;
    const QPoint skip(int(std::floor((shown.left() - chartArea_.left()) / kUnit)),
                      int(std::floor((shown.top() - chartArea_.top()) / kUnit)));
    painter.save();
    painter.translate(chartArea_.topLeft());
    painter.scale(kUnit, kUnit);
    painter.translate(skip);
    const QSize view(int(std::ceil(shown.width() / kUnit)) + 2, int(std::ceil(shown.height() / kUnit)) + 2);
    PaintChart(chart_, painter, TChartMapping{1.0f, origin_.x() + skip.x(), origin_.y() + skip.y()}, view,
               false, nullptr, false);
    painter.restore();
}

void TPoster::PaintTile(QPainter& painter, int row, int column) const {
    const QRectF part = TilePart(row, column);
    const QRectF content(QPointF(kMargin, kMargin), part.size());
    painter.save();
    painter.setClipRect(content);
    painter.translate(content.topLeft() - part.topLeft());
    Paint(painter, part);
    painter.restore();
    painter.save();
    // Crop marks at the corners, in the margin.
    painter.setPen(QPen(Qt::black, 0.5));
    const double mark = 14;
    const double gap = 4;
    for (const QPointF& corner :
         {content.topLeft(), content.topRight(), content.bottomLeft(), content.bottomRight()}) {
        const double dx = corner.x() < paper_.width() / 2 ? -1 : 1;
        const double dy = corner.y() < paper_.height() / 2 ? -1 : 1;
        painter.drawLine(QPointF(corner.x() + dx * gap, corner.y()),
                         QPointF(corner.x() + dx * (gap + mark), corner.y()));
        painter.drawLine(QPointF(corner.x(), corner.y() + dy * gap),
                         QPointF(corner.x(), corner.y() + dy * (gap + mark)));
    }
    // Where the next tile lies over this one: dashed along the right and bottom overlaps.
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 0.5, Qt::DashLine));
    if (column + 1 < columns_)
        painter.drawLine(QPointF(content.right() - kOverlap, content.top()),
                         QPointF(content.right() - kOverlap, content.bottom()));
    if (row + 1 < rows_)
        painter.drawLine(QPointF(content.left(), content.bottom() - kOverlap),
                         QPointF(content.right(), content.bottom() - kOverlap));
    // The tile's name at the left of the top margin, where it lies in words at the right.
    painter.setPen(Qt::black);
    const QRectF label(kMargin + 24, 2, paper_.width() - 2 * kMargin - 48, kMargin - 4);
    const QString name = TileName(row, column);
    painter.setFont(TitleFont(painter, chart_.Defaults.Font.Name, name, 10, true));
    QTextOption left(Qt::AlignLeft | Qt::AlignVCenter);
    left.setTextDirection(Qt::LeftToRight);
    painter.drawText(label, name, left);
    const QString place = FillPattern(Translate(QStringLiteral("row %d of %d, column %s of %s")),
                                      {QString::number(row + 1), QString::number(rows_),
                                       ColumnLetters(column), ColumnLetters(columns_ - 1)});
    painter.setFont(TitleFont(painter, chart_.Defaults.Font.Name, place, 8, false));
    QTextOption right(Qt::AlignRight | Qt::AlignVCenter);
    right.setTextDirection(Qt::LayoutDirectionAuto);
    painter.drawText(label, place, right);
    painter.restore();
}

void TPoster::PaintAssembly(QPainter& painter) const {
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), paper_), Qt::white);
    const QString heading = Translate(QStringLiteral("Putting the poster together"));
    const QString how =
        FillPattern(Translate(QStringLiteral(
                        "%d sheets in %d rows of %d. Trim each sheet along its crop marks, lay it over "
                        "its neighbours up to their dashed lines and join them in the order shown.")),
                    {QString::number(TileCount()), QString::number(rows_), QString::number(columns_)});
    painter.setPen(kInk);
    Centred(painter, QRectF(kMargin, kMargin, paper_.width() - 2 * kMargin, 30), heading,
            TitleFont(painter, chart_.Defaults.Font.Name, heading, 16, true));
    painter.setPen(Qt::black);
    painter.setFont(TitleFont(painter, chart_.Defaults.Font.Name, how, 9, false));
    QTextOption wrap(Qt::AlignHCenter | Qt::AlignTop);
    wrap.setWrapMode(QTextOption::WordWrap);
    wrap.setTextDirection(Qt::LayoutDirectionAuto);
    painter.drawText(QRectF(kMargin, kMargin + 34, paper_.width() - 2 * kMargin, 40), how, wrap);
    // The poster made small, the tiles' grid over it.
    const QRectF room(kMargin, kMargin + 80, paper_.width() - 2 * kMargin,
                      paper_.height() - 2 * kMargin - 80);
    const QSizeF covered(TilePart(rows_ - 1, columns_ - 1).bottomRight().x(),
                         TilePart(rows_ - 1, columns_ - 1).bottomRight().y());
    const double scale = std::min(room.width() / covered.width(), room.height() / covered.height());
    const QPointF at(room.left() + (room.width() - covered.width() * scale) / 2, room.top());
    painter.translate(at);
    painter.scale(scale, scale);
    Paint(painter, QRectF(QPointF(0, 0), size_));
    painter.setBrush(Qt::NoBrush);
    for (int row = 0; row < rows_; ++row) {
        for (int column = 0; column < columns_; ++column) {
            const QRectF tile = TilePart(row, column);
            painter.setPen(QPen(QColor(0xc0, 0x30, 0x30), 1.2 / scale));
            painter.drawRect(tile);
            painter.setPen(QColor(0xc0, 0x30, 0x30));
            painter.setFont(TitleFont(painter, chart_.Defaults.Font.Name, QStringLiteral("A1"),
                                      std::min(tile.height() / 3, 10 / scale), true));
            painter.drawText(tile, Qt::AlignCenter, TileName(row, column));
        }
    }
    painter.restore();
}

bool PaintPosterTiles(const TPoster& poster, QPagedPaintDevice& device, const TPosterProgress& progress) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The device may print at any resolution; the pages are drawn in points.
    const double toDevice = device.logicalDpiX() / 72.0;
    painter.scale(toDevice, toDevice);
    poster.PaintAssembly(painter);
    int done = 0;
    for (int row = 0; row < poster.Rows(); ++row) {
        for (int column = 0; column < poster.Columns(); ++column) {
            if (progress && !progress(done, poster.TileCount())) {
                painter.end();
                return false;
            }
            device.newPage();
            poster.PaintTile(painter, row, column);
            ++done;
        }
    }
    return painter.end();
}

namespace {

using PagePainter = std::function<void(QPainter&)>;

bool PdfOfPoster(const TPoster& poster, QByteArray& pdf, QString* error, const TPosterProgress& progress) {
    pdf.clear();
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    double unit = 1;
    bool done = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setCreator(QStringLiteral("Verdan"));
        QSizeF page = poster.PaperSize();
        if (!poster.Tiled()) {
            // A page over 200 inches is written smaller and given the unit that brings it back to size.
            page = poster.Size();
            unit = std::max(1.0, std::ceil(std::max(page.width(), page.height()) / kMaxPdfSide * 100) / 100);
            page /= unit;
        }
        writer.setPageLayout(QPageLayout(QPageSize(page, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                         QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        if (poster.Tiled()) {
            done = PaintPosterTiles(poster, writer, progress);
        } else {
            QPainter painter;
            if (painter.begin(&writer)) {
                painter.scale(1 / unit, 1 / unit);
                poster.Paint(painter, QRectF(QPointF(0, 0), poster.Size()));
                done = painter.end();
            }
        }
    }
    if (!done)
        return Fail(error, Translate(QStringLiteral("The PDF document could not be made.")));
    if (!SetPdfInformation(pdf, {{QStringLiteral("Creator"), QStringLiteral("Verdan")}},
                           QDateTime::currentDateTime()) ||
        (unit > 1 && !SetPdfUserUnit(pdf, unit)))
        return Fail(error, Translate(QStringLiteral("The PDF document could not be made.")));
    return true;
}

bool SvgOf(const QSizeF& page, const PagePainter& paint, QByteArray& svg) {
    svg.clear();
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(72);
    generator.setSize(page.toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), page));
    generator.setDescription(Translate(QStringLiteral("Family Tree Chart")));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    paint(painter);
    return painter.end();
}

// A picture of the page at 150 dots to the inch, or smaller where that would pass the size pictures take.
bool PngOf(const QSizeF& page, const PagePainter& paint, QByteArray& png, QString* error) {
    double dpi = 150;
    const double side = std::max(page.width(), page.height()) * dpi / 72;
    if (side > kMaxPictureSide)
        dpi *= kMaxPictureSide / side;
    QSize pixels((page * dpi / 72).toSize());
    while (qint64(pixels.width()) * pixels.height() > kMaxPicturePixels) {
        dpi *= 0.9;
        pixels = (page * dpi / 72).toSize();
    }
    QImage image(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    if (image.isNull())
        return Fail(error, Translate(QStringLiteral("There is not enough memory for the picture.")));
    image.fill(Qt::white);
    image.setDotsPerMeterX(int(dpi / 0.0254));
    image.setDotsPerMeterY(int(dpi / 0.0254));
    {
        QPainter painter(&image);
        painter.scale(dpi / 72, dpi / 72);
        paint(painter);
    }
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return Fail(error, Translate(QStringLiteral("The picture could not be encoded.")));
    return true;
}

} // namespace

bool ExportPoster(const TPoster& poster, const QString& path, QString* error,
                  const TPosterProgress& progress) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"pdf") {
        QByteArray pdf;
        return PdfOfPoster(poster, pdf, error, progress) && WriteFile(path, pdf, error);
    }
    if (suffix != u"svg" && suffix != u"png")
        return Fail(error, Translate(QStringLiteral("A poster is written as a PDF, SVG or PNG file.")));
    // One picture of the whole poster, or a picture per tile with the assembly sheet.
    QList<std::tuple<QString, QSizeF, PagePainter>> pages;
    if (!poster.Tiled()) {
        pages.append({path, poster.Size(), [&](QPainter& p) {
                          poster.Paint(p, QRectF(QPointF(0, 0), poster.Size()));
                      }});
    } else {
        pages.append({TileFile(path, QStringLiteral("assembly")), poster.PaperSize(), [&](QPainter& p) {
                          poster.PaintAssembly(p);
                      }});
        for (int row = 0; row < poster.Rows(); ++row)
            for (int column = 0; column < poster.Columns(); ++column)
                pages.append({TileFile(path, poster.TileName(row, column)), poster.PaperSize(),
                              [&poster, row, column](QPainter& p) {
                                  poster.PaintTile(p, row, column);
                              }});
    }
    for (qsizetype k = 0; k < pages.size(); ++k) {
        if (progress && !progress(int(k), int(pages.size())))
            return Fail(error, Translate(QStringLiteral("The export was cancelled.")));
        const auto& [file, page, paint] = pages[k];
        QByteArray bytes;
        if (suffix == u"svg" ? !SvgOf(page, paint, bytes) : !PngOf(page, paint, bytes, error))
            return Fail(error, error && !error->isEmpty()
                                   ? *error
                                   : Translate(QStringLiteral("The drawing could not be made.")));
        if (!WriteFile(file, bytes, error))
            return false;
    }
    return true;
}

} // namespace verdan
