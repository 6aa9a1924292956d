// The libmpv player: state mapping, time texts, volume and mute, with
// ao=null and songs served from 127.0.0.1.
#include "platform/core/media_player.h"

#include "platform/ansi_text.h"

#include "support/local_http_server.h"
#include "support/temp_dir.h"
#include "support/wav_file.h"

#include "support/event_loop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <vector>

namespace tavo::platform {
namespace {

using test::WaitFor;


TEST(FormatMinutesSeconds, TwoDigitMinutesAndSecondsTruncated) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{0, "00:00"},     {0.99, "00:00"},   {59.9, "00:59"},  {60, "01:00"},
                 {83.45, "01:23"}, {599, "09:59"},    {6000, "100:00"}, {-3, "00:00"},
                 {std::nan(""), "00:00"}};
    for (const auto& c : cases) EXPECT_EQ(FormatMinutesSeconds(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
}

class MpvPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        wav_ = test::MakeWav(1.2);
        server_.server().Get("/song.wav", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(wav_, "audio/wav");
        });
        server_.server().Get("/stall.wav", [this](const httplib::Request&, httplib::Response& res) {
            server_.Sleep(std::chrono::seconds(20));
            res.set_content(wav_, "audio/wav");
        });
        server_.Start();
        MpvOptions options;
        options.audioOutput = QStringLiteral("null");
        options.noDataTimeoutMs = 600;
        player_ = std::make_unique<MpvMediaPlayer>(options);
        ASSERT_TRUE(player_->Available());
        QObject::connect(player_.get(), &MediaPlayer::PlayStateChange, [this](int s) { states_.push_back(s); });
    }
    void TearDown() override { player_.reset(); }

    bool WaitState(int state, int ms = 5000) {
        return WaitFor([&] { return player_->playState() == state; }, ms);
    }

    std::string wav_;
    test::LocalHttpServer server_;
    std::unique_ptr<MpvMediaPlayer> player_;
    std::vector<int> states_;
};

TEST_F(MpvPlayerTest, WebSongOpensPlaysAndEndsStopped) {
    EXPECT_EQ(player_->playState(), kPlayUndefined);
    player_->setURL(server_.Url("/song.wav"));
    player_->controls().play();
    EXPECT_EQ(player_->playState(), kPlayTransitioning);
    EXPECT_EQ(player_->status(), QStringLiteral("正在连接..."));
    ASSERT_TRUE(WaitState(kPlayPlaying));
    EXPECT_NEAR(player_->currentMedia().duration(), 1.2, 0.05);
    EXPECT_EQ(player_->currentMedia().durationString(), QStringLiteral("00:01"));
    ASSERT_TRUE(WaitState(kPlayStopped));
    EXPECT_EQ(player_->status(), QStringLiteral("已停止"));
    // Nothing but opening, playing and the end on the way.
    EXPECT_EQ(states_, (std::vector<int>{kPlayTransitioning, kPlayPlaying, kPlayStopped}));
}

TEST_F(MpvPlayerTest, LocalFilePlays) {
    test::TempDir dir;
    const auto file = dir.Write("歌曲 一.wav", wav_);
    player_->setURL(PathToQString(file));
    ASSERT_TRUE(WaitState(kPlayPlaying));
    EXPECT_TRUE(WaitFor([&] { return player_->controls().currentPosition() > 0.1; }, 3000));
}

TEST_F(MpvPlayerTest, AddressesThatCannotOpenReadReady) {
    const QString dead[] = {server_.Url("/missing.wav"), QStringLiteral("http://127.0.0.1:1/none.wav"),
                            QStringLiteral("/no/such/file.wav")};
    for (const QString& url : dead) {
        player_->setURL(url);
        EXPECT_EQ(player_->playState(), kPlayTransitioning) << url.toStdString();
        ASSERT_TRUE(WaitState(kPlayReady)) << url.toStdString();
        EXPECT_EQ(player_->status(), QStringLiteral("无法播放此地址"));
    }
    player_->setURL(QString());
    EXPECT_EQ(player_->playState(), kPlayReady);
}

