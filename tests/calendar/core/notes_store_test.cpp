// The notes database: exact storage and literal search of user text, the
// clean-up of empty notes, damaged files, and recovery after a crash.
#include <gtest/gtest.h>

#include "calendar/core/notes_store.h"
#include "raw_sqlite.h"
#include "support/temp_dir.h"

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

namespace tavo {
namespace {

namespace fs = std::filesystem;

using test::RawExec;
using test::RawQuery;

class NotesStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = dir_ / "notepad" / "notepad.mdb";
        ASSERT_TRUE(CreateNotesDb(file_));
        db_ = NotesDb::Open(file_);
        ASSERT_TRUE(db_);
    }
    void Add(const QString& date, const QString& text) {
        ASSERT_TRUE(db_->AddDay(date.left(4), date.left(7), date));
        ASSERT_TRUE(db_->SaveNote(date, text));
    }

    test::TempDir dir_;
    fs::path file_;
    std::unique_ptr<NotesDb> db_;
};

TEST_F(NotesStoreTest, NewDatabaseIsEmptyAndNewDaysReadAsEmptyNotes) {
    EXPECT_TRUE(db_->Years().isEmpty());
    EXPECT_FALSE(db_->FindNote("2010-12-05").has_value());
    ASSERT_TRUE(db_->AddDay("2010", "2010-12", "2010-12-05"));
    const auto note = db_->FindNote("2010-12-05");
    ASSERT_TRUE(note.has_value());  // the row exists: the month grid marks the day
    EXPECT_TRUE(note->isEmpty());   // its note is still null
    EXPECT_EQ(RawQuery(file_, "SELECT qel_text FROM notepad"), "<null>");
    EXPECT_EQ(RawQuery(file_, "SELECT qel_Year || '|' || QEL_MONTH || '|' || qel_DATE FROM notepad"),
              "2010|2010-12|2010-12-05");
}

TEST_F(NotesStoreTest, UserTextIsStoredExactly) {
    const QString texts[] = {
        QStringLiteral("it's \"quoted\" ''"),
        QStringLiteral("'); DROP TABLE notepad; --"),
        QStringLiteral("100% _under_ back\\slash \\% \\_"),
        QStringLiteral("line one\r\nline two\nline three\r"),
        QStringLiteral("记事：明天 9:00 开会。\t完"),
        QString(QChar(0xD83C)) + QStringLiteral(" lone surrogate"),
        QStringLiteral("nul") + QChar(0) + QStringLiteral("inside"),
        QString(),
        QString(100 * 1024, u'记') + QStringLiteral("end"),
    };
    int day = 1;
    for (const QString& t : texts) {
        const QString date = QStringLiteral("2011-03-%1").arg(day++, 2, 10, QLatin1Char('0'));
        Add(date, t);
        const auto back = db_->FindNote(date);
        ASSERT_TRUE(back.has_value()) << date.toStdString();
        EXPECT_EQ(*back, t.isNull() ? QString("") : t) << date.toStdString();
        EXPECT_EQ(back->size(), t.size());
    }
    EXPECT_EQ(RawQuery(file_, "SELECT count(*) FROM notepad"), "9");
}

TEST_F(NotesStoreTest, SearchMatchesTheTypedTextLiterally) {
    Add("2010-01-01", "100% sure");
    Add("2010-01-02", "100 percent");
    Add("2010-01-03", "a_b");
    Add("2010-01-04", "axb");
    Add("2010-01-05", "C:\\notes\\x");
    Add("2010-01-06", "C:notes");
    Add("2010-01-07", "it's fine");
    Add("2010-01-08", "日程安排");
    Add("2011-01-09", "another 100% day");
    ASSERT_TRUE(db_->AddDay("2010", "2010-01", "2010-01-10"));  // null note never matches

    const struct {
        QString key;
        QStringList days;  // newest first
    } cases[] = {
        {"%", {"2011-01-09", "2010-01-01"}},
        {"0%", {"2011-01-09", "2010-01-01"}},
        {"_", {"2010-01-03"}},
        {"a_b", {"2010-01-03"}},
        {"A_B", {"2010-01-03"}},  // ASCII letters match without regard to case
        {"\\", {"2010-01-05"}},
        {"\\n", {"2010-01-05"}},
        {"'", {"2010-01-07"}},
        {"it's", {"2010-01-07"}},
        {"安排", {"2010-01-08"}},
        {"%%", {}},
        {"no such text", {}},
        {"100", {"2011-01-09", "2010-01-02", "2010-01-01"}},
    };
    for (const auto& c : cases) {
        bool ok = false;
        EXPECT_EQ(db_->SearchDays(c.key, &ok), c.days) << c.key.toStdString();
        EXPECT_TRUE(ok);
    }
}

