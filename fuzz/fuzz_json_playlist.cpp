// Any bytes as a JSON radio playlist: one address slot per item plus one,
// never more songs than addresses.
#include "parser_fuzz_file.h"

#include "sources/get_song_list.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tavo::GetSongList g;
    const QString list = g.ParseJsonPlaylist(tavo::fuzz::WritePage(data, size));
    if (list.isEmpty()) return 0;
    if (!list.endsWith(tavo::kEntrySep)) std::abort();
    if (list.count(tavo::kEntrySep) > g.RadioUrls.size() - 1) std::abort();
    return 0;
}
