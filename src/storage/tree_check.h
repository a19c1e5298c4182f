#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace verdan {

class Tdm;

// What the integrity check of a tree file found.
struct TTreeCheck {
    bool Finished = false; // every table was checked (false when the check was stopped)
    QStringList Problems;  // the engine's description of each problem found; empty for a sound file
};

// Told the share of the work done (0 to 1) every few thousand engine steps; returning false stops the
// check.
using TTreeCheckProgress = std::function<bool(double done)>;

// Checks every table and index of the file open in dm, page by page, as the engine can: the pages,
// their links and that every index agrees with its table. Works on damaged files.
TTreeCheck CheckTreeFile(Tdm& dm, const TTreeCheckProgress& progress = {});

} // namespace verdan
