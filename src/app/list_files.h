#pragma once
// The list files in the program folder: the favourites "MySongList.txt"
// and the radio stations "radio.txt", one "entry<|>link" record a line.

#include <QStringList>

#include <filesystem>
#include <optional>

namespace tavo {

// The favourites file: "MySongList.txt" in the program folder, whatever the
// letter case of the name on disk.
std::filesystem::path FavouritesFile();
// The radio station file "radio.txt".
std::filesystem::path RadioFile();

struct ListFile {
    QStringList entries;
    QStringList links;  // beside entries
    bool tooLarge = false;  // over kMaxListFileBytes: nothing was read
};

// A list file holds at most kMaxListEntries lines of a few hundred bytes:
// anything larger is not read (and not rewritten, see FavouritesEditor).
inline constexpr qsizetype kMaxListFileBytes = 32 << 20;

// One record of a list file, from one line: spaces trimmed, split at "<|>"
// into entry and link (a line without "<|>" is an entry with an empty link),
// "{@}" (the list separator) taken out of both. nullopt for an empty line.
struct ListRecord {
    QString entry;
    QString link;
};
std::optional<ListRecord> ParseListLine(const QString& line);

// Reads a list file: every line trimmed of spaces, empty lines skipped, each
// other line split at "<|>" into entry and link. A line without "<|>" is an
// entry with an empty link; "{@}" (the list separator) is taken out of both.
// At most kMaxListEntries records; a missing file gives none.
ListFile ReadListFile(const std::filesystem::path& file);

}  // namespace tavo
