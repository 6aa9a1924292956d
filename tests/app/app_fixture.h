#pragma once
// What the main window's tests share: a web of local services on 127.0.0.1
// (playlist, feed, charts, song search, lyrics and the songs themselves), a
// program folder with a skin, settings kept in memory, a lyrics window
// stand-in, and a way to wait while the event loop runs.

#include "app/ui/main_form.h"
#include "app/player_core.h"
#include "lyrics/core/lyrics_cache.h"
#include "lyrics/lyrics_view.h"
#include "platform/core/media_player.h"
#include "platform/settings_store.h"
#include "sources/services.h"
#include "support/event_loop.h"
#include "support/core/fake_media_player.h"
#include "support/fake_message_box.h"
#include "support/local_http_server.h"
#include "support/temp_dir.h"
#include "support/wav_file.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTest>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tavo::test {


class MemorySettings : public platform::SettingsStore {
public:
    QString GetSetting(const QString& app, const QString& section, const QString& key) override {
        auto it = values.find((app + "/" + section + "/" + key).toStdString());
        return it == values.end() ? QString() : it->second;
    }
    bool SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value) override {
        values[(app + "/" + section + "/" + key).toStdString()] = value;
        return true;
    }
    std::map<std::string, QString> values;
};

class FakeLyricsView : public LyricsView {
public:
    QString Label1Text() const override { return label; }
    void SetLabel1Text(const QString& text) override { label = text; }
    void SetSongToolTip(const QString& text) override { toolTip = text; }
    void SetPlayGlyph(bool playing) override { playGlyph = playing; }
    void SetMuteGlyph(bool muted) override { muteGlyph = muted; }
    void ShowLyrics(bool show) override { shown = show; }

    QString label, toolTip;
    bool playGlyph = false, muteGlyph = false, shown = false;
};

// "title ┈ artist"
inline QString Song(const QString& title, const QString& artist) { return title + " \u2508 " + artist; }

// A request the player gave up on before sending it must not hold a test
// server's shutdown for the default five seconds.
inline void QuickStop(httplib::Server& s) {
    s.set_read_timeout(0, 300000);
    s.set_keep_alive_timeout(1);
}

using Songs = std::vector<std::pair<std::string, std::string>>;  // title, artist

// What the services answer, for the local web and for tests that answer
// requests by hand (FakeNet).
inline std::string PlaylistBody(const std::string& base, int batch, int size) {
    std::string json = R"({"r":0,"song":[)";
    for (int i = 0; i < size; ++i) {
        const std::string b = std::to_string(batch);
        json += std::string(i ? "," : "") + R"({"f0":"0","f1":"1","f2":"2","f3":"3","f4":"4","f5":"5","artist":"Radio)" +
                b + R"(","url":")" + base + "/songs/r" + b + "x" + std::to_string(i) + R"(.wav","title":"Track)" +
                std::to_string(i) + R"(","sid":"9"})";
    }
    return json + "]}";
}
inline std::string FeedBody(const Songs& feed) {
    std::string xml = "<?xml version=\"1.0\"?>\r\n<songs>\r\n";
    for (const auto& [t, a] : feed) xml += "<item><song>" + t + "</song>\r\n<artist>" + a + "</artist></item>\r\n";
    return xml + "</songs>";
}
inline std::string ChartIndexBody() {
    return "<html><body><div class='rankblock'><h2><code>2010-05</code></h2><ul>\r\n"
           "<li><a href='/top/x/1.htm'>第一期</a></li>\r\n"
           "<li><a href='/top/x/2.htm'>第二期</a></li>\r\n</ul></div></body></html>";
}
inline std::string ChartPageBody(const Songs& chart) {
    std::string page = "<html><form>";
    for (const auto& [t, a] : chart)
        page += "<input type='checkbox' checked='checked' name='Checkbox' value='1|2|" + t + "|" + a + "|0'>";
    return page + "</form></html>";
}
inline std::string SearchBody(const std::string& callback, const std::vector<std::string>& urls) {
    std::string body = callback + "({\"data\":[";
    for (const auto& u : urls) body += "{\"url\":\"" + u + "\",\"size\":\"1\"},";
    return body + "{}]})";
}

