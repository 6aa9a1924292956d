#pragma once
// Where the web services live. The file "services.ini" in the program folder
// names the scheme, host and port of each service, one "Key=address" line
// each (sections and other lines are ignored):
//
//   RadioPlaylist=http://127.0.0.1:17380
//   RadioFeed=http://127.0.0.1:17380
//   ChartSite=http://127.0.0.1:17380
//   SongSearch=http://127.0.0.1:17380
//   Lyrics=http://127.0.0.1:17380
//   MakerSite=http://127.0.0.1:17380
//   RadioDirectory=https://all.api.radio-browser.info
//   LyricsLibrary=https://lrclib.net
//
// A missing file or key falls back to the bundled local services on
// 127.0.0.1 (kLocalServicesPort); the station directory and the lyrics
// library are open services on the web, which the bundled services do not
// stand in for (asked there, they find nothing). Addresses carry no trailing slash; the
// paths and query keys are the callers'.

#include <QString>

#include <filesystem>

namespace tavo {

inline constexpr int kLocalServicesPort = 17380;

struct ServiceHosts {
    QString radioPlaylist;  // the JSON radio playlist service
    QString radioFeed;      // the XML radio feed service
    QString chartSite;      // the chart site (ChartSiteBase)
    QString songSearch;     // the song-search service
    QString lyrics;         // the lyrics service
    QString makerSite;      // the maker's web site: update notice and the address shown to users
    QString radioDirectory; // the internet radio station directory
    QString lyricsLibrary;  // the synced-lyrics library
};

// Every service at http://127.0.0.1:port.
ServiceHosts LocalServiceHosts(int port = kLocalServicesPort);

// Reads a services file; missing keys (or a missing file) keep `fallback`'s.
ServiceHosts ReadServiceHosts(const std::filesystem::path& file, const ServiceHosts& fallback = LocalServiceHosts());

// The hosts in use: read once from the program folder's "services.ini"
// unless replaced.
const ServiceHosts& Services();
void SetServices(const ServiceHosts& hosts);
void ResetServices();  // read the file again on next use

}  // namespace tavo
