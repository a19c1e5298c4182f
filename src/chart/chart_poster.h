#pragma once

#include "chart/chart.h"

#include <QPageSize>
#include <QRectF>
#include <QSizeF>
#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace verdan {

// Wall posters: a person's whole descendant tree, laid out, framed under a title with the family's name,
// the founder and the date, at the size it is read at (a chart unit is 3/4 of a point, so the chart's
// fonts print at their own size). One page of any size, or tiles of a paper size that are cut along their
// crop marks and joined over their overlaps, with an assembly sheet first.

struct TPosterOptions {
    QString PersonId; // empty: the founder of the tree's largest father line
    int Up = 0;
    int Down = 200;
    bool Daughters = false;
    bool Spouses = false;
    bool Dates = true;
    bool Pictures = false;
    TDateShown Calendar = TDateShown::Hijri;
    bool LeftToRight = false;
    QPageSize::PageSizeId Paper = QPageSize::A3;
    bool Landscape = false;
    bool Tiles = false;
};

// The founder (a person without a father, or under a group) whose father line holds the most persons;
// empty for a tree without persons.
QString LargestFatherLine();

// Fills the chart with the poster's persons and lays it out; the root's index, -1 when the person (or, by
// default, any founder) is not in the tree.
int BuildPosterChart(TChart& chart, const TPosterOptions& options);

// Paper names the command line and the poster window offer: "A4" … "A0".
QPageSize::PageSizeId PaperOf(const QString& name, bool* known = nullptr);

class TPoster {
public:
    // The chart must be laid out; the poster keeps a reference to it.
    TPoster(TChart& chart, const TPosterOptions& options);

    QSizeF Size() const { return size_; } // the whole poster, in points
    bool Tiled() const { return options_.Tiles; }
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    int TileCount() const { return columns_ * rows_; }
    QSizeF PaperSize() const { return paper_; } // in points, turned for landscape
    // "A1" for the first row's first column: columns by letter from the left, rows by number from the top.
    QString TileName(int row, int column) const;
    // The part of the poster a tile shows, in poster points (overlapping its neighbours).
    QRectF TilePart(int row, int column) const;

    // The poster's part (poster points) drawn with the painter's current transform in poster points.
    void Paint(QPainter& painter, const QRectF& part) const;
    // A tile page of PaperSize(): the tile's part inside the margins, crop marks, overlap lines, its name.
    void PaintTile(QPainter& painter, int row, int column) const;
    // The first page: the whole poster small, the tiles' grid with their names, how to join them.
    void PaintAssembly(QPainter& painter) const;

private:
    TChart& chart_;
    TPosterOptions options_;
    QString family_;
    QString founder_;
    QString date_;
    QSizeF size_;
    QRectF chartArea_; // where the chart stands on the poster
    QPoint origin_;    // the chart's least corner, in chart units
    QSizeF paper_;
    int columns_ = 1;
    int rows_ = 1;
};

// Progress of a long export: (done, total); returning false cancels.
using TPosterProgress = std::function<bool(int done, int total)>;

// Writes the poster by the file's extension: .pdf (one page, a page over 200 inches written smaller with
// its user unit; or the assembly sheet and the tiles), .svg or .png (one picture; tiles as one file each
// beside the named one, NAME-A1.png …, and NAME-assembly.png). False with the reason in error.
bool ExportPoster(const TPoster& poster, const QString& path, QString* error,
                  const TPosterProgress& progress = {});

// The assembly sheet and the tiles onto a paged device set to the poster's paper (a printer), a page each.
bool PaintPosterTiles(const TPoster& poster, QPagedPaintDevice& device, const TPosterProgress& progress = {});

} // namespace verdan
