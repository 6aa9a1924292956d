#pragma once
// The lyrics cache: every lyric found online, kept on disk so that a song
// played again shows its lyrics without asking any service.
//
// One UTF-8 text file per song (artist and title), in the user's cache
// folder ($XDG_CACHE_HOME/tavo-musicbox/lyrics, by default
// ~/.cache/tavo-musicbox/lyrics). The file name is a readable part of the
// artist and title (letters and digits only) and a hash of both, so any
// artist or title gives a safe, distinct name.
//
// Bounded: after a write, the oldest files (by last use; a read counts as
// use) are removed until the folder holds at most its limit. A lyric the
// user chose by hand for a song is kept apart ("<name>.choice.lrc"), is
// never removed by the bound, and is read before the found one.
//
// Files are written whole through a temporary file and renamed, so a crash
// never leaves half a lyric; a file over the size limit reads as absent.

#include <QString>

#include <filesystem>
#include <optional>

namespace tavo {

inline constexpr qint64 kLyricsCacheBytes = 50LL * 1024 * 1024;
inline constexpr qint64 kMaxLyricsFileBytes = 1024 * 1024;

class LyricsCache {
public:
    explicit LyricsCache(std::filesystem::path folder, qint64 maxBytes = kLyricsCacheBytes);

    // $XDG_CACHE_HOME/tavo-musicbox/lyrics (~/.cache/... without it).
    static std::filesystem::path DefaultFolder();
    const std::filesystem::path& Folder() const { return folder_; }

    // The by-hand choice when there is one, otherwise the found lyric.
    std::optional<QString> Read(const QString& artist, const QString& title) const;
    std::optional<QString> Choice(const QString& artist, const QString& title) const;

    // Keeps a lyric found online (then applies the bound). False when it
    // could not be written.
    bool Store(const QString& artist, const QString& title, const QString& text);
    // Keeps the user's choice for the song.
    bool Remember(const QString& artist, const QString& title, const QString& text);

    // The file name stem of a song (without ".lrc").
    static QString FileStem(const QString& artist, const QString& title);
    // Total size of the found lyrics (choices not counted).
    qint64 FoundBytes() const;

private:
    std::filesystem::path FoundFile(const QString& artist, const QString& title) const;
    std::filesystem::path ChoiceFile(const QString& artist, const QString& title) const;
    void Trim(const std::filesystem::path& keep);

    std::filesystem::path folder_;
    qint64 maxBytes_;
};

}  // namespace tavo
