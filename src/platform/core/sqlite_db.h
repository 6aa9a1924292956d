#pragma once
// A small layer over the SQLite C API: one connection, prepared statements
// with bound text parameters, text columns read as QString.
//
// Every statement is prepared, run to completion and finalized by its user,
// so no read transaction stays open between calls. Text is exchanged as
// UTF-16 so that a QString comes back exactly as it was bound.

#include <QString>

#include <filesystem>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace tavo::platform {

class SqliteStatement {
public:
    enum class Step { Row, Done, Error };

    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // False when the statement did not compile (or a bind failed).
    bool ok() const { return stmt_ != nullptr && ok_; }

    // Binds text to parameter `index` (1-based). A null QString binds NULL.
    SqliteStatement& Bind(int index, const QString& text);

    Step Next();
    // Runs a statement that returns no rows; true when it completed.
    bool Run();

    bool IsNull(int column) const;
    // Column text; NULL reads as an empty text.
    QString Text(int column) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
    bool ok_ = false;
};

class SqliteDb {
public:
    // Opens an existing database file for reading and writing. Returns null
    // when the file is missing, cannot be opened for writing, or is not a
    // database. Never creates a file.
    static std::unique_ptr<SqliteDb> OpenExisting(const std::filesystem::path& path);
    // Creates (or opens) a database file, making it when missing.
    static std::unique_ptr<SqliteDb> OpenOrCreate(const std::filesystem::path& path);

    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    // Runs one or more statements that return no rows.
    bool Exec(const char* sql);
    SqliteStatement Prepare(const char* sql) { return SqliteStatement(db_, sql); }
    // The single text value of a one-row, one-column query, or a null QString.
    QString QueryText(const char* sql);

    QString LastError() const;
    sqlite3* handle() const { return db_; }

private:
    explicit SqliteDb(sqlite3* db) : db_(db) {}
    sqlite3* db_;
};

// True when the file starts with a plausible SQLite header: the 16-byte magic
// text and a valid page size, in a file at least one header long.
bool HasSqliteHeader(const std::filesystem::path& path);

}  // namespace tavo::platform
