#pragma once

#include "storage/jet_stream.h"

#include <QString>
#include <memory>
#include <sys/types.h>

namespace verdan {

// Reads a Jet database file in a child process: the database library trusts what it reads, and a damaged
// file can make it crash, loop or take all memory. Here any of that only ends the reading as a failure:
// the child is watched, stopped when it sends nothing for a while, and its memory is bounded.
class TIsolatedJetReader : public TJetTableReader {
public:
    // `silenceMs`: how long the child may send nothing before it counts as stuck. With `tablesOnly` the
    // tables come without their rows.
    explicit TIsolatedJetReader(const QString& path, int silenceMs = 30000, bool tablesOnly = false);
    ~TIsolatedJetReader() override; // stops the child if it still runs
    TIsolatedJetReader(const TIsolatedJetReader&) = delete;
    TIsolatedJetReader& operator=(const TIsolatedJetReader&) = delete;

    // Starts the child; false with Error() when that is impossible.
    bool Start();

    bool NextTable(TJetTable& table) override;
    bool NextRow(TJetRow& row) override;
    bool Failed() const override;
    QString Error() const override;
    qint64 TotalRows() const { return stream_ ? stream_->TotalRows() : -1; }

private:
    qint64 Receive(char* to, qint64 size, QString& reason);
    void Stop();

    QString path_;
    int silenceMs_;
    bool tablesOnly_;
    pid_t child_ = -1;
    int fd_ = -1;
    QString error_;
    std::unique_ptr<TJetStreamReader> stream_;
};

} // namespace verdan
