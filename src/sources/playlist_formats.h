#pragma once
// Playlist files in and out: M3U/M3U8, PLS and XSPF are read; M3U8 and XSPF
// are written, always UTF-8.
//
// Reading never fails as a whole: what can be read becomes entries, every
// line (or XSPF track) that cannot is counted in `skipped`. Locations are
// either local paths (relative ones resolved against the playlist's folder,
// "file:" addresses turned into paths) or web addresses of an accepted
// scheme; any other scheme is skipped. Input above kMaxPlaylistBytes is
// refused, and at most kMaxPlaylistEntries entries are taken.

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <vector>

namespace tavo {

inline constexpr qsizetype kMaxPlaylistBytes = 32 * 1024 * 1024;
inline constexpr int kMaxPlaylistEntries = 100000;

enum class PlaylistFormat { Unknown, M3u, Pls, Xspf };

enum class PlaylistError {
    None,
    Missing,     // no such file
    TooLarge,    // above kMaxPlaylistBytes
    Unreadable,  // could not be read
    NotPlaylist, // no format recognised
};

struct PlaylistEntry {
    QString location;     // a local path or a web address
    bool isAddress = false;  // true for a web address
    QString title;        // empty when the playlist gives none
    QString artist;       // empty when the playlist gives none
    int durationMs = -1;  // -1 when unknown
};

struct PlaylistRead {
    PlaylistError error = PlaylistError::None;
    PlaylistFormat format = PlaylistFormat::Unknown;
    std::vector<PlaylistEntry> entries;
    int skipped = 0;  // lines or tracks that could not be read
    bool truncated = false;  // more than kMaxPlaylistEntries entries
};

// The format by content first ("#EXTM3U", "[playlist]", an XML "<playlist"),
// then by the file name's extension.
PlaylistFormat DetectPlaylistFormat(const QByteArray& bytes, const std::filesystem::path& name);

// Reads playlist bytes; `folder` is the folder relative paths start from.
PlaylistRead ReadPlaylist(const QByteArray& bytes, PlaylistFormat format, const std::filesystem::path& folder);
PlaylistRead ReadPlaylistFile(const std::filesystem::path& file);

// A location as an entry: a web address of an accepted scheme (http, https,
// mms, rtsp, rtmp), a "file:" address or a path (relative to `folder`).
// False when it is none of these.
bool ResolveLocation(const QString& text, const std::filesystem::path& folder, PlaylistEntry& entry);

QByteArray WriteM3u8(const std::vector<PlaylistEntry>& entries);
QByteArray WriteXspf(const std::vector<PlaylistEntry>& entries);

}  // namespace tavo
