#include "calendar/core/notes_store.h"

#include "platform/program_folder.h"
#include "platform/core/sqlite_db.h"

#include <sqlite3.h>

#include <system_error>

namespace tavo {

using platform::SqliteDb;
using platform::SqliteStatement;

std::unique_ptr<NotesDb> NotesConn;
bool NotesDbOpen = false;
std::filesystem::path NotesDbPath;

namespace {

constexpr const char* kSchema =
    "CREATE TABLE notepad (qel_year TEXT, qel_Month TEXT, qel_date TEXT, qel_text TEXT);"
    "CREATE INDEX notepad_qel_date ON notepad (qel_date);";

}  // namespace

QString EscapeLike(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_') out += u'\\';
        out += c;
    }
    return out;
}

NotesDb::NotesDb(std::unique_ptr<SqliteDb> db) : db_(std::move(db)) {}
NotesDb::~NotesDb() = default;

std::unique_ptr<NotesDb> NotesDb::Open(const std::filesystem::path& path) { return OpenChecked(path, true); }

std::unique_ptr<NotesDb> NotesDb::OpenForLookups(const std::filesystem::path& path) {
    return OpenChecked(path, false);
}

std::unique_ptr<NotesDb> NotesDb::OpenChecked(const std::filesystem::path& path, bool wholeFile) {
    if (!platform::HasSqliteHeader(path)) return nullptr;
    std::unique_ptr<SqliteDb> db = SqliteDb::OpenExisting(path);
    if (!db) return nullptr;

    // A damaged file fails here (or fails to prepare the check at all).
    if (wholeFile) {
        SqliteStatement check = db->Prepare("PRAGMA quick_check");
        if (check.Next() != SqliteStatement::Step::Row || check.Text(0) != QStringLiteral("ok")) return nullptr;
        if (check.Next() != SqliteStatement::Step::Done) return nullptr;
    }
    // The notes table with its four columns (names matched without regard to case).
    if (db->QueryText("SELECT type FROM sqlite_master WHERE name = 'notepad' COLLATE NOCASE") !=
        QStringLiteral("table"))
        return nullptr;
    if (!db->Prepare("SELECT qel_year, qel_Month, qel_date, qel_text FROM notepad LIMIT 0").ok()) return nullptr;
    if (!wholeFile) return std::unique_ptr<NotesDb>(new NotesDb(std::move(db)));

    // Rollback journal with full sync: a crash during a write leaves the
    // previous content, restored on the next open.
    if (db->QueryText("PRAGMA journal_mode = DELETE").compare(QStringLiteral("delete"), Qt::CaseInsensitive) != 0)
        return nullptr;
    if (!db->Exec("PRAGMA synchronous = FULL")) return nullptr;
    return std::unique_ptr<NotesDb>(new NotesDb(std::move(db)));
}

std::optional<QString> NotesDb::FindNote(const QString& date, bool* ok) {
    SqliteStatement st = db_->Prepare("SELECT qel_text FROM notepad WHERE qel_date = ?1");
    st.Bind(1, date);
    const SqliteStatement::Step s = st.Next();
    if (ok != nullptr) *ok = s != SqliteStatement::Step::Error;
    if (s != SqliteStatement::Step::Row) return std::nullopt;
    return st.Text(0);
}

bool NotesDb::AddDay(const QString& year, const QString& month, const QString& date) {
    SqliteStatement st = db_->Prepare("INSERT INTO notepad (qel_year, qel_Month, qel_date) VALUES (?1, ?2, ?3)");
    st.Bind(1, year).Bind(2, month).Bind(3, date);
    return st.Run();
}

QStringList NotesDb::Column(const char* sql, const QString* param, bool* ok) {
    QStringList values;
    SqliteStatement st = db_->Prepare(sql);
    if (param != nullptr) st.Bind(1, *param);
    SqliteStatement::Step s;
    while ((s = st.Next()) == SqliteStatement::Step::Row) values.append(st.Text(0));
    if (ok != nullptr) *ok = s == SqliteStatement::Step::Done;
    if (s != SqliteStatement::Step::Done) values.clear();
    return values;
}

QStringList NotesDb::Years(bool* ok) {
    return Column("SELECT qel_year FROM notepad GROUP BY qel_year", nullptr, ok);
}

QStringList NotesDb::DaysOfYear(const QString& year, bool* ok) {
    return Column("SELECT qel_date FROM notepad WHERE qel_Year = ?1 ORDER BY qel_date DESC", &year, ok);
}

