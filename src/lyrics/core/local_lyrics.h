#pragma once
// Lyrics of a song on disk, before any online service is asked: a lyric file
// beside the song (its own name with ".lrc", then "artist - title.lrc"),
// then the lyrics embedded in its tags.

#include <QString>

#include <filesystem>
#include <optional>

namespace tavo {

// The lyric text found for `song`, undecoded markup and all (time tags,
// "[offset:]"); nullopt when the song has none of its own. A lyric file that
// is too large, binary or empty counts as none and the search goes on.
std::optional<QString> FindLocalLyrics(const std::filesystem::path& song);

}  // namespace tavo