// The local web: every service the player calls, with content the test
// chooses. Handlers run on the server's thread; the content is set before
// Start() or under the lock.
class FakeWeb {
public:
    FakeWeb() {
        auto& s = server_.server();
        QuickStop(s);
        s.Get(R"(/songs/(\w+)\.wav)", [this](const httplib::Request& req, httplib::Response& res) {
            Count(req.path);
            std::lock_guard lock(mu_);
            res.set_content(wav_, "audio/wav");
        });
        s.Get("/j/mine/playlist", [this](const httplib::Request& req, httplib::Response& res) {
            Count(req.path);
            std::lock_guard lock(mu_);
            res.set_content(PlaylistBody(Url(""), ++playlistBatches, playlistSize), "application/json");
        });
        s.Get(R"(/xml/(\w+)\.xml)", [this](const httplib::Request& req, httplib::Response& res) {
            Count(req.path);
            std::lock_guard lock(mu_);
            res.set_content(FeedBody(feed), "text/xml");
        });
        s.Get("/top/html_top/top0/top0.htm", [this](const httplib::Request& req, httplib::Response& res) {
            Count(req.path);
            res.set_content(ChartIndexBody(), "text/html");
        });
        s.Get(R"(/top/x/(\d)\.htm)", [this](const httplib::Request& req, httplib::Response& res) {
            Count(req.path);
            std::lock_guard lock(mu_);
            res.set_content(ChartPageBody(chart), "text/html");
        });
        s.Get("/api/links", [this](const httplib::Request& req, httplib::Response& res) {
            Count(req.path);
            std::lock_guard lock(mu_);
            const std::string query = req.get_param_value("query");
            queries.push_back(query);
            auto it = links.find(query);
            res.set_content(SearchBody(req.get_param_value("jsoncallback"),
                                       it == links.end() ? std::vector<std::string>{} : it->second),
                            "text/javascript");
        });
        s.Get("/dead.wav", [this](const httplib::Request& req, httplib::Response& res) {
            Count(req.path);
            res.status = 404;
        });
        wav_ = MakeWav(1.0);
    }

    // The server stops before the content its handlers read goes away.
    ~FakeWeb() { server_.Stop(); }

    void Start() {
        server_.Start();
        SetServices(LocalServiceHosts(server_.port()));
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(server_.port()) + path;
    }
    QString QUrl(const std::string& path) const { return QString::fromStdString(Url(path)); }
    // The query the search sees for a display text "title ┈ artist".
    static std::string Query(const std::string& title, const std::string& artist) { return title + "+" + artist; }

    int Hits(const std::string& path) {
        std::lock_guard lock(mu_);
        return hits_[path];
    }
    std::vector<std::string> Queries() {
        std::lock_guard lock(mu_);
        return queries;
    }
    void SetWavSeconds(double s) {
        std::lock_guard lock(mu_);
        wav_ = MakeWav(s);
    }

    std::mutex mu_;
    int playlistSize = 3;
    int playlistBatches = 0;
    Songs feed;
    Songs chart;
    std::map<std::string, std::vector<std::string>> links;  // query -> urls
    std::vector<std::string> queries;

private:
    void Count(const std::string& path) {
        std::lock_guard lock(mu_);
        ++hits_[path];
    }

    LocalHttpServer server_;
    std::string wav_;
    std::map<std::string, int> hits_;
};

