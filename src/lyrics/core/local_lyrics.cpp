#include "lyrics/core/local_lyrics.h"

#include "lyrics/lyric_file.h"
#include "platform/core/tag_reader.h"

namespace tavo {

namespace {

std::optional<QString> Usable(const std::optional<std::filesystem::path>& file) {
    if (!file) return std::nullopt;
    lyrics::LyricFile read = lyrics::ReadLyricFile(*file);
    if (read.error != lyrics::LyricFileError::None || read.text.trimmed().isEmpty()) return std::nullopt;
    return std::move(read.text);
}

}  // namespace

std::optional<QString> FindLocalLyrics(const std::filesystem::path& song) {
    if (auto own = Usable(lyrics::OwnLyricFile(song))) return own;
    const platform::TagReadResult tags = platform::ReadTags(song, platform::kTagLyrics);
    if (tags.error != platform::TagReadError::None) return std::nullopt;
    if (auto named = Usable(lyrics::NamedLyricFile(song, tags.info.artist, tags.info.title))) return named;
    if (!tags.info.lyrics.trimmed().isEmpty()) return tags.info.lyrics;
    return std::nullopt;
}

}  // namespace tavo
