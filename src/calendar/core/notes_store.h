#pragma once
// LinKMDB: the notes database "notepad/notepad.mdb" under the program folder.
//
// The file is an SQLite database holding one table:
//   notepad (qel_year TEXT, qel_Month TEXT, qel_date TEXT, qel_text TEXT)
// with an index on qel_date, one row per day that has (or is being given) a
// note. Dates are "YYYY-MM-DD" texts, so they sort chronologically as text.
// Column names match without regard to case.
//
// Every statement binds its values as parameters: a note or a search text is
// stored and matched exactly as typed (quotes, "%", "_", backslashes, line
// breaks). Each write is one statement in its own transaction with a rollback
// journal and full sync, so a crash during a write leaves the previous
// content intact.
//
// Shared state (one for the whole process): NotesConn, NotesDbOpen and
// NotesDbPath. The notes window uses NotesConn from the moment it is shown
// until it closes. The month grid may open its own NotesDb for a rebuild
// (NotesDb::Open) so that it never replaces the window's connection.

#include "calendar/note_heads.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace tavo {

namespace platform {
class SqliteDb;
}

class NotesDb : public NoteHeadReader {
public:
    // Opens an existing notes database. Returns null, showing nothing, when
    // the file is missing, unreadable, write-protected or damaged (not an
    // SQLite file, failing its integrity check, or without the notepad table
    // and its four columns).
    static std::unique_ptr<NotesDb> Open(const std::filesystem::path& path);
    // The same for a connection that only reads (the month grid's, opened
    // for every rebuild): the whole-file integrity check is left out, so a
    // damaged page shows up as a failed lookup instead of a refused file.
    static std::unique_ptr<NotesDb> OpenForLookups(const std::filesystem::path& path);

    ~NotesDb();
    NotesDb(const NotesDb&) = delete;
    NotesDb& operator=(const NotesDb&) = delete;

    // The note of a day: no value when the day has no row (or the lookup
    // failed: then *ok is false); a null note reads as an empty text.
    std::optional<QString> FindNote(const QString& date, bool* ok = nullptr);
    // Adds a row for a day with no note yet (qel_text stays null).
    bool AddDay(const QString& year, const QString& month, const QString& date);
    // Every distinct qel_year.
    QStringList Years(bool* ok = nullptr);
    // The days of a year, newest first.
    QStringList DaysOfYear(const QString& year, bool* ok = nullptr);
    // The days whose note contains `key` as literal text (no wildcards;
    // ASCII letters match without regard to case), newest first.
    QStringList SearchDays(const QString& key, bool* ok = nullptr);
    // Replaces the note of a day. True also when no row matched.
    bool SaveNote(const QString& date, const QString& text);
    // SaveNote that never drops the text: when the day's row has
    // disappeared meanwhile, it is made again with the text (year and month
    // taken from the "YYYY-MM-DD" date). One transaction.
    enum class StoreResult { Updated, Recreated, Failed };
    StoreResult StoreNote(const QString& date, const QString& text);
    // Removes every row whose note is empty or null.
    bool RemoveEmptyNotes();

    // The days from..to (inclusive, "YYYY-MM-DD") that have a row, each with
    // the first `maxChars` characters of its note (null reads as empty), in
    // date order. One lookup for a whole month grid.
    using DayHead = NoteHead;
    std::vector<DayHead> NoteHeads(const QString& from, const QString& to, int maxChars, bool* ok = nullptr) override;
private:
    explicit NotesDb(std::unique_ptr<platform::SqliteDb> db);
    static std::unique_ptr<NotesDb> OpenChecked(const std::filesystem::path& path, bool wholeFile);
    QStringList Column(const char* sql, const QString* param, bool* ok);
    std::unique_ptr<platform::SqliteDb> db_;
};

// The open connection of the notes window, or null.
extern std::unique_ptr<NotesDb> NotesConn;
// The last OpenNotesDb succeeded and the connection has not been released.
extern bool NotesDbOpen;
// Full path of the notes database (program folder / notepad / notepad.mdb).
extern std::filesystem::path NotesDbPath;

// Opens `path` into NotesConn. On failure NotesConn is released and the
// result is false; no message is shown. Callers store the result in
// NotesDbOpen.
bool OpenNotesDb(const std::filesystem::path& path);
// Releases NotesConn and sets NotesDbOpen to false.
void CloseNotesDb();

// Makes an empty notes database at `path` (creating its folder) when no file
// exists there. An existing file, even a damaged one, is never touched.
// True when a usable database is there afterwards.
bool CreateNotesDb(const std::filesystem::path& path);

// Start-up: sets NotesDbPath to "notepad/notepad.mdb" under the program
// folder and makes the empty database there when it is missing.
void InitNotesDbPath();

// `text` with LIKE's wildcards and the escape character itself ("\") escaped,
// so that it matches literally in "LIKE ... ESCAPE '\'".
QString EscapeLike(const QString& text);

// The notes opener of the running program's month grid: a new lookup
// connection to NotesDbPath.
std::unique_ptr<NotesDb> OpenGridNotes();

}  // namespace tavo
