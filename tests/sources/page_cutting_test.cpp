#include "sources/get_song_list.h"

#include "support/temp_dir.h"

#include "print_qstring.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <fstream>

namespace tavo {
namespace {

struct CutCase {
    const char* name;
    QString text, start, end, expected;
};

TEST(CutBetween, CutsEveryPieceBetweenStartAndTheNextEnd) {
    const CutCase cases[] = {
        {"two pieces", "x<a>1</a>y<a>2</a>", "<a>", "</a>", "1{@}2{@}"},
        {"no start marker", "1</a>2</a>", "<a>", "</a>", ""},
        {"start without end gives nothing more", "<a>1</a><a>2", "<a>", "</a>", "1{@}"},
        {"start markers inside a piece are removed", "<a>1<a>2</a>", "<a>", "</a>", "12{@}"},
        {"end searched after the whole start marker", "<a></a>b</a>", "<a></a>", "</a>", "b{@}"},
        {"empty piece", "<a></a>", "<a>", "</a>", "{@}"},
        {"near misses of the markers", "<<a<a>1<</a</a>", "<a>", "</a>", "1<</a{@}"},
        {"marker longer than the text", "<a", "<a>", "</a>", ""},
        {"same marker both ends", "|x|y|", "|", "|", "x{@}y{@}"},
        {"empty start marker cuts nothing", "abc", "", "c", ""},
        {"empty end marker cuts nothing", "abc", "a", "", ""},
        {"empty text", "", "<a>", "</a>", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CutBetween(c.text, c.start, c.end), c.expected) << c.name;
}

TEST(CutBetween, SearchReplyUrlsWithAnUnterminatedValue) {
    const QString start = QStringLiteral("\"url\":\"");
    const QString end = QStringLiteral("\",\"");
    // The second value lacks its end marker: it runs to the next end marker
    // anywhere later in the reply.
    const QString reply = R"(cb({"a":[{"url":"http://h/1.wav","n":"x"},{"url":"http://h/2.wav"},{"t":"y","z":"w"}]}))";
    EXPECT_EQ(CutBetween(reply, start, end), R"(http://h/1.wav{@}http://h/2.wav"},{"t":"y{@})");
    // ... and with none after it, contributes nothing.
    EXPECT_EQ(CutBetween(R"({"url":"a","b":1,"url":"c"})", start, end), "a{@}");
}

TEST(CutLinks, EachLinkBecomesLinkCommaTextBar) {
    EXPECT_EQ(CutLinks("<li><a href='/a/b.htm'>Name</a></li>"), "'/a/b.htm',Name|");
    EXPECT_EQ(CutLinks(R"(<a href="/x.htm">X</a><a href=/y.htm>Y</a>)"), "/x.htm,X|/y.htm,Y|");
    EXPECT_EQ(CutLinks("<a href='/x.htm' class='c'>X</a>"), "'/x.htm' class='c',X|");
    EXPECT_EQ(CutLinks("no links here"), "");
    EXPECT_EQ(CutLinks("<a href='/x.htm'>X"), "");
}

TEST(CutBetween, ProcessesPendingEventsWhileCutting) {
    int ticks = 0;
    QMetaObject::invokeMethod(qApp, [&ticks] { ++ticks; }, Qt::QueuedConnection);
    const QString text = QStringLiteral("<a>x</a>").repeated(1000);
    const QString cut = CutBetween(text, "<a>", "</a>");
    EXPECT_EQ(cut.size(), 4 * 1000);
    EXPECT_EQ(ticks, 1) << "a posted event runs during the cut, not after it";
}

TEST(MakePath, CreatesFoldersOfAnAbsolutePathOnly) {
    test::TempDir dir;
    const auto base = dir / "made";
    const QString b = QString::fromStdString(base.string());

    EXPECT_FALSE(MakePath("relative/folder"));
    EXPECT_FALSE(std::filesystem::exists("relative"));
    EXPECT_FALSE(MakePath(""));

    EXPECT_TRUE(MakePath(b + "/skin/blue/"));
    EXPECT_TRUE(std::filesystem::is_directory(base / "skin" / "blue"));

    // Backslashes and doubled separators are separators too.
    EXPECT_TRUE(MakePath(b + "\\skin\\\\green\\"));
    EXPECT_TRUE(std::filesystem::is_directory(base / "skin" / "green"));

    // With a "." anywhere, the last component is a file name.
    EXPECT_TRUE(MakePath(b + "/files/list.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(base / "files"));
    EXPECT_FALSE(std::filesystem::exists(base / "files" / "list.txt"));

    // A component that cannot be made (a file is in the way) is ignored.
    std::filesystem::create_directories(base);
    { std::ofstream(base / "blocker") << "x"; }
    EXPECT_TRUE(MakePath(b + "/blocker/inner"));
    EXPECT_FALSE(std::filesystem::is_directory(base / "blocker"));
}

}  // namespace
}  // namespace tavo
