#pragma once

#include "chart/chart.h"
#include "text/sml.h"

#include <QString>

namespace verdan {

// Chart files (.chart): an SML document "Verdan Chart" with the chart's zoom and link style, its persons
// (identifier, position and look; names, dates and pictures are read from the tree again) and its
// marriage marks. A chart file belongs to the tree file it was made from, whose name it records.

// The document of the chart, as WriteChart saves it.
TNode ChartDocument(const TChart& chart);

// Saves the chart to path through a temporary file; success clears Modified. A failure shows "Save
// Failed" and leaves the chart modified.
bool WriteChart(TChart& chart, const QString& path);

struct TChartReadResult {
    bool Ok = false;
    QString Error;          // why the file could not be taken, translated
    bool OtherTree = false; // the file names another tree file
    QString TreeFileName;   // the tree file the chart names
    int SkippedPersons = 0; // entries whose person the open tree does not hold
    int DroppedMarks = 0;   // marks without both persons, or of a person with himself
};

// Replaces the chart's content by the file's. When the file names another tree file the user is warned
// and the persons the open tree holds are loaded. What was left out is told in a note. A file that cannot
// be read, or is no chart, is reported and leaves the chart empty, unnamed and unmodified; otherwise the
// chart takes the path as its file name and is not modified.
TChartReadResult ReadChart(TChart& chart, const QString& path);
// The same without any message, for callers that report themselves.
TChartReadResult ReadChartQuietly(TChart& chart, const QString& path);

} // namespace verdan
