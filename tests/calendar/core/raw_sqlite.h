#pragma once
// SQL on a notes file through a plain connection, outside the notes store:
// to look at what was stored, and to break a database the way a full disk
// or another program would.

#include <sqlite3.h>

#include <filesystem>
#include <string>

namespace tavo::test {

inline bool RawExec(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    const bool ok =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK &&
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close_v2(db);
    return ok;
}

// The first column of the first row as UTF-8, "<null>" for NULL, "<none>"
// without a row, "<error>" when the query fails.
inline std::string RawQuery(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    std::string value = "<error>";
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            const unsigned char* t = sqlite3_column_text(st, 0);
            value = t ? std::string(reinterpret_cast<const char*>(t), static_cast<size_t>(sqlite3_column_bytes(st, 0)))
                      : "<null>";
        } else if (rc == SQLITE_DONE) {
            value = "<none>";
        }
    }
    sqlite3_finalize(st);
    sqlite3_close_v2(db);
    return value;
}

}  // namespace tavo::test
