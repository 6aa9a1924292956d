// The lyrics fetch: the request on the wire (a lyrics service on
// 127.0.0.1), and the replies through the download layer's seam.
#include "lyrics/ui/lrc_box.h"

#include "fake_lyrics_host.h"
#include "platform/codepage.h"
#include "platform/program_folder.h"
#include "sources/services.h"
#include "support/event_loop.h"
#include "support/core/fake_net.h"
#include "support/local_http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

namespace tavo {
namespace {

using test::FakeLyricsHost;
using test::WaitFor;

const QString kName = QStringLiteral("青花瓷 ┈ 周杰伦");

QByteArray Gbk(const QString& s) { return platform::EncodeCp936(s); }

// "%XX" for every byte of the code page 936 form of `text` (all non-ASCII here).
std::string Cp936Escaped(const QString& text) { return Gbk(text).toPercentEncoding().toStdString(); }

TEST(LrcRequest, AsksForSongAndSingerInCodePage936) {
    test::ScopedProgramFolder folder;
    test::LocalHttpServer server;
    std::mutex mu;
    std::vector<std::string> targets, songs, singers;
    server.server().Get("/fcgi-bin/fcg_download_lrc.q", [&](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard<std::mutex> lock(mu);
        targets.push_back(req.target);
        songs.push_back(req.get_param_value("song"));
        singers.push_back(req.get_param_value("singer"));
        res.status = 404;
    });
    server.Start();
    SetServices(LocalServiceHosts(server.port()));
    LrcFetcher fetcher(nullptr);
    for (const QString& name : {QStringLiteral("青花瓷 ┈ 周杰伦\\方文山"), QStringLiteral("Tom & Jerry ┈ A+B")}) {
        fetcher.Begin(name, 1);
        ASSERT_TRUE(WaitFor([&] { return !fetcher.Fetching(); }));
    }
    server.Stop();
    ResetServices();
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0], "/fcgi-bin/fcg_download_lrc.q?song=" + Cp936Escaped(QStringLiteral("青花瓷")) +
                              "&singer=" + Cp936Escaped(QStringLiteral("周杰伦")) + "&down=2");
    EXPECT_EQ(songs[1], "Tom & Jerry");
    EXPECT_EQ(singers[1], "A+B");
}

class LrcFetch : public ::testing::Test {
protected:
    // Starts a fetch for `name` through the window, as a new start of a song.
    void Begin(const QString& name) {
        host.name = name;
        ++host.tag;
        box.DownLrcBegin();
    }
    test::ScopedProgramFolder folder;
    test::FakeNet net;
    FakeLyricsHost host;
    lrcBox box{&host};
};

TEST_F(LrcFetch, RepliesFillTheLinesOrSayNotFound) {
    const QString found = QStringLiteral("正在播放：") + kName;
    const QString notFound = QStringLiteral("没有找到“") + kName + QStringLiteral("”的歌词");
    const QStringList two = {QStringLiteral("[00:01.00]天青色等烟雨"), QStringLiteral("[00:02.00]而我在等你")};
    const struct {
        const char* what;
        QByteArray reply;  // null: the transfer fails
        QStringList lines;
    } cases[] = {
        {"GBK reply, CR LF lines",
         "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<lyric><![CDATA[" + Gbk(two.join("\r\n")) + "]]></lyric>\r\n",
         two},
        {"no CDATA section", "<?xml version=\"1.0\"?><lyric>none</lyric>", {}},
        {"empty reply", "", {}},
        {"a failed transfer (no completion)", QByteArray(), {}},
    };
    for (const auto& c : cases) {
        box.SetLabel1Text(QStringLiteral("before"));
        host.songLabel.clear();
        Begin(kName);
        EXPECT_EQ(box.Label1Text(), QStringLiteral("正在获取歌词...")) << c.what;
        if (c.reply.isNull())
            net.Latest()->Fail(QStringLiteral("HTTP 404"));
        else
            net.Latest()->Reply(c.reply);
        EXPECT_FALSE(box.Fetcher().Fetching()) << c.what;
        EXPECT_EQ(box.list1(), c.lines) << c.what;
        EXPECT_EQ(box.Label1Text(), c.lines.isEmpty() ? notFound : found) << c.what;
        // The main window's song label changes only when lyrics were found.
        EXPECT_EQ(host.songLabel, c.lines.isEmpty() ? QString() : found) << c.what;
    }
}

TEST_F(LrcFetch, StartingAFetchClearsTheOldLinesAndReply) {
    Begin(kName);
    net.Latest()->Reply("<![CDATA[a\nb]]>");
    ASSERT_EQ(box.list1().size(), 2);
    const auto tmp = platform::InProgramFolder("lrc.tmp");
    ASSERT_TRUE(std::filesystem::exists(tmp));
    Begin(QStringLiteral("慢"));
    EXPECT_TRUE(box.list1().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(tmp));
    net.Latest()->Reply("<![CDATA[slow]]>");
    EXPECT_EQ(box.list1(), QStringList{"slow"});
}

// A reply for a song that no longer plays never replaces what the new song
// shows: a newer fetch, a song without a fetch of its own (a radio
// station), cleared lines, the same song stopped (or given up: that stops
// it too) while its name stays the playing name, a cancelled fetch.
TEST_F(LrcFetch, ALateReplyIsIgnored) {
    const QByteArray old = "<![CDATA[[00:01.00]old]]>";
    for (int way = 0; way < 5; ++way) {
        Begin(QStringLiteral("旧"));
        const QPointer<test::FakeReader> late = net.Latest();
        if (way == 0) {
            Begin(QStringLiteral("新"));
            net.Latest()->Reply("<![CDATA[[00:01.00]new]]>");
        } else if (way == 1) {
            host.name = QStringLiteral("电台");
            ++host.tag;
        } else if (way == 2) {
            box.ClearLines();
        } else if (way == 3) {
            ++host.tag;  // stopped: the name is unchanged
        } else {
            box.CancelFetch();
        }
        const QStringList lines = box.list1();
        box.SetLabel1Text(QStringLiteral("now"));
        host.songLabel.clear();
        ASSERT_TRUE(late);
        late->Reply(old);
        EXPECT_EQ(box.list1(), lines) << way;
        EXPECT_EQ(box.Label1Text(), QStringLiteral("now")) << way;
        EXPECT_TRUE(host.songLabel.isEmpty()) << way;
    }
}

}  // namespace
}  // namespace tavo