TEST_F(NotesStoreTest, YearsAreDistinctAndDaysAreNewestFirst) {
    Add("2009-12-31", "a");
    Add("2010-02-14", "b");
    Add("2010-12-05", "c");
    Add("2010-02-13", "d");
    Add("2012-01-01", "e");
    QStringList years = db_->Years();
    years.sort();
    EXPECT_EQ(years, QStringList({"2009", "2010", "2012"}));
    EXPECT_EQ(db_->DaysOfYear("2010"), QStringList({"2010-12-05", "2010-02-14", "2010-02-13"}));
    EXPECT_EQ(db_->DaysOfYear("2011"), QStringList());
    EXPECT_EQ(db_->DaysOfYear("2010' OR '1'='1"), QStringList());
}

TEST_F(NotesStoreTest, EmptyAndNullNotesAreRemovedOthersStay) {
    ASSERT_TRUE(db_->AddDay("2010", "2010-05-01", "2010-05-01"));  // null note
    Add("2010-05-02", "");
    Add("2010-05-03", " ");  // a space is a note
    Add("2010-05-04", "keep");
    ASSERT_TRUE(db_->RemoveEmptyNotes());
    EXPECT_FALSE(db_->FindNote("2010-05-01").has_value());
    EXPECT_FALSE(db_->FindNote("2010-05-02").has_value());
    EXPECT_EQ(db_->FindNote("2010-05-03"), std::optional<QString>(" "));
    EXPECT_EQ(db_->FindNote("2010-05-04"), std::optional<QString>("keep"));
}

TEST_F(NotesStoreTest, WritesUseARollbackJournalWithFullSync) {
    db_.reset();
    ASSERT_TRUE(RawExec(file_, "PRAGMA journal_mode = WAL"));  // a file left in another mode
    EXPECT_EQ(RawQuery(file_, "PRAGMA journal_mode"), "wal");
    db_ = NotesDb::Open(file_);
    ASSERT_TRUE(db_);
    Add("2010-06-01", "x");
    db_.reset();
    EXPECT_EQ(RawQuery(file_, "PRAGMA journal_mode"), "delete");
    EXPECT_FALSE(fs::exists(fs::path(file_.string() + "-wal")));
}

TEST_F(NotesStoreTest, ACrashInTheMiddleOfAWriteLeavesThePreviousNotes) {
    for (int i = 1; i <= 20; ++i) Add(QStringLiteral("2010-07-%1").arg(i, 2, 10, QLatin1Char('0')), "before");
    db_.reset();
    const std::string big(200 * 1024, 'x');
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Start a large update with a tiny page cache so that changed pages
        // reach the database file, then die before the commit.
        sqlite3* db = nullptr;
        sqlite3_open_v2(file_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, "PRAGMA cache_size = 2; BEGIN", nullptr, nullptr, nullptr);
        sqlite3_exec(db, ("UPDATE notepad SET qel_text = '" + big + "'").c_str(), nullptr, nullptr, nullptr);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_TRUE(fs::exists(fs::path(file_.string() + "-journal")));  // a hot journal was left

    db_ = NotesDb::Open(file_);
    ASSERT_TRUE(db_);
    for (int i = 1; i <= 20; ++i)
        EXPECT_EQ(db_->FindNote(QStringLiteral("2010-07-%1").arg(i, 2, 10, QLatin1Char('0'))),
                  std::optional<QString>("before"));
}

// ---------------------------------------------------------------------------
// Missing and damaged files.

std::string Bytes(const fs::path& file) { return test::TempDir::Read(file); }

