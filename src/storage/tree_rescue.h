#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QTemporaryDir;

namespace verdan {

// The rows of one table a rescue wrote, and those it knows were lost.
struct TRescueTable {
    QString Name;
    qint64 Recovered = 0;
    // Rows the table's indexes name that no readable page held.
    qint64 Lost = 0;
    // False when pages of the table were damaged and no sound index tells how many rows they held.
    bool LossKnown = true;
};

// What a rescue wrote and what it could not save.
struct TRescueReport {
    QString Target;
    QList<TRescueTable> Tables;
    int DamagedPages = 0;
    bool TreeInfoRebuilt = false;     // the tree information row was lost and made anew
    bool OutsideGroupRebuilt = false; // the group of persons outside the tree was lost and made anew
    qint64 MissingParentCount = 0;    // persons whose father's or mother's row is missing
    qint64 MissingMateCount = 0;      // persons whose husband's, wife's or breastfeeding relative's row is
    QStringList MissingPersons;       // the first of both, as "name {id}"
    int PicturesCopied = 0;
    bool PicturesComplete = true;
};

// Told the share of the work done (0 to 1); returning false stops the rescue, which then leaves nothing.
using TRescueProgress = std::function<bool(double done)>;

// Where a rescue of the tree file writes by default: a folder of its own, "NAME (recovered)" beside the
// tree's own folder (or beside the file when the tree has no folder of its own), holding
// "NAME (recovered).vrd"; "-1", "-2", … are added to both while the folder exists.
QString RescuedTreePath(const QString& damaged);

// Writes a new tree at target (which must not exist; its folder and photos folder are made) with every
// row of every table that can be read from the damaged file, read page by page around the damaged ones,
// rows whose parent page was damaged included. The tree information row and the group outside the tree
// are made anew when they were lost; then the new file must pass the engine's integrity check; the
// pictures of the photos folder are copied. The damaged file is only read. The new tree appears only
// once complete (temporary file, synced, renamed). False with a translated error; nothing is left then.
bool RescueTree(const QString& damaged, const QString& target, const TRescueProgress& progress,
                TRescueReport& report, QString& error);

// While it lives, the readers of the open tree read a copy rescued from it (RescueTree into a temporary
// folder) in place of the tree itself: for reading a damaged tree whole, as an export does, although
// statements on the tree fail where they meet its damage. The tree file is only read.
class TRescuedReading {
public:
    explicit TRescuedReading(TRescueReport* report = nullptr);
    ~TRescuedReading();
    TRescuedReading(const TRescuedReading&) = delete;
    TRescuedReading& operator=(const TRescuedReading&) = delete;
    bool Active() const { return active_; }
    // Why the copy could not be made, translated.
    QString Error() const { return error_; }

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QStringList views_;
    bool active_ = false;
    QString error_;
};

// The rows of a table the report names as lost: -1 when it cannot tell.
qint64 LostRows(const TRescueReport& report, const QString& table);

// The report as lines to show, translated: rows saved and lost per table, rebuilt rows, persons whose
// parents or mates are missing, pictures.
QString RescueReportText(const TRescueReport& report);

} // namespace verdan
