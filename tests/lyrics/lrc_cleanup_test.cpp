#include "lyrics/lrc_cleanup.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

std::optional<QStringList> Clean(const QString& reply) {
    // The reader hands over lines; lone breaks inside a line count too.
    return CleanLyricsReply(QStringList{reply});
}

TEST(CleanLyricsReply, CutsTheCdataSectionIntoLines) {
    struct Case {
        const char* what;
        QString reply;
        QStringList lines;
    } cases[] = {
        {"three LF-separated lines",
         QStringLiteral("<?xml version=\"1.0\"?><lyric><![CDATA[[00:01.00]a\n[00:02.00]b\n[00:03.00]c]]></lyric>"),
         {QStringLiteral("[00:01.00]a"), QStringLiteral("[00:02.00]b"), QStringLiteral("[00:03.00]c")}},
        {"CR LF, lone CR and lone LF are one break each",
         QStringLiteral("<![CDATA[a\r\nb\rc\nd]]>"),
         {"a", "b", "c", "d"}},
        {"empty pieces are kept",
         QStringLiteral("<![CDATA[\na\n\nb\n]]>"),
         {"", "a", "", "b", ""}},
        {"<br> inside starts a new line",
         QStringLiteral("<![CDATA[[00:01.00]one<br>[00:02.00]two]]>"),
         {"[00:01.00]one", "[00:02.00]two"}},
        {"every tag form is a break",
         QStringLiteral("<![CDATA[1<p>2<P>3</br>4<br>5<BR>6</BR>7</ br>8</ BR>9]]>"),
         {"1", "2", "3", "4", "5", "6", "7", "8", "9"}},
        {"other tags and other cases stay",
         QStringLiteral("<![CDATA[a<Br>b<b>c</p>]]>"),
         {"a<Br>b<b>c</p>"}},
        {"only the first section, up to the first end after it",
         QStringLiteral("]]><![CDATA[x]]>y]]><![CDATA[z]]>"),
         {"x"}},
        {"a section may span reply lines",
         QStringLiteral("<lyric><![CDATA[\r\nl1\r\nl2\r\n]]></lyric>"),
         {"", "l1", "l2", ""}},
        {"an empty section gives no lines", QStringLiteral("<![CDATA[]]>"), {}},
        {"a tag inside the markers' neighbourhood", QStringLiteral("<br><![CDATA[<br>]]><br>"), {"", ""}},
    };
    for (const Case& c : cases) {
        const auto got = Clean(c.reply);
        ASSERT_TRUE(got.has_value()) << c.what;
        EXPECT_EQ(*got, c.lines) << c.what;
    }
}

TEST(CleanLyricsReply, RepliesWithoutACompleteSectionAreNotFound) {
    const QString replies[] = {
        QString(),
        QStringLiteral("<?xml version=\"1.0\"?><lyric>no lyrics</lyric>"),  // well-formed, no CDATA
        QStringLiteral("<![CDATA[never closed"),
        QStringLiteral("]]> close before <![CDATA[open"),
        QStringLiteral("<![CDATA]]>"),    // the open marker is incomplete
        QStringLiteral("<![CDATA[]]"),    // so is the close marker
        QStringLiteral("<![CDATA[<br>]]"),
    };
    for (const QString& r : replies) EXPECT_FALSE(Clean(r).has_value()) << r.toStdString();
    EXPECT_FALSE(CleanLyricsReply(QStringList()).has_value());
}

TEST(SplitLrcSongName, SplitsTitleAndArtist) {
    struct Case {
        QString name, song, singer;
    } cases[] = {
        {QStringLiteral("青花瓷 ┈ 周杰"), QStringLiteral("青花瓷"), QStringLiteral("周杰")},
        {QStringLiteral("Bare Title"), QStringLiteral("Bare Title"), QString()},
        {QStringLiteral("T ┈ A\\B"), QStringLiteral("T"), QStringLiteral("A")},
        {QStringLiteral("T ┈ A ┈ extra"), QStringLiteral("T"), QStringLiteral("A")},
        {QStringLiteral("T ┈ A ┈ x\\y"), QStringLiteral("T"), QStringLiteral("A")},
        {QStringLiteral("T ┈ \\B"), QStringLiteral("T"), QString()},
        {QStringLiteral(" ┈ A"), QString(), QStringLiteral("A")},
        {QStringLiteral("T ┈ "), QStringLiteral("T"), QString()},
        {QStringLiteral("T┈A"), QStringLiteral("T┈A"), QString()},  // the separator has spaces
        {QStringLiteral("A\\B"), QStringLiteral("A\\B"), QString()},  // only the singer is cut
        {QString(), QString(), QString()},
    };
    for (const Case& c : cases) {
        const LrcSongParts p = SplitLrcSongName(c.name);
        EXPECT_EQ(p.song, c.song) << c.name.toStdString();
        EXPECT_EQ(p.singer, c.singer) << c.name.toStdString();
    }
}

TEST(LrcRequestAddress, KeepsTheFixedPathAndKeys) {
    const QString host = QStringLiteral("http://127.0.0.1:9");
    EXPECT_EQ(LrcRequestAddress(host, QStringLiteral("Bare")),
              host + QStringLiteral("/fcgi-bin/fcg_download_lrc.q?song=Bare&singer=&down=2"));
    // Non-ASCII text stays as written: the transport encodes it.
    EXPECT_EQ(LrcRequestAddress(host, QStringLiteral("音乐 ┈ 歌手")),
              host + QStringLiteral("/fcgi-bin/fcg_download_lrc.q?song=音乐&singer=歌手&down=2"));
    // Characters that would cut or bend the query are escaped.
    EXPECT_EQ(LrcRequestAddress(host, QStringLiteral("A&B=C #1 ┈ 50%+")),
              host + QStringLiteral("/fcgi-bin/fcg_download_lrc.q?song=A%26B=C %231&singer=50%25%2B&down=2"));
}

}  // namespace
}  // namespace tavo
