#pragma once

#include <QString>
#include <sqlite3.h>
#include <string_view>

// Helpers shared by the GEDCOM reader and the import's writers.
namespace verdan {

// Tags compare in upper case: some writers use lower-case tags.
inline bool TagIs(std::string_view tag, std::string_view upper) {
    if (tag.size() != upper.size())
        return false;
    for (size_t i = 0; i < tag.size(); ++i) {
        const char c = tag[i] >= 'a' && tag[i] <= 'z' ? char(tag[i] - 'a' + 'A') : tag[i];
        if (c != upper[i])
            return false;
    }
    return true;
}

// One statement prepared once and run for many rows, straight on the import's connection for speed. Texts
// are bound without a copy, so every value must live until Run(): bind and run in one expression. Empty
// texts are written as NULL.
class TGedStatement {
public:
    TGedStatement(sqlite3* db, const char* sql) {
        sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &Stmt, nullptr);
    }
    ~TGedStatement() { sqlite3_finalize(Stmt); }
    TGedStatement(const TGedStatement&) = delete;
    TGedStatement& operator=(const TGedStatement&) = delete;

    bool Prepared() const { return Stmt != nullptr; }

    TGedStatement& Text(const QString& value) {
        if (value.isEmpty())
            sqlite3_bind_null(Stmt, ++Index);
        else
            sqlite3_bind_text16(Stmt, ++Index, value.utf16(), int(value.size() * 2), SQLITE_STATIC);
        return *this;
    }
    TGedStatement& Int(qint64 value) {
        sqlite3_bind_int64(Stmt, ++Index, value);
        return *this;
    }
    // Runs the statement with the values bound so far and makes it ready for the next row.
    bool Run() {
        const int rc = sqlite3_step(Stmt);
        sqlite3_reset(Stmt);
        sqlite3_clear_bindings(Stmt);
        Index = 0;
        return rc == SQLITE_DONE;
    }

private:
    sqlite3_stmt* Stmt = nullptr;
    int Index = 0;
};

} // namespace verdan
