#include "app/favourites_exchange.h"

#include "app/list_files.h"
#include "app/local_import.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

TEST(FavouritesExchange, PlaylistEntriesBecomeFavouritesLines) {
    const std::vector<PlaylistEntry> entries = {
        {"/m/a.mp3", false, "晴天", "周杰伦", 245000},
        {"http://radio.example/s", true, "", "", -1},
        {"/m/Artist-Title.flac", false, "", "", 1000},
        {"/m/a.mp3", false, "again", "", -1},       // twice in the list
        {"/m/known.mp3", false, "k", "", -1},        // already a favourite
        {"/m/bad<|>name.mp3", false, "x", "", -1},   // cannot be stored
    };
    const PlaylistImport r = FavouritesFromPlaylist(entries, {"/m/known.mp3"});
    EXPECT_EQ(r.lines, (QStringList{"晴天 ┈ 周杰伦<|>/m/a.mp3<|>245", "http://radio.example/s<|>http://radio.example/s",
                                    "Artist ┈ Title<|>/m/Artist-Title.flac<|>1"}));
    EXPECT_EQ(r.duplicates, 2);
    EXPECT_EQ(r.refused, 1);
    // What the list reader makes of them: the address is the link it plays.
    EXPECT_EQ(ParseListLine(r.lines[1])->link, QStringLiteral("http://radio.example/s"));
}

// Exporting the favourites and importing the playlist again gives the same
// lines, less the songs that have no link.
TEST(FavouritesExchange, ExportThenImportGivesTheSameLines) {
    const QStringList lines = {"晴天 ┈ 周杰伦<|>/m/a.mp3<|>245", "found online ┈ someone<|>",
                               "Radio<|>http://radio.example/s", "plain<|>/m/b.ogg"};
    QStringList entries, links;
    QList<int> seconds;
    for (const QString& l : lines) {
        const auto r = ParseListLine(l);
        entries.append(r->entry);
        links.append(r->link);
        seconds.append(FavouriteLineSeconds(l));
    }
    int leftOut = 0;
    const auto playlist = PlaylistFromFavourites(entries, links, seconds, &leftOut);
    EXPECT_EQ(leftOut, 1);
    for (const QByteArray& bytes : {WriteM3u8(playlist), WriteXspf(playlist)}) {
        const PlaylistRead back = ReadPlaylist(bytes, DetectPlaylistFormat(bytes, {}), "/");
        const PlaylistImport again = FavouritesFromPlaylist(back.entries, {});
        EXPECT_EQ(again.lines, (QStringList{lines[0], lines[2], lines[3]})) << bytes.left(40).constData();
    }
}

}  // namespace
}  // namespace tavo
