// The lyrics fetch of the lyrics window against a lyrics service on
// 127.0.0.1.
#include "lyrics/lrc_box.h"

#include "fake_lyrics_host.h"
#include "platform/ansi_text.h"
#include "platform/codepage.h"
#include "platform/program_folder.h"
#include "sources/services.h"
#include "support/local_http_server.h"
#include "support/temp_dir.h"

#include "support/event_loop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace tavo {
namespace {

using namespace std::chrono_literals;
using test::FakeLyricsHost;
using test::WaitFor;


void SpinFor(std::chrono::milliseconds d) { WaitFor([] { return false; }, d); }

std::string Utf8(const QString& s) { return s.toStdString(); }

// "%XX" for every byte of the code page 936 form of `text`.
std::string Cp936Escaped(const QString& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : platform::EncodeCp936(text)) {
        const auto b = static_cast<unsigned char>(c);
        out += '%';
        out += hex[b >> 4];
        out += hex[b & 0xF];
    }
    return out;
}

struct Reply {
    int status = 200;
    std::string body;
    std::chrono::milliseconds delay{0};
};

class LrcFetch : public ::testing::Test {
protected:
    void SetUp() override {
        server.server().Get("/fcgi-bin/fcg_download_lrc.q", [this](const httplib::Request& req, httplib::Response& res) {
            Reply r;
            {
                std::lock_guard<std::mutex> lock(mu);
                targets.push_back(req.target);
                const std::string song = req.get_param_value("song");
                singers.push_back(req.get_param_value("singer"));
                songs.push_back(song);
                const auto it = replies.find(song);
                if (it != replies.end()) r = it->second;
                else r.status = 404;
            }
            if (r.delay.count() > 0 && !server.Sleep(r.delay)) return;
            res.status = r.status;
            if (r.status == 302) res.set_redirect("/elsewhere");
            else res.set_content(r.body, "text/xml");
        });
        // A cancelled request may leave a connection that never sends one:
        // do not let it hold up the server's stop for long.
        server.server().set_read_timeout(0, 300000);
        server.Start();
        SetServices(LocalServiceHosts(server.port()));
    }
    void TearDown() override {
        server.Stop();
        ResetServices();
    }

    // Replies to a song sent as `song` (code page 936 bytes on the wire).
    void Serve(const QString& song, Reply r) {
        std::lock_guard<std::mutex> lock(mu);
        replies[platform::EncodeCp936(song).toStdString()] = std::move(r);
    }
    // Starts a fetch for `name` and waits until it has ended.
    void Fetch(const QString& name) {
        host.name = name;
        box.DownLrcBegin();
        ASSERT_TRUE(WaitFor([&] { return !box.LrcDown().Downloading(); }));
    }
    std::vector<std::string> Targets() {
        std::lock_guard<std::mutex> lock(mu);
        return targets;
    }

    test::ScopedProgramFolder folder;
    test::LocalHttpServer server;
    std::mutex mu;
    std::map<std::string, Reply> replies;
    std::vector<std::string> targets, songs, singers;
    FakeLyricsHost host;
    lrcBox box{&host};
};

const QString kName = QStringLiteral("青花瓷 ┈ 周杰伦");

std::string Gbk(const QString& s) { return platform::EncodeCp936(s).toStdString(); }

TEST_F(LrcFetch, RepliesFillTheLinesOrSayNotFound) {
    const QString found = QStringLiteral("正在播放：") + kName;
    const QString notFound = QStringLiteral("没有找到“") + kName + QStringLiteral("”的歌词");
    const QStringList three = {QStringLiteral("[00:01.00]天青色等烟雨"), QStringLiteral("[00:02.00]而我在等你"),
                               QStringLiteral("[00:03.00]月色被打捞起")};
    struct Case {
        const char* what;
        Reply reply;
        QStringList lines;
        QString label;
    } cases[] = {
        {"UTF-8 reply, three LF lines",
         {200, Utf8("<?xml version=\"1.0\" encoding=\"utf-8\"?><lyric><![CDATA[" + three.join("\n") + "]]></lyric>")},
         three, found},
        {"GBK reply, CR LF lines",
         {200, "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<lyric><![CDATA[" + Gbk(three.join("\r\n")) +
                   "]]></lyric>\r\n"},
         three, found},
        {"<br> inside the section",
         {200, Utf8("<lyric><![CDATA[" + three.join("<br>") + "]]></lyric>")}, three, found},
        {"no CDATA section", {200, "<?xml version=\"1.0\"?><lyric>none</lyric>"}, {}, notFound},
        {"section never closed", {200, "<lyric><![CDATA[[00:01.00]a"}, {}, notFound},
        {"not found on the server (no completion follows)", {404, "missing"}, {}, notFound},
        {"empty reply", {200, ""}, {}, notFound},
    };
    for (const Case& c : cases) {
        Serve(QStringLiteral("青花瓷"), c.reply);
        box.SetLabel1Text(QStringLiteral("before"));
        host.songLabel.clear();
        Fetch(kName);
        EXPECT_EQ(box.list1(), c.lines) << c.what;
        EXPECT_EQ(box.Label1Text(), c.label) << c.what;
        // The main window's song label changes only when lyrics were found.
        EXPECT_EQ(host.songLabel, c.lines.isEmpty() ? QString() : found) << c.what;
    }
}

