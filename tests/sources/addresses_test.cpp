#include "sources/addresses.h"
#include "sources/get_song_list.h"

#include "print_qstring.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

TEST(ChartEntryAddress, LinksResolveOnTheChartSiteAndNeverLeaveIt) {
    struct Case {
        const char* entry;  // as the period's link list holds it: link,text
        QString address;    // empty: refused
    } cases[] = {
        {"'/top/x.htm',Name", "http://chart.test:8080/top/x.htm"},  // quotes dropped
        {"/top/y'z.htm,Other", "http://chart.test:8080/top/yz.htm"},
        {"p/1.htm,Relative", "http://chart.test:8080/p/1.htm"},
        {"/a/../b.htm?x=1&y=2,Dots", "http://chart.test:8080/b.htm?x=1&y=2"},
        {"/top/%D2%F4.htm,Escaped", "http://chart.test:8080/top/%D2%F4.htm"},
        {"/歌/音.htm,Chinese", QStringLiteral("http://chart.test:8080/歌/音.htm")},
        {"HTTP://CHART.TEST:8080/up.htm,Same site", "http://chart.test:8080/up.htm"},
        {"http://evil.test/x.htm,Other host", ""},
        {"'//evil.test/x.htm',Protocol-relative", ""},
        {"https://chart.test:8080/x.htm,Other scheme", ""},
        {"http://chart.test:9/x.htm,Other port", ""},
        {"http://user@chart.test:8080/x.htm,Other user", ""},
        {"javascript:alert(1),Script", ""},
        {"file:///etc/passwd,Local file", ""},
        {"http:evil.test/x,No host", ""},
        {",Empty link", ""},
        {"/a\tb.htm,Control character", ""},
    };
    GetSongList g;
    g.ChartSiteBase = "http://chart.test:8080";
    for (const auto& c : cases) g.ChartEntries.append(QString::fromUtf8(c.entry));
    for (int i = 0; i < std::ssize(cases); ++i) EXPECT_EQ(g.ChartEntryAddress(i), cases[i].address) << cases[i].entry;
    EXPECT_EQ(g.ChartEntryAddress(std::ssize(cases)), "");
    EXPECT_EQ(g.ChartEntryAddress(-1), "");
    // Without a usable site nothing is fetched.
    g.ChartSiteBase = "not a site";
    EXPECT_EQ(g.ChartEntryAddress(0), "");
}

TEST(PlayableNetworkAddress, WebSchemesAlwaysStreamingSchemesWhenAllowed) {
    struct Case {
        QString address;
        bool web, withStreaming;
    } cases[] = {
        {"http://h/a.mp3", true, true},
        {"HTTPS://h:8443/a.mp3?x=1", true, true},
        {QStringLiteral("http://h/歌 曲.mp3"), true, true},
        {"mms://radio.test/live", false, true},
        {"rtsp://radio.test:554/live", false, true},
        {"rtmp://radio.test/live", false, false},
        {"ftp://h/a.mp3", false, false},
        {"file:///home/u/a.mp3", false, false},
        {"/home/u/a.mp3", false, false},
        {"C:\\music\\a.mp3", false, false},
        {"javascript:alert(1)", false, false},
        {"http:/a.mp3", false, false},
        {"http://", false, false},
        {"//h/a.mp3", false, false},
        {" http://h/a.mp3", false, false},
        {"http://h/a.mp3\n", false, false},
        {"http://h/a\x01.mp3", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsPlayableNetworkAddress(c.address, false), c.web) << c.address.toStdString();
        EXPECT_EQ(IsPlayableNetworkAddress(c.address, true), c.withStreaming) << c.address.toStdString();
    }
}

}  // namespace
}  // namespace tavo