QStringList NotesDb::SearchDays(const QString& key, bool* ok) {
    const QString pattern = QStringLiteral("%") + EscapeLike(key) + QStringLiteral("%");
    return Column("SELECT qel_date FROM notepad WHERE qel_text LIKE ?1 ESCAPE '\\' ORDER BY qel_date DESC", &pattern,
                  ok);
}

bool NotesDb::SaveNote(const QString& date, const QString& text) {
    SqliteStatement st = db_->Prepare("UPDATE notepad SET qel_text = ?1 WHERE qel_date = ?2");
    // An empty editor saves an empty (not null) note.
    st.Bind(1, text.isNull() ? QStringLiteral("") : text).Bind(2, date);
    return st.Run();
}

NotesDb::StoreResult NotesDb::StoreNote(const QString& date, const QString& text) {
    if (!db_->Exec("BEGIN IMMEDIATE")) return StoreResult::Failed;
    StoreResult result = StoreResult::Failed;
    if (SaveNote(date, text)) {
        if (sqlite3_changes(db_->handle()) > 0) {
            result = StoreResult::Updated;
        } else {
            SqliteStatement st =
                db_->Prepare("INSERT INTO notepad (qel_year, qel_Month, qel_date, qel_text) VALUES (?1, ?2, ?3, ?4)");
            st.Bind(1, date.left(4)).Bind(2, date.left(7)).Bind(3, date).Bind(4, text.isNull() ? QStringLiteral("") : text);
            if (st.Run()) result = StoreResult::Recreated;
        }
    }
    if (result == StoreResult::Failed || !db_->Exec("COMMIT")) {
        db_->Exec("ROLLBACK");
        return StoreResult::Failed;
    }
    return result;
}

std::vector<NotesDb::DayHead> NotesDb::NoteHeads(const QString& from, const QString& to, int maxChars, bool* ok) {
    std::vector<DayHead> heads;
    SqliteStatement st = db_->Prepare(
        "SELECT qel_date, substr(qel_text, 1, ?3) FROM notepad WHERE qel_date BETWEEN ?1 AND ?2 ORDER BY qel_date");
    st.Bind(1, from).Bind(2, to).Bind(3, QString::number(maxChars));
    SqliteStatement::Step s;
    while ((s = st.Next()) == SqliteStatement::Step::Row) heads.push_back({st.Text(0), st.Text(1)});
    if (ok != nullptr) *ok = s == SqliteStatement::Step::Done;
    if (s != SqliteStatement::Step::Done) heads.clear();
    return heads;
}

bool NotesDb::RemoveEmptyNotes() {
    return db_->Exec("DELETE FROM notepad WHERE qel_text = '' OR qel_text IS NULL");
}

bool OpenNotesDb(const std::filesystem::path& path) {
    NotesConn = NotesDb::Open(path);
    return NotesConn != nullptr;
}

void CloseNotesDb() {
    NotesConn.reset();
    NotesDbOpen = false;
}

bool CreateNotesDb(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return NotesDb::Open(path) != nullptr;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);

    // Build the database under a scratch name, then put it in place only if
    // no file has appeared at the final name meanwhile.
    std::filesystem::path scratch = path;
    scratch += ".new";
    std::filesystem::remove(scratch, ec);
    {
        std::unique_ptr<SqliteDb> db = SqliteDb::OpenOrCreate(scratch);
        if (!db || !db->Exec("PRAGMA encoding = 'UTF-16le'") || !db->Exec("PRAGMA journal_mode = DELETE") ||
            !db->Exec(kSchema)) {
            db.reset();
            std::filesystem::remove(scratch, ec);
            return false;
        }
    }
    std::filesystem::create_hard_link(scratch, path, ec);
    if (ec) {
        // No hard links on this file system: rename, still never over an existing file.
        std::error_code ec2;
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec2)))
            std::filesystem::rename(scratch, path, ec2);
    }
    std::filesystem::remove(scratch, ec);
    return NotesDb::Open(path) != nullptr;
}

void InitNotesDbPath() {
    NotesDbPath = platform::InProgramFolder("notepad/notepad.mdb");
    CreateNotesDb(NotesDbPath);
}

std::unique_ptr<NotesDb> OpenGridNotes() { return NotesDb::OpenForLookups(NotesDbPath); }

}  // namespace tavo