TEST_F(LrcFetch, AsksForSongAndSingerInCodePage936) {
    Serve(QStringLiteral("青花瓷"), {200, "<![CDATA[x]]>"});
    Fetch(QStringLiteral("青花瓷 ┈ 周杰伦\\方文山"));
    Fetch(QStringLiteral("青花瓷"));  // no " ┈ ": whole name, empty singer
    Fetch(QStringLiteral("Tom & Jerry ┈ A+B"));
    const auto t = Targets();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0], "/fcgi-bin/fcg_download_lrc.q?song=" + Cp936Escaped(QStringLiteral("青花瓷")) +
                        "&singer=" + Cp936Escaped(QStringLiteral("周杰伦")) + "&down=2");
    EXPECT_EQ(t[1], "/fcgi-bin/fcg_download_lrc.q?song=" + Cp936Escaped(QStringLiteral("青花瓷")) + "&singer=&down=2");
    EXPECT_EQ(songs[2], "Tom & Jerry");
    EXPECT_EQ(singers[2], "A+B");
    EXPECT_EQ(box.Label1Text(), QStringLiteral("没有找到“Tom & Jerry ┈ A+B”的歌词"));
}

TEST_F(LrcFetch, StartingAFetchClearsTheOldLinesAndReply) {
    Serve(QStringLiteral("青花瓷"), {200, "<![CDATA[a\nb]]>"});
    Fetch(kName);
    ASSERT_EQ(box.list1().size(), 2);
    const auto tmp = platform::InProgramFolder("lrc.tmp");
    ASSERT_TRUE(std::filesystem::exists(tmp));

    Serve(QStringLiteral("慢"), {200, "<![CDATA[slow]]>", 300ms});
    host.name = QStringLiteral("慢");
    box.DownLrcBegin();
    EXPECT_EQ(box.Label1Text(), QStringLiteral("正在获取歌词..."));
    EXPECT_TRUE(box.list1().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(tmp));
    ASSERT_TRUE(WaitFor([&] { return !box.LrcDown().Downloading(); }));
    EXPECT_EQ(box.list1(), QStringList{"slow"});
}

// Failures that end without a completion (a redirect, a failed or stalled
// read) are failures all the same: "fetching" must not stay up.
TEST_F(LrcFetch, AFailureWithoutCompletionSaysNotFound) {
    Serve(QStringLiteral("跳"), {302, ""});
    Serve(QStringLiteral("停"), {200, "<![CDATA[late]]>", 2s});
    box.LrcDown().setStallTimeoutMs(200);
    for (const QString& name : {QStringLiteral("跳"), QStringLiteral("缺"), QStringLiteral("停")}) {
        Fetch(name);
        EXPECT_EQ(box.Label1Text(), QStringLiteral("没有找到“") + name + QStringLiteral("”的歌词")) << Utf8(name);
        EXPECT_TRUE(box.list1().isEmpty());
    }
}

// A reply for a song that no longer plays never replaces what the new song
// shows.
TEST_F(LrcFetch, ALateReplyIsIgnored) {
    Serve(QStringLiteral("旧"), {200, "<![CDATA[[00:01.00]old]]>", 300ms});
    Serve(QStringLiteral("新"), {200, "<![CDATA[[00:01.00]new]]>"});

    // A newer fetch replaces the slow one.
    host.name = QStringLiteral("旧");
    box.DownLrcBegin();
    Fetch(QStringLiteral("新"));
    SpinFor(500ms);
    EXPECT_EQ(box.list1(), QStringList{"[00:01.00]new"});
    EXPECT_EQ(box.Label1Text(), QStringLiteral("正在播放：新"));

    // The song changes without a fetch of its own (a radio station), or the
    // lines are cleared: the old reply still arrives and must be dropped.
    host.name = QStringLiteral("旧");
    box.DownLrcBegin();
    host.name = QStringLiteral("电台");
    box.SetLabel1Text(QStringLiteral(" 正在播放：电台"));
    host.songLabel.clear();
    ASSERT_TRUE(WaitFor([&] { return !box.LrcDown().Downloading(); }));
    EXPECT_TRUE(box.list1().isEmpty());
    EXPECT_EQ(box.Label1Text(), QStringLiteral(" 正在播放：电台"));
    EXPECT_TRUE(host.songLabel.isEmpty());

    host.name = QStringLiteral("旧");
    box.DownLrcBegin();
    box.ClearLines();
    box.SetLabel1Text(QStringLiteral("cleared"));
    SpinFor(500ms);
    EXPECT_TRUE(box.list1().isEmpty());
    EXPECT_EQ(box.Label1Text(), QStringLiteral("cleared"));
}

}  // namespace
}  // namespace tavo
