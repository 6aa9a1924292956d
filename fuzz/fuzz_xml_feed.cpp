// Any bytes as a radio feed: a song list whose every entry has its " ┈ ",
// no crash, no hang.
#include "parser_fuzz_file.h"

#include "sources/get_song_list.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tavo::GetSongList g;
    const QString list = g.ParseXmlFeed(tavo::fuzz::WritePage(data, size));
    if (!list.isEmpty() && !list.endsWith(tavo::kEntrySep)) std::abort();
    return 0;
}
