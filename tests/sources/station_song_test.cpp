// What a playing station shows as its song.
#include "sources/station_song.h"

#include "print_qstring.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

TEST(StationSong, TheStreamTitleWithTheStationOrTheStationAlone) {
    const struct {
        const char* title;
        const char* text;
        const char* mprisTitle;
        const char* mprisArtist;
    } cases[] = {
        {"张学友 - 吻别", "张学友 - 吻别（中国之声）", "张学友 - 吻别", "中国之声"},
        {"", "中国之声", "中国之声", ""},
        {"   ", "中国之声", "中国之声", ""},
        {"中国之声", "中国之声", "中国之声", ""},  // a stream that only repeats its name
    };
    const QString station = QStringLiteral("中国之声");
    for (const auto& c : cases) {
        const QString title = QString::fromUtf8(c.title);
        EXPECT_EQ(StationSongText(station, title), QString::fromUtf8(c.text)) << c.title;
        const StationTrack t = StationTrackFor(station, title);
        EXPECT_EQ(t.title, QString::fromUtf8(c.mprisTitle)) << c.title;
        EXPECT_EQ(t.artist, QString::fromUtf8(c.mprisArtist)) << c.title;
    }
}

}  // namespace
}  // namespace tavo