TEST(NotesStoreFiles, MissingAndDamagedFilesDoNotOpenAndStayUntouched) {
    test::TempDir dir;
    const fs::path good = dir / "good.mdb";
    ASSERT_TRUE(CreateNotesDb(good));
    ASSERT_TRUE(RawExec(good,
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                        "INSERT INTO notepad SELECT '2010', '2010-01', printf('2010-01-%03d', i), "
                        "hex(randomblob(250)) FROM n"));
    ASSERT_TRUE(NotesDb::Open(good));
    const std::string goodBytes = Bytes(good);
    ASSERT_GT(goodBytes.size(), 8192u);

    std::mt19937 rng(7);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    // The schema page is intact, the cell pointers of the later b-tree pages are not:
    // only the integrity check can tell.
    std::string corruptPages = goodBytes;
    const size_t pageSize = (static_cast<unsigned char>(goodBytes[16]) << 8) | static_cast<unsigned char>(goodBytes[17]);
    ASSERT_GE(goodBytes.size(), 4 * pageSize);
    for (size_t page = 2; (page + 1) * pageSize <= corruptPages.size(); ++page)
        for (size_t i = 8; i < 24; ++i) corruptPages[page * pageSize + i] = static_cast<char>(rng());
    std::string badPageSize = goodBytes;
    badPageSize[16] = 0x03;
    badPageSize[17] = 0x00;

    const struct {
        const char* name;
        std::string bytes;
    } damaged[] = {
        {"empty file", ""},
        {"text file", "2010-12-05 a note\r\n"},
        {"random bytes", noise},
        {"jet file", std::string("\0\1\0\0Standard Jet DB\0", 20) + noise},
        {"header only", goodBytes.substr(0, 100)},
        {"truncated", goodBytes.substr(0, goodBytes.size() / 2 + 100)},
        {"corrupt pages", corruptPages},
        {"bad page size", badPageSize},
    };
    for (const auto& d : damaged) {
        const fs::path file = dir.Write(std::string("damaged/") + d.name + ".mdb", d.bytes);
        EXPECT_FALSE(NotesDb::Open(file)) << d.name;
        EXPECT_FALSE(CreateNotesDb(file)) << d.name;  // never replaced by a fresh database
        EXPECT_EQ(Bytes(file), d.bytes) << d.name;
    }

    EXPECT_FALSE(NotesDb::Open(dir / "missing.mdb"));
    EXPECT_FALSE(NotesDb::Open(dir.path()));  // a folder
    EXPECT_FALSE(fs::exists(dir / "missing.mdb"));
    EXPECT_EQ(Bytes(good), goodBytes);
}

TEST(NotesStoreFiles, DatabasesWithoutTheNotesTableDoNotOpen) {
    test::TempDir dir;
    const struct {
        const char* name;
        const char* sql;
    } cases[] = {
        {"no table", "CREATE TABLE other (x TEXT)"},
        {"missing column", "CREATE TABLE notepad (qel_year TEXT, qel_Month TEXT, qel_date TEXT)"},
        {"a view", "CREATE TABLE t (qel_year, qel_Month, qel_date, qel_text);"
                   "CREATE VIEW notepad AS SELECT * FROM t"},
    };
    for (const auto& c : cases) {
        const fs::path file = dir / (std::string(c.name) + ".mdb");
        ASSERT_TRUE(RawExec(file, c.sql)) << c.name;
        EXPECT_FALSE(NotesDb::Open(file)) << c.name;
    }
    // Column names in another case are the same columns.
    const fs::path upper = dir / "upper.mdb";
    ASSERT_TRUE(RawExec(upper, "CREATE TABLE NOTEPAD (QEL_YEAR TEXT, QEL_MONTH TEXT, QEL_DATE TEXT, QEL_TEXT TEXT)"));
    auto db = NotesDb::Open(upper);
    ASSERT_TRUE(db);
    EXPECT_TRUE(db->AddDay("2010", "2010-01", "2010-01-01"));
    EXPECT_EQ(db->DaysOfYear("2010"), QStringList({"2010-01-01"}));
}

TEST(NotesStoreFiles, SharedStateAndStartUpDatabase) {
    test::ScopedProgramFolder folder;
    InitNotesDbPath();
    EXPECT_EQ(NotesDbPath, folder.path() / "notepad" / "notepad.mdb");
    ASSERT_TRUE(fs::is_regular_file(NotesDbPath));
    EXPECT_FALSE(fs::exists(fs::path(NotesDbPath.string() + ".new")));

    NotesDbOpen = OpenNotesDb(NotesDbPath);
    ASSERT_TRUE(NotesDbOpen);
    ASSERT_TRUE(NotesConn);
    ASSERT_TRUE(NotesConn->AddDay("2010", "2010-12", "2010-12-05"));
    ASSERT_TRUE(NotesConn->SaveNote("2010-12-05", "kept"));
    CloseNotesDb();
    EXPECT_FALSE(NotesDbOpen);
    EXPECT_FALSE(NotesConn);

    // A second start finds the database and keeps its notes.
    InitNotesDbPath();
    ASSERT_TRUE(OpenNotesDb(NotesDbPath));
    EXPECT_EQ(NotesConn->FindNote("2010-12-05"), std::optional<QString>("kept"));

    // A failed open releases the previous connection.
    EXPECT_FALSE(OpenNotesDb(folder.path() / "nothing.mdb"));
    EXPECT_FALSE(NotesConn);
    CloseNotesDb();
}

}  // namespace
}  // namespace tavo
