#pragma once
// The favourites file "MySongList.txt": one song a line, display name,
// "<|>", link (empty for songs found online, a full path for local files).
//
// Every change reads the file, builds the new content and replaces the file
// atomically (a temporary file beside it, then a rename), so a crash or a
// full disk in the middle never loses an entry. Lines the program writes are
// UTF-8; lines already in the file keep their bytes, so a line written by an
// old code page 936 tool stays exactly as it was (the reader takes each line
// as UTF-8 or GB18030, see platform/ansi_text.h).

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <vector>

namespace tavo {

// The display name of a local music file: the file name after the last "/"
// (or "\", for lists written on other systems), cut at its first "."; every
// "_", "-" and "~" becomes " ┈ ", and runs of them collapse into one.
// "D:\Music\Artist-Title.mp3" gives "Artist ┈ Title"; "a_-b.mp3" gives
// "a ┈ b"; "x.y.mp3" gives "x".
QString LocalFileDisplayName(const QString& path);

// The favourites line for a song: name "<|>" link. The list separators and
// line breaks in the name become spaces: a name (one from a web page too)
// can add neither a link nor a line.
QString FavouriteLine(const QString& name, const QString& link = QString());

// The entry a line shows in the list, as the list reader takes it: spaces
// trimmed, the text before "<|>", without "{@}".
QString FavouriteEntry(const QString& line);

// Reads and rewrites the favourites file; every rewrite replaces the file
// atomically, so a crash or a full disk never loses an entry.
class FavouritesEditor {
public:
    // One line that counts as an entry (not empty after trimming spaces).
    struct Line {
        QByteArray raw;  // its bytes, without CR and LF
        QString text;    // decoded
    };

    enum class Removal {
        Removed,      // the line is gone
        Changed,      // the line at that index is not the shown entry: nothing removed
        WriteFailed,  // the file could not be replaced: nothing removed
    };

    explicit FavouritesEditor(std::filesystem::path file) : file_(std::move(file)) {}
    const std::filesystem::path& path() const { return file_; }

    // The entry lines, in file order. Empty when the file is missing.
    std::vector<Line> Lines() const;

    // Appends lines (UTF-8, each followed by CR LF) after the existing
    // content. False, and the file untouched, when it exists but cannot be
    // read or when it cannot be replaced.
    bool Append(const QStringList& lines) const;

    // Removes entry line `index` (counting entry lines only), but only when
    // its entry still equals `shownEntry`. The other lines keep their bytes,
    // each followed by CR LF, and one more line end closes the file.
    Removal RemoveAt(int index, const QString& shownEntry) const;

    // Deletes the file. True when it is gone (or was never there).
    bool Clear() const;

private:
    std::filesystem::path file_;
};

}  // namespace tavo
