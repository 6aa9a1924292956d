#pragma once
// A song's embedded cover as a file that desktop clients can open: written
// once into a cache folder and named by the song's path, size and time of
// change, so that a changed song gets a new file and an unchanged one is
// never read again.
//
// The cover bytes come from a reader function (the tag reader in the
// player). Only JPEG, PNG, GIF and WebP pictures of at most kMaxCoverBytes
// are written; anything else is no cover.

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <functional>
#include <optional>

namespace tavo::platform {

inline constexpr qsizetype kMaxCoverBytes = 16 * 1024 * 1024;

using CoverReader = std::function<std::optional<QByteArray>(const std::filesystem::path& song)>;

// The picture type by its first bytes: "jpg", "png", "gif", "webp", or empty.
QString CoverExtension(const QByteArray& bytes);

// The file:// address of `song`'s cover in `folder`, writing it when it is
// not there yet; empty when the song is not a local file, has no cover, the
// cover is not a picture or the folder cannot be written.
QString CoverFileUrl(const std::filesystem::path& folder, const std::filesystem::path& song, const CoverReader& read);

// The local file a song address names (an absolute path or a file: address),
// or an empty path for anything else.
std::filesystem::path LocalSongPath(const QString& address);

// The cover of the song at `address` through the tag reader, cached in
// UserCoverFolder(): what the media controls show as the song's art.
QString SongCoverUrl(const QString& address);

// $XDG_CACHE_HOME/tavo-musicbox/covers, by default ~/.cache/tavo-musicbox/covers.
std::filesystem::path UserCoverFolder();

}  // namespace tavo::platform
