#pragma once
// Lyric files on disk: decoding their bytes and finding the one that belongs
// to a song.
//
// A lyric file is text in one of: UTF-8 (with or without a byte-order mark),
// UTF-16 little- or big-endian with its byte-order mark, or GB18030 (the
// encoding old Chinese tools wrote). Files above kMaxLyricFileBytes are
// refused without being read whole.

#include <QByteArrayView>
#include <QString>

#include <filesystem>
#include <optional>

namespace tavo::lyrics {

inline constexpr qsizetype kMaxLyricFileBytes = 1024 * 1024;

enum class LyricFileError {
    None,
    Missing,     // no such file
    TooLarge,    // above kMaxLyricFileBytes
    Unreadable,  // it exists but could not be read
    NotText,     // the decoded text holds NUL characters: binary data
};

struct LyricFile {
    LyricFileError error = LyricFileError::None;
    QString text;  // decoded, byte-order mark dropped; empty on any error
};

// The text of lyric file bytes, by the rules above. A byte-order mark
// decides; without one, well-formed UTF-8 is UTF-8 and anything else GB18030.
QString DecodeLyricBytes(QByteArrayView bytes);

LyricFile ReadLyricFile(const std::filesystem::path& file);

// The lyric file beside `song`: first the song's own name with ".lrc" (or
// ".LRC"), then "artist - title.lrc" in the same folder when both are given.
// nullopt when neither exists.
// The two halves of it: the song's own name, and "artist - title.lrc".
std::optional<std::filesystem::path> OwnLyricFile(const std::filesystem::path& song);
std::optional<std::filesystem::path> NamedLyricFile(const std::filesystem::path& song, const QString& artist,
                                                    const QString& title);
std::optional<std::filesystem::path> FindLyricFileBeside(const std::filesystem::path& song,
                                                         const QString& artist = QString(),
                                                         const QString& title = QString());

}  // namespace tavo::lyrics
