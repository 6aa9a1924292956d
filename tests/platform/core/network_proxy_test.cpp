// The system proxy, as both the downloads and the media player use it: a
// proxy on 127.0.0.1 that answers for any host, and hosts that exist nowhere
// else.
#include "platform/core/async_read.h"
#include "platform/core/media_player.h"
#include "platform/core/network_proxy.h"
#include "platform/core/user_agent.h"

#include "support/event_loop.h"
#include "support/local_http_server.h"
#include "support/wav_file.h"

#include <gtest/gtest.h>

#include <QNetworkProxyFactory>

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace tavo::platform {
namespace {

using test::WaitFor;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        if (value) setenv(name, value, 1); else unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_) setenv(name_, old_.c_str(), 1); else unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

class ProxyTest : public ::testing::Test {
protected:
    struct Seen {
        std::string target, userAgent;
    };
    void SetUp() override {
        wav_ = test::MakeWav(1.0);
        proxy_.server().Get(R"(.*)", [this](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard lock(mu_);
                seen_.push_back({req.target, req.get_header_value("User-Agent")});
            }
            if (req.target.size() > 4 && req.target.substr(req.target.size() - 4) == ".wav")
                res.set_content(wav_, "audio/wav");
            else
                res.set_content("via the proxy", "text/plain");
        });
        proxy_.Start();
        UseSystemProxy();
    }
    void TearDown() override { QNetworkProxyFactory::setUseSystemConfiguration(false); }

    std::vector<Seen> Requests() {
        std::lock_guard lock(mu_);
        return seen_;
    }
    std::string ProxyAddress() const { return "http://127.0.0.1:" + std::to_string(proxy_.port()); }

    std::string wav_;
    std::mutex mu_;
    std::vector<Seen> seen_;
    test::LocalHttpServer proxy_;
};

TEST_F(ProxyTest, ProxyForFollowsTheEnvironment) {
    const std::string http = ProxyAddress();
    const std::string https = "http://127.0.0.1:3129";
    ScopedEnv a("http_proxy", http.c_str()), b("https_proxy", https.c_str()),
        c("no_proxy", "localhost,127.0.0.1,.intranet.example"), d("all_proxy", nullptr);
    const struct {
        const char* url;
        std::string proxy;
    } cases[] = {
        {"http://songs.example/a.mp3", http},
        {"https://songs.example/a.mp3", https},
        {"http://127.0.0.1:17380/api/links", ""},
        {"http://radio.intranet.example/x", ""},
        {"/home/user/music/a.mp3", ""},
        {"", ""},
    };
    for (const auto& t : cases)
        EXPECT_EQ(ProxyFor(QUrl(QString::fromLatin1(t.url))).toStdString(), t.proxy) << t.url;
}

TEST_F(ProxyTest, NoProxyConfiguredMeansDirect) {
    ScopedEnv a("http_proxy", nullptr), b("https_proxy", nullptr), c("all_proxy", nullptr),
        d("HTTP_PROXY", nullptr), e("HTTPS_PROXY", nullptr);
    EXPECT_EQ(ProxyFor(QUrl(QStringLiteral("http://songs.example/a.mp3"))), QString());
}

TEST_F(ProxyTest, DownloadsAndPlaybackGoThroughTheSameProxy) {
    const std::string http = ProxyAddress();
    ScopedEnv a("http_proxy", http.c_str()), b("no_proxy", "localhost,127.0.0.1");

    // A download of a host that only the proxy knows.
    NetworkReader reader;
    QByteArray body;
    bool done = false;
    QObject::connect(&reader, &AsyncReader::Complete, [&](qint64, const QByteArray& b) { body = b, done = true; });
    QObject::connect(&reader, &AsyncReader::Progress, [&](int status, const QString&, qint64, qint64) {
        if (status == kReadFailed) done = true;
    });
    ASSERT_EQ(reader.Start(QStringLiteral("http://list.songs.example/chart.htm")), QString());
    ASSERT_TRUE(WaitFor([&] { return done; }));
    EXPECT_EQ(body, QByteArray("via the proxy"));

    // A song of such a host plays, asked for with the program's User-Agent.
    MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    MpvMediaPlayer player(options);
    ASSERT_TRUE(player.Available());
    player.setURL(QStringLiteral("http://music.songs.example/song.wav"));
    ASSERT_TRUE(WaitFor([&] { return player.playState() == kPlayPlaying; }, 8000)) << player.status().toStdString();
    player.controls().stop();

    const auto seen = Requests();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front().target, "http://list.songs.example/chart.htm");
    bool song = false;
    for (const auto& s : seen) {
        // The player's network layer names the default port.
        if (s.target != "http://music.songs.example/song.wav" && s.target != "http://music.songs.example:80/song.wav")
            continue;
        song = true;
        EXPECT_EQ(s.userAgent, kUserAgent);
    }
    EXPECT_TRUE(song);
}

}  // namespace
}  // namespace tavo::platform