// A program folder with the default skin, settings in memory, a recording
// message box and the local web.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::make_unique<ScopedProgramFolder>();
        // Lyrics found by an earlier test are not this test's.
        std::error_code ec;
        std::filesystem::remove_all(LyricsCache::DefaultFolder(), ec);
        folder_->dir().Write("skin/\u84dd\u8272\u79d1\u6280/skin.ini", "\xe6\xa0\x87\xe9\xa2\x98=1,2,3\r\n");
        auto s = std::make_unique<MemorySettings>();
        settings = s.get();
        platform::SetSettings(std::move(s));
    }
    void TearDown() override {
        platform::SetSettings(std::make_unique<MemorySettings>());
        ResetServices();
        folder_.reset();
    }
    void SetConfig(const char* key, const char* value) {
        settings->SaveSetting(QStringLiteral("Tavo音乐盒2010"), QStringLiteral("Config"), QString::fromUtf8(key),
                              QString::fromUtf8(value));
    }
    const std::filesystem::path& folder() const { return folder_->path(); }
    void WriteFile(const std::string& rel, const std::string& bytes) { folder_->dir().Write(rel, bytes); }

    std::unique_ptr<ScopedProgramFolder> folder_;
    MemorySettings* settings = nullptr;
    ScopedFakeMessageBox messages;
    FakeWeb web;
};

// The real window offscreen over libmpv without sound (ao=null).
class RealPlayerTest : public AppTest {
protected:
    void TearDown() override {
        form.reset();
        player.reset();
        AppTest::TearDown();
    }
    // Starts the program on the services set so far.
    void StartPlayer() {
        platform::MpvOptions options;
        options.audioOutput = QStringLiteral("null");
        player = std::make_unique<platform::MpvMediaPlayer>(options);
        ASSERT_TRUE(player->Available());
        form = std::make_unique<MainForm>(*player);
        ASSERT_TRUE(form->Load());
        form->ShowAfterLoad();
    }
    void ClickRow(int row, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(form->Picture1(), button, {}, QPoint(20, row * form->RowHeight + 5));
    }

    std::unique_ptr<platform::MpvMediaPlayer> player;
    std::unique_ptr<MainForm> form;
};

// The player core with a stand-in player and lyrics window, on the local
// web with a feed of three songs and a chart of two.
class CoreTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        web.feed = {{"Title1", "Singer1"}, {"Title2", "Singer2"}, {"Title3", "Singer3"}};
        web.chart = {{"Chart1", "A1"}, {"Chart2", "A2"}};
        web.Start();
        MakeCore();
    }
    void MakeCore() {
        core = std::make_unique<PlayerCore>(player);
        core->SetLyricsView(&lrc);
        core->links.SearchRetryMs = 20;
        core->links.FailGapMs = 20;
        core->hooks.HideMain = [this] { ++hides; };
        core->hooks.MinimizeMain = [this] { ++minimises; };
        core->hooks.TrayAvailable = [this] { return tray; };
        core->hooks.RemoveTrayIcon = [this] { ++trayRemoved; };
        core->hooks.ExitProgram = [this] { ++exits; };
    }
    bool Load() { return core->Form_Load(); }
    // Chooses a source and waits until its list has arrived.
    void Choose(int source) {
        core->gsl.PHcombo.SetListIndex(source);
        ASSERT_TRUE(WaitFor([&] { return !core->fetch.QelDown1.Downloading() && !core->ui.LoadLabelVisible; }));
    }
    void ClickRow(int row) { core->list.PlayRow(row); }
    void WriteFavourites(const std::string& content) { WriteFile("MySongList.txt", content); }
    static std::string Fav(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += "Song" + std::to_string(i) + "<|>\r\n";
        return s;
    }
    void Links(const std::string& title, const std::string& artist, std::vector<std::string> urls) {
        std::lock_guard lock(web.mu_);
        web.links[FakeWeb::Query(title, artist)] = std::move(urls);
    }
    bool WaitUrl(int count) {
        return WaitFor([&] { return player.urls.size() >= count; });
    }
    void Tick(int state) {
        player.state = state;
        core->playback.PlayTime_Timer();
    }

    FakeMediaPlayer player;
    FakeLyricsView lrc;
    std::unique_ptr<PlayerCore> core;
    bool tray = true;
    int hides = 0, minimises = 0, trayRemoved = 0, exits = 0;
};

}  // namespace tavo::test
