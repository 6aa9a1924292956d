#include "sources/services.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

TEST(ServiceHosts, MissingFileMeansTheBundledLocalServices) {
    test::TempDir dir;
    const ServiceHosts h = ReadServiceHosts(dir / "services.ini");
    EXPECT_EQ(h.songSearch, QStringLiteral("http://127.0.0.1:%1").arg(kLocalServicesPort));
    EXPECT_EQ(h.makerSite, h.songSearch);
}

TEST(ServiceHosts, FileOverridesOnlyTheKeysItNamesAndOnlyWithValidAddresses) {
    test::TempDir dir;
    dir.Write("services.ini",
              "[services]\r\n"
              "SongSearch = https://search.example:8443/\r\n"
              "lyrics=http://lyrics.example:81\n"
              "ChartSite=not an address\r\n"
              "RadioFeed=http://feeds.example/with/path\r\n"
              "garbage line without equals\r\n"
              "RadioDirectory=https://all.api.radio-browser.info/\r\n"
              "LyricsLibrary=https://lrclib.net\r\n");
    const ServiceHosts local = LocalServiceHosts(9);
    const ServiceHosts h = ReadServiceHosts(dir / "services.ini", local);
    EXPECT_EQ(h.songSearch, "https://search.example:8443");
    EXPECT_EQ(h.lyrics, "http://lyrics.example:81");
    EXPECT_EQ(h.chartSite, local.chartSite);  // invalid value ignored
    EXPECT_EQ(h.radioFeed, local.radioFeed);  // a path is not a host
    EXPECT_EQ(h.radioPlaylist, local.radioPlaylist);
    EXPECT_EQ(h.radioDirectory, "https://all.api.radio-browser.info");
    EXPECT_EQ(h.lyricsLibrary, "https://lrclib.net");
}

TEST(ServiceHosts, TheShippedFileNamesTheOpenServices) {
    const ServiceHosts h = ReadServiceHosts(std::filesystem::path(TAVO_SOURCE_DIR) / "data" / "services.ini");
    EXPECT_EQ(h.radioDirectory, "https://all.api.radio-browser.info");
    EXPECT_EQ(h.lyricsLibrary, "https://lrclib.net");
}

TEST(ServiceHosts, ProgramWideHostsComeFromTheProgramFolderUntilReplaced) {
    test::ScopedProgramFolder folder;
    folder.dir().Write("services.ini", "Lyrics=http://127.0.0.1:5\r\n");
    ResetServices();
    EXPECT_EQ(Services().lyrics, "http://127.0.0.1:5");
    SetServices(LocalServiceHosts(7));
    EXPECT_EQ(Services().lyrics, "http://127.0.0.1:7");
    ResetServices();
}

}  // namespace
}  // namespace tavo
