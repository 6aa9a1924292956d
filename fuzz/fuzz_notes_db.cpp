// A damaged notes database: a small valid database with some notes, patched
// at fuzzer-chosen offsets (or raw fuzzer bytes as the whole file). Opening
// must either refuse the file or give a connection on which every statement
// of the notes window runs without crashing.
//
// The month grid's lookup connection, which skips the whole-file check, must
// likewise read such a file without crashing.
//
// Input: first byte even -> patch mode, the rest as (offset high, offset low,
// value) triples applied to the valid database; odd -> the rest is the file.
#include "calendar/core/notes_store.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path g_dir;
std::string g_pristine;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    g_dir = base / ("tavo-fuzz-notes-" + std::to_string(getpid()));
    fs::create_directories(g_dir);
    const fs::path seed = g_dir / "seed.mdb";
    if (!tavo::CreateNotesDb(seed)) std::abort();
    {
        auto db = tavo::NotesDb::Open(seed);
        if (!db) std::abort();
        const char* days[] = {"2010-02-13", "2010-02-14", "2010-12-05", "2011-01-01"};
        for (const char* day : days) {
            const QString d = QString::fromLatin1(day);
            db->AddDay(d.left(4), d.left(7), d);
            db->SaveNote(d, QStringLiteral("记事 100% a_b it's \\ ") + d);
        }
    }
    g_pristine = ReadAll(seed);
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(g_dir, ec);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string bytes;
    if ((data[0] & 1) == 0) {
        bytes = g_pristine;
        for (size_t i = 1; i + 2 < size; i += 3) {
            const size_t offset = ((static_cast<size_t>(data[i]) << 8) | data[i + 1]) % bytes.size();
            bytes[offset] = static_cast<char>(data[i + 2]);
        }
    } else {
        bytes.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    }
    const fs::path file = g_dir / "notepad.mdb";
    std::error_code ec;
    fs::remove(fs::path(file.string() + "-journal"), ec);
    WriteAll(file, bytes);

    // The month grid's connection: no whole-file check, lookups only.
    if (auto grid = tavo::NotesDb::OpenForLookups(file)) {
        (void)grid->NoteHeads(QStringLiteral("2010-01-31"), QStringLiteral("2010-03-13"), 41);
        (void)grid->FindNote(QStringLiteral("2010-02-13"));
    }

    auto db = tavo::NotesDb::Open(file);
    if (!db) return 0;
    (void)db->FindNote(QStringLiteral("2010-02-14"));
    const QStringList years = db->Years();
    for (const QString& y : years) (void)db->DaysOfYear(y);
    (void)db->SearchDays(QStringLiteral("100%"));
    db->AddDay(QStringLiteral("2012"), QStringLiteral("2012-01"), QStringLiteral("2012-01-01"));
    db->SaveNote(QStringLiteral("2010-12-05"), QStringLiteral("changed"));
    db->StoreNote(QStringLiteral("2011-02-03"), QStringLiteral("made again"));
    db->RemoveEmptyNotes();
    return 0;
}
