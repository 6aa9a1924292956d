#pragma once
// What the bundled local services serve: invented songs, artists and charts,
// and the pages, feeds and replies built from them in the shapes the player
// reads. Pure functions of their arguments (and a batch counter), so tests
// can check a page without a server.
//
// Every song is known by a 32-bit seed, computed from its title and artist
// with spaces, "+", "-", "_", "&", "/" and bracketed groups ignored: the
// search and the lyrics find the same tune from the names the player has,
// however a list cleaned them. A name that is not in the catalogue still
// gets a tune of its own.

#include <cstdint>
#include <string>
#include <vector>

namespace tavo::services {

struct DemoSong {
    std::string title;
    std::string artist;
    bool english = false;
};

// The invented catalogue (UTF-8).
const std::vector<DemoSong>& DemoSongs();

// The seed of a song from its names (UTF-8).
std::uint32_t SongSeed(const std::string& title, const std::string& artist);
// The song with this seed, if it is in the catalogue.
const DemoSong* FindSong(std::uint32_t seed);

// "/song/t<8 hex digits>.wav"
std::string SongPath(std::uint32_t seed);
// The seed in a path made by SongPath; false when it is not one.
bool ParseSongPath(const std::string& path, std::uint32_t& seed);

// The charts in catalogue order: page numbers 0, 15, 16, 1..9, 11, 12.
struct DemoChart {
    int page;
    std::string name;
    bool english;
};
const std::vector<DemoChart>& DemoCharts();
const DemoChart* FindChart(int page);
inline constexpr int kChartPeriods = 3;
inline constexpr int kChartEntries = 2;
inline constexpr int kSongsPerEntry = 10;

// `base` is "http://host:port", no trailing slash.
std::string RadioPlaylistJson(const std::string& base, std::uint64_t batch);
// kind "jingdianlaoge" or "qingyinyue"; empty text for another kind.
std::string FeedXml(const std::string& kind);
// The chart index page (code page 936).
std::string ChartIndexPage(const DemoChart& chart);
// The song page of one entry of one period (code page 936); empty text
// outside the chart's periods and entries.
std::string ChartSongPage(const DemoChart& chart, int period, int entry);
// The songs listed on that page.
std::vector<const DemoSong*> ChartEntrySongs(const DemoChart& chart, int period, int entry);
// The search reply: a call of `callback` with the song's addresses.
std::string SearchReplyJsonp(const std::string& base, const std::string& query, const std::string& callback);
// The lyrics reply: XML with one CDATA section of LRC lines spread over the
// song's length (UTF-8; the service converts it to code page 936 unless asked
// otherwise).
std::string LyricsXml(const std::string& song, const std::string& singer);
// The update notice: parts joined by "{++}", fields by "{|}". By default it
// announces a version newer than the player's own, so the demo shows the
// whole rotation: the new version, then two notices.
inline constexpr const char* kDemoNewestVersion = "1.1";
std::string UpdateNotice(const std::string& base, const std::string& version);

// Names percent-encoded as the chart pages carry them: every byte of the
// code page 936 form from 0x80 up and every ASCII character other than a
// letter, a digit, "(", ")" and "&" as "%XX", a space as "+".
std::string PercentEncodeCp936(const std::string& utf8);
// UTF-8 to code page 936 bytes and back (a name that is not valid UTF-8 is
// read as code page 936).
std::string Utf8ToCp936(const std::string& utf8);
std::string AnyToUtf8(const std::string& bytes);

// Stations of the radio list ("radio.txt"): name and path "/radio/<id>.wav".
struct DemoStation {
    std::string name;
    std::string id;
};
const std::vector<DemoStation>& DemoStations();
inline constexpr int kStationSeconds = 600;

}  // namespace tavo::services