TEST_F(MpvPlayerTest, ReplacingASongNeverReadsTheOldOnesEnd) {
    player_->setURL(server_.Url("/song.wav"));
    ASSERT_TRUE(WaitState(kPlayPlaying));
    states_.clear();
    player_->setURL(server_.Url("/song.wav"));
    EXPECT_EQ(player_->playState(), kPlayTransitioning);
    ASSERT_TRUE(WaitState(kPlayPlaying));
    EXPECT_EQ(states_, (std::vector<int>{kPlayTransitioning, kPlayPlaying}));

    // A failed address followed at once by a good one.
    player_->setURL(QStringLiteral("http://127.0.0.1:1/none.wav"));
    player_->setURL(server_.Url("/song.wav"));
    states_.clear();
    ASSERT_TRUE(WaitState(kPlayPlaying));
    EXPECT_EQ(states_, (std::vector<int>{kPlayPlaying}));
}

TEST_F(MpvPlayerTest, PauseHoldsThePositionAndPlayResumes) {
    player_->setURL(server_.Url("/song.wav"));
    ASSERT_TRUE(WaitState(kPlayPlaying));
    ASSERT_TRUE(WaitFor([&] { return player_->controls().currentPosition() > 0.2; }, 3000));
    player_->controls().pause();
    EXPECT_EQ(player_->playState(), kPlayPaused);
    WaitFor([] { return false; }, 150);
    const double at = player_->controls().currentPosition();
    WaitFor([] { return false; }, 400);
    EXPECT_EQ(player_->playState(), kPlayPaused);
    EXPECT_NEAR(player_->controls().currentPosition(), at, 0.05);
    player_->controls().play();
    EXPECT_EQ(player_->playState(), kPlayPlaying);
    ASSERT_TRUE(WaitState(kPlayStopped));
}

TEST_F(MpvPlayerTest, SeekAndStop) {
    player_->setURL(server_.Url("/song.wav"));
    ASSERT_TRUE(WaitState(kPlayPlaying));
    player_->controls().pause();
    player_->controls().setCurrentPosition(0.9);
    EXPECT_NEAR(player_->controls().currentPosition(), 0.9, 0.01);
    player_->controls().stop();
    EXPECT_EQ(player_->playState(), kPlayStopped);
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(player_->playState(), kPlayStopped);
    // Play after a stop opens the address again.
    player_->controls().play();
    EXPECT_EQ(player_->playState(), kPlayTransitioning);
    EXPECT_TRUE(WaitState(kPlayPlaying));
}

TEST_F(MpvPlayerTest, StreamWithoutDataReadsWaiting) {
    player_->setURL(server_.Url("/stall.wav"));
    EXPECT_EQ(player_->playState(), kPlayTransitioning);
    ASSERT_TRUE(WaitState(kPlayWaiting, 4000));
    EXPECT_EQ(player_->status(), QStringLiteral("网络无响应"));
    player_->controls().stop();
}

TEST_F(MpvPlayerTest, VolumeAndMute) {
    EXPECT_EQ(player_->settings().volume(), 50);
    const struct {
        int set, read;
    } volumes[] = {{0, 0}, {37, 37}, {100, 100}, {150, 100}, {-4, 0}};
    for (const auto& v : volumes) {
        player_->settings().setVolume(v.set);
        EXPECT_EQ(player_->settings().volume(), v.read);
    }
    EXPECT_FALSE(player_->settings().mute());
    player_->settings().setMute(true);
    EXPECT_TRUE(player_->settings().mute());
    WaitFor([] { return false; }, 100);  // the observed property agrees
    EXPECT_TRUE(player_->settings().mute());
    player_->settings().setMute(false);
    EXPECT_FALSE(player_->settings().mute());
}

}  // namespace
}  // namespace tavo::platform
