// Any bytes as a chart song page: a song list, no crash, no hang. The
// marker pair the player uses, and the search reply's marker pair on the
// same text through the shared cutter.
#include "parser_fuzz_file.h"

#include "platform/ansi_text.h"
#include "sources/get_song_list.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tavo::GetSongList g;
    const auto& file = tavo::fuzz::WritePage(data, size);
    const QString list = g.ParseChartSongPage(file, QStringLiteral("checked='checked' name='Checkbox' value='"),
                                              QStringLiteral("'>"));
    if (!list.isEmpty() && !list.endsWith(tavo::kEntrySep)) std::abort();
    const QString reply = tavo::platform::ReadTextJoined(file);
    const QString urls = tavo::CutBetween(reply, QStringLiteral("\"url\":\""), QStringLiteral("\",\""));
    if (urls.size() > reply.size() + 3 * (reply.size() / 6 + 1)) std::abort();
    return 0;
}
