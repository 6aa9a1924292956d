#include "platform/core/sqlite_db.h"

#include <sqlite3.h>

#include <cstring>
#include <fstream>
#include <system_error>

namespace tavo::platform {

// ---------------------------------------------------------------------------
// SqliteStatement

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
    if (db == nullptr) return;
    ok_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) == SQLITE_OK && stmt_ != nullptr;
}

SqliteStatement::~SqliteStatement() {
    if (stmt_ != nullptr) sqlite3_finalize(stmt_);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept : stmt_(other.stmt_), ok_(other.ok_) {
    other.stmt_ = nullptr;
    other.ok_ = false;
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        if (stmt_ != nullptr) sqlite3_finalize(stmt_);
        stmt_ = other.stmt_;
        ok_ = other.ok_;
        other.stmt_ = nullptr;
        other.ok_ = false;
    }
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, const QString& text) {
    if (!ok()) return *this;
    int rc;
    if (text.isNull()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        // An empty but non-null text must bind as '' (not NULL): give a valid pointer.
        static const char16_t kEmpty[1] = {0};
        const void* data = text.isEmpty() ? static_cast<const void*>(kEmpty) : static_cast<const void*>(text.utf16());
        const qsizetype bytes = text.size() * 2;
        if (bytes > 0x7fffffff) {
            ok_ = false;
            return *this;
        }
        rc = sqlite3_bind_text16(stmt_, index, data, static_cast<int>(bytes), SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) ok_ = false;
    return *this;
}

SqliteStatement::Step SqliteStatement::Next() {
    if (!ok()) return Step::Error;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return Step::Row;
    if (rc == SQLITE_DONE) return Step::Done;
    ok_ = false;
    return Step::Error;
}

bool SqliteStatement::Run() {
    Step s;
    do {
        s = Next();
    } while (s == Step::Row);
    return s == Step::Done;
}

bool SqliteStatement::IsNull(int column) const {
    return stmt_ == nullptr || sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

QString SqliteStatement::Text(int column) const {
    if (stmt_ == nullptr) return {};
    const void* data = sqlite3_column_text16(stmt_, column);
    const int bytes = sqlite3_column_bytes16(stmt_, column);
    if (data == nullptr || bytes <= 0) return QStringLiteral("");
    return QString(reinterpret_cast<const QChar*>(data), bytes / 2);
}

// ---------------------------------------------------------------------------
// SqliteDb

namespace {

std::unique_ptr<SqliteDb> OpenWith(const std::filesystem::path& path, int flags,
                                   std::unique_ptr<SqliteDb> (*make)(sqlite3*)) {
    sqlite3* db = nullptr;
    const std::string file = path.string();
    if (sqlite3_open_v2(file.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);  // harmless on null
        return nullptr;
    }
    if (sqlite3_db_readonly(db, "main") == 1) {  // write-protected: notes could not be saved
        sqlite3_close_v2(db);
        return nullptr;
    }
    // Treat the file as untrusted: no schema-defined functions with side
    // effects, no writes to the schema through ordinary statements.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    return make(db);
}

}  // namespace

std::unique_ptr<SqliteDb> SqliteDb::OpenExisting(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return nullptr;
    return OpenWith(path, SQLITE_OPEN_READWRITE,
                    [](sqlite3* db) { return std::unique_ptr<SqliteDb>(new SqliteDb(db)); });
}

std::unique_ptr<SqliteDb> SqliteDb::OpenOrCreate(const std::filesystem::path& path) {
    return OpenWith(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                    [](sqlite3* db) { return std::unique_ptr<SqliteDb>(new SqliteDb(db)); });
}

SqliteDb::~SqliteDb() { sqlite3_close_v2(db_); }

bool SqliteDb::Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

QString SqliteDb::QueryText(const char* sql) {
    SqliteStatement st = Prepare(sql);
    if (st.Next() != SqliteStatement::Step::Row) return {};
    return st.Text(0);
}

QString SqliteDb::LastError() const { return QString::fromUtf8(sqlite3_errmsg(db_)); }

bool HasSqliteHeader(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    unsigned char header[100];
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return false;
    if (std::memcmp(header, "SQLite format 3", 16) != 0) return false;  // includes the closing zero byte
    const unsigned pageSize = (header[16] << 8) | header[17];
    const bool validPage = pageSize == 1 || (pageSize >= 512 && pageSize <= 32768 && (pageSize & (pageSize - 1)) == 0);
    return validPage;
}

}  // namespace tavo::platform
