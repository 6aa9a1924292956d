// The calendar strip and the notes window on large notes databases.
// Targets: a month grid rebuild (its own connection opened, 42 days looked up
// and released) on 10,000 notes under 5 ms; opening the notes window on a
// year of 365 notes, and an all-notes search over 10,000 notes, under 50 ms
// each. The search is measured both with every note matching (the result
// list gets 10,000 dates) and with none matching (every note read).
#include <benchmark/benchmark.h>

#include "qt_bench_main.h"

#include "calendar/date_day.h"
#include "calendar/core/notes_store.h"
#include "calendar/ui/notes_window.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

using namespace tavo;

const QDate kFirstDay(2000, 1, 1);
const QString kNoteText = QStringLiteral("今天要做的事：整理歌单，备份记事，给妈妈打电话。Remember the 7:30 film, row 5.");

// A notes database of `count` days, one note a day from 2000-01-01, made
// in one transaction.
std::filesystem::path MakeNotes(const QTemporaryDir& dir, int count) {
    const std::filesystem::path file =
        std::filesystem::path(dir.path().toStdString()) / ("notes-" + std::to_string(count) + ".mdb");
    if (std::filesystem::exists(file)) return file;
    if (!CreateNotesDb(file)) std::abort();
    const std::string sql =
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(count - 1) +
        "), d(day) AS (SELECT date('2000-01-01', '+' || i || ' days') FROM n) "
        "INSERT INTO notepad SELECT strftime('%Y', day), strftime('%Y-%m', day), day, ?1 || day FROM d";
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    const QByteArray text = kNoteText.toUtf8();
    const bool ok = sqlite3_open(file.c_str(), &db) == SQLITE_OK &&
                    sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK &&
                    sqlite3_bind_text(st, 1, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT) ==
                        SQLITE_OK &&
                    sqlite3_step(st) == SQLITE_DONE;
    sqlite3_finalize(st);
    sqlite3_close(db);
    if (!ok) std::abort();
    return file;
}

QTemporaryDir& Dir() {
    static QTemporaryDir dir;
    return dir;
}

void BM_FillMonthGrid10kNotes(benchmark::State& state) {
    const std::filesystem::path file = MakeNotes(Dir(), 10000);
    const NotesOpener open = [&file] { return NotesDb::OpenForLookups(file); };
    const QDate month(2010, 8, 1);  // every day of it has a note
    int marked = 0;
    for (auto _ : state) {
        const MonthGrid g = DateDay::FillMonthGrid(month, QDate(2010, 8, 9), {}, open);
        marked = 0;
        for (const DayCell& c : g.RQ) marked += c.underline;
        benchmark::DoNotOptimize(marked);
    }
    state.counters["marked"] = marked;
}
BENCHMARK(BM_FillMonthGrid10kNotes)->Unit(benchmark::kMillisecond);

// The same grid with the connection already open: the lookups alone.
void BM_FillMonthGrid10kNotesLookupsOnly(benchmark::State& state) {
    const std::filesystem::path file = MakeNotes(Dir(), 10000);
    std::shared_ptr<NotesDb> db = NotesDb::Open(file);
    for (auto _ : state) {
        const auto heads = db->NoteHeads("2010-07-25", "2010-09-04", 41);
        benchmark::DoNotOptimize(heads.size());
    }
}
BENCHMARK(BM_FillMonthGrid10kNotesLookupsOnly)->Unit(benchmark::kMillisecond);

// Opening the notes window as the main window does, on a day of a year with
// 365 notes: connection, window, lists, the day's note, shown.
void BM_OpenNotesWindowYear365(benchmark::State& state) {
    NotesDbPath = MakeNotes(Dir(), 366 * 2);  // 2000 (366 days) and 2001 (365 days)
    const QDate day(2001, 6, 15);
    int listed = 0;
    for (auto _ : state) {
        OpenNotesWindow(day, {}, [] { return QDate(2001, 6, 15); });
        QApplication::processEvents();
        listed = static_cast<int>(NotesWindow()->logic().ui.list1.size());
        state.PauseTiming();
        NotesWindow()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["days"] = listed;
}
BENCHMARK(BM_OpenNotesWindowYear365)->Unit(benchmark::kMillisecond);

// "查找下一个" with "查找所有" ticked and a new search text, over 10,000 notes.
void AllNotesSearch(benchmark::State& state, const QString& keyA, const QString& keyB) {
    NotesDbPath = MakeNotes(Dir(), 10000);
    OpenNotesWindow(QDate(2010, 8, 9), {}, [] { return QDate(2010, 8, 9); });
    menuFrm* w = NotesWindow();
    w->Check1()->setChecked(true);
    bool flip = false;
    for (auto _ : state) {
        w->Text2()->setText((flip = !flip) ? keyA : keyB);  // a changed text searches again
        w->Command2()->click();
        benchmark::DoNotOptimize(w->logic().ui.List2.size());
    }
    state.counters["found"] = static_cast<double>(w->logic().ui.List2.size());
    w->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_AllNotesSearch10kEveryNoteMatches(benchmark::State& state) {
    AllNotesSearch(state, QStringLiteral("备份记事"), QStringLiteral("妈妈"));
}
BENCHMARK(BM_AllNotesSearch10kEveryNoteMatches)->Unit(benchmark::kMillisecond);

void BM_AllNotesSearch10kNoMatch(benchmark::State& state) {
    AllNotesSearch(state, QStringLiteral("没有这样的字"), QStringLiteral("nothing like it"));
}
BENCHMARK(BM_AllNotesSearch10kNoMatch)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return tavo::bench::RunWithApplication(argc, argv); }
