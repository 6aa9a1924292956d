// Any bytes as an answer of the synced-lyrics library: refused with a named
// error, or tracks within the bounds a reply may have.
#include "lyrics/lrclib_reply.h"

#include <QByteArray>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const tavo::LibraryGetReply get = tavo::ParseLibraryGet(bytes);
    if (get.error != tavo::LibraryError::kNone && get.track.HasLyrics()) std::abort();
    const tavo::LibrarySearchReply search = tavo::ParseLibrarySearch(bytes);
    if (search.tracks.size() > static_cast<size_t>(tavo::kMaxSearchResults)) std::abort();
    for (const tavo::LibraryTrack& t : search.tracks) {
        if (t.duration < 0 || t.syncedLyrics.size() > tavo::kMaxLibraryText || t.plainLyrics.size() > tavo::kMaxLibraryText)
            std::abort();
    }
    const int best = tavo::NearestByDuration(search.tracks, 200);
    if (best >= static_cast<int>(search.tracks.size())) std::abort();
    return 0;
}
