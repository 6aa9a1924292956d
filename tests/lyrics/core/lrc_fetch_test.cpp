// The lyrics fetch: the request on the wire (a lyrics service on
// 127.0.0.1), and the replies through the download layer's seam.
#include "lyrics/core/lrc_fetcher.h"

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
    LyricsModel lines;
    LrcFetcher fetcher(lines, nullptr);
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
    LrcFetch() {
        QObject::connect(&fetcher, &LrcFetcher::Found, [this](const QString& name) { ends << "found " + name; });
        QObject::connect(&fetcher, &LrcFetcher::NotFound, [this](const QString& name) { ends << "none " + name; });
    }
    // Starts a fetch for `name`, as a new start of a song.
    void Begin(const QString& name) { fetcher.Begin(name, ++playing); }

    test::ScopedProgramFolder folder;
    test::FakeNet net;
    std::uint64_t playing = 0;  // the playing song's tag
    LyricsModel lines;
    LrcFetcher fetcher{lines, [this] { return playing; }};
    QStringList ends;  // what each fetch ended with
};

TEST_F(LrcFetch, RepliesFillTheLinesOrSayNotFound) {
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
        ends.clear();
        int changes = 0;
        const auto counting = QObject::connect(&lines, &LyricsModel::Changed, [&] { ++changes; });
        Begin(kName);
        if (c.reply.isNull())
            net.Latest()->Fail(QStringLiteral("HTTP 404"));
        else
            net.Latest()->Reply(c.reply);
        QObject::disconnect(counting);
        EXPECT_FALSE(fetcher.Fetching()) << c.what;
        EXPECT_EQ(lines.Lines(), c.lines) << c.what;
        EXPECT_EQ(ends, QStringList{(c.lines.isEmpty() ? "none " : "found ") + kName}) << c.what;
        // Emptied at the start (when it held lines), filled once.
        EXPECT_LE(changes, 2) << c.what;
    }
}

TEST_F(LrcFetch, StartingAFetchClearsTheOldLinesAndReply) {
    Begin(kName);
    net.Latest()->Reply("<![CDATA[a\nb]]>");
    ASSERT_EQ(lines.Count(), 2);
    const auto tmp = platform::InProgramFolder("lrc.tmp");
    ASSERT_TRUE(std::filesystem::exists(tmp));
    Begin(QStringLiteral("慢"));
    EXPECT_TRUE(lines.IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(tmp));
    net.Latest()->Reply("<![CDATA[slow]]>");
    EXPECT_EQ(lines.Lines(), QStringList{"slow"});
}

// A reply for a song that no longer plays never replaces what the new song
// shows: a newer fetch, another song without a fetch of its own (a radio
// station), cleared lines, the same song stopped (or given up: that stops
// it too), a cancelled fetch.
TEST_F(LrcFetch, ALateReplyIsIgnored) {
    const QByteArray old = "<![CDATA[[00:01.00]old]]>";
    for (int way = 0; way < 4; ++way) {
        Begin(QStringLiteral("旧"));
        const QPointer<test::FakeReader> late = net.Latest();
        if (way == 0) {
            Begin(QStringLiteral("新"));
            net.Latest()->Reply("<![CDATA[[00:01.00]new]]>");
        } else if (way == 1) {
            ++playing;  // another song, or the same one stopped: a new tag either way
        } else if (way == 2) {
            fetcher.Clear();
        } else {
            fetcher.Cancel();
        }
        const QStringList before = lines.Lines();
        ends.clear();
        ASSERT_TRUE(late);
        late->Reply(old);
        EXPECT_EQ(lines.Lines(), before) << way;
        EXPECT_TRUE(ends.isEmpty()) << way;
    }
}

}  // namespace
}  // namespace tavo
