// The media controls end to end: the real window and the player core, the
// bundled local services, libmpv without sound, the MPRIS service on a
// private bus, and dbus-send and a second bus connection as the desktop's
// clients.
#include "app/player_mpris.h"
#include "app/ui/window_actions.h"

#include "app_fixture.h"
#include "demo_service.h"
#include "lyrics/ui/lrc_box.h"
#include "platform/core/mpris_service.h"
#include "support/core/mpris_client.h"
#include "support/core/private_bus.h"

#include <QDBusConnection>
#include <QTest>

namespace tavo {
namespace {

using test::WaitFor;

TEST(SplitDisplayText, TitleAndArtist) {
    const struct {
        const char* display;
        const char* title;
        QStringList artists;
    } cases[] = {
        {"晚风里的灯塔 \u2508 林小舟", "晚风里的灯塔", {"林小舟"}},
        {"Salt and Cedar \u2508 Owen Marsh", "Salt and Cedar", {"Owen Marsh"}},
        {"中国之声", "中国之声", {}},
        {"无名 \u2508 ", "无名", {}},
        {"a \u2508 b \u2508 c", "a", {"b \u2508 c"}},
    };
    for (const auto& c : cases) {
        QString title;
        QStringList artists;
        SplitDisplayText(QString::fromUtf8(c.display), &title, &artists);
        EXPECT_EQ(title, QString::fromUtf8(c.title)) << c.display;
        EXPECT_EQ(artists, c.artists) << c.display;
    }
}

using test::AsMap;
using test::TrackIdOf;

class MprisEndToEndTest : public test::RealPlayerTest {
protected:
    void SetUp() override {
        RealPlayerTest::SetUp();
        ASSERT_TRUE(bus.ok()) << "dbus-daemon did not start";
        ASSERT_TRUE(service.Start(0));
        SetServices(LocalServiceHosts(service.port()));
        StartPlayer();

        target = std::make_unique<PlayerMpris>(form->core(),
                                               PlayerMpris::Window{[this] { RaiseMainWindow(*form); }, [this] { ExitProgram(*form); }});
        mpris = std::make_unique<platform::MprisService>(*target, kAppTitle, QStringLiteral("org.tavo.MusicBox"));
        serviceBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "e2e-service"));
        clientBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "e2e-client"));
        ASSERT_TRUE(mpris->Register(*serviceBus, QStringLiteral("tavomusicbox")));
        target->Watch(*mpris);
        name = mpris->BusName();
        ASSERT_TRUE(listener.Listen(*clientBus, name));
    }
    void TearDown() override {
        mpris.reset();
        target.reset();
        clientBus.reset();
        serviceBus.reset();
        QDBusConnection::disconnectFromBus("e2e-client");
        QDBusConnection::disconnectFromBus("e2e-service");
        form.reset();
        player.reset();
        service.Stop();
        RealPlayerTest::TearDown();
    }

    test::PrivateBus::Reply Call(const QString& method, const QStringList& args = {}) {
        return bus.Send(name, method, args);
    }
    QString Get(const QString& property) {
        const auto r = Call(QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                            {QStringLiteral("string:org.mpris.MediaPlayer2.Player"), QStringLiteral("string:") + property});
        return r.out;
    }
    QVariantMap HeardMetadata() const { return AsMap(listener.Heard(QStringLiteral("Metadata"))); }
    QString HeardStatus() const { return listener.Heard(QStringLiteral("PlaybackStatus")).toString(); }
    bool Playing() {
        return WaitFor([&] { return player->playState() == platform::kPlayPlaying; }, 8000);
    }
    void ExpectMetadataOfPlayingSong() {
        QString title;
        QStringList artists;
        SplitDisplayText(form->core().playback.PlayingName(), &title, &artists);
        const QVariantMap meta = HeardMetadata();
        EXPECT_EQ(meta.value("xesam:title").toString(), title);
        EXPECT_EQ(meta.value("xesam:artist").toStringList(), artists);
    }

    test::PrivateBus bus;
    services::DemoService service;
    std::unique_ptr<PlayerMpris> target;
    std::unique_ptr<platform::MprisService> mpris;
    std::unique_ptr<QDBusConnection> serviceBus, clientBus;
    test::MprisListener listener;
    QString name;
    int quits = 0;
};

TEST_F(MprisEndToEndTest, StatusSongsAndCommandsThroughTheBus) {
    ASSERT_TRUE(WaitFor([&] { return form->core().ui.rows.size() > 2 && !form->core().fetch.QelDown1.Downloading(); }));
    EXPECT_TRUE(Get(QStringLiteral("PlaybackStatus")).contains(QStringLiteral("\"Stopped\"")));
    EXPECT_TRUE(Get(QStringLiteral("CanPlay")).contains(QStringLiteral("boolean false"))) << "no song chosen yet";

    // A click on a row: the bus hears the state and the song.
    ClickRow(0);
    ASSERT_TRUE(Playing());
    ASSERT_TRUE(WaitFor([&] { return HeardStatus() == QStringLiteral("Playing") && !HeardMetadata().isEmpty(); }, 5000));
    ExpectMetadataOfPlayingSong();
    ASSERT_TRUE(WaitFor([&] { return HeardMetadata().value("mpris:length").toLongLong() > 1'000'000; }, 5000));
    const QString first = TrackIdOf(HeardMetadata());

    // Next, as the next button: the second row plays, a new track id is heard.
    EXPECT_EQ(Call(QStringLiteral("org.mpris.MediaPlayer2.Player.Next")).code, 0);
    ASSERT_TRUE(WaitFor([&] { return form->core().PlayIndex == 1 && player->playState() == platform::kPlayPlaying; }, 8000));
    ASSERT_TRUE(WaitFor([&] { return TrackIdOf(HeardMetadata()) != first; }, 5000));
    ExpectMetadataOfPlayingSong();

    // Previous goes back to the first row.
    EXPECT_EQ(Call(QStringLiteral("org.mpris.MediaPlayer2.Player.Previous")).code, 0);
    ASSERT_TRUE(WaitFor([&] { return form->core().PlayIndex == 0 && player->playState() == platform::kPlayPlaying; }, 8000));

    // Pause, as the pause button: the play button shows again.
    EXPECT_EQ(Call(QStringLiteral("org.mpris.MediaPlayer2.Player.PlayPause")).code, 0);
    EXPECT_EQ(player->playState(), platform::kPlayPaused);
    EXPECT_TRUE(form->core().ui.PlaySVisible[0]);
    ASSERT_TRUE(WaitFor([&] { return HeardStatus() == QStringLiteral("Paused"); }, 3000));

    // Seek while paused (as the time track does), then play on.
    listener.seeks.clear();
    EXPECT_EQ(Call(QStringLiteral("org.mpris.MediaPlayer2.Player.Seek"), {QStringLiteral("int64:8000000")}).code, 0);
    ASSERT_TRUE(WaitFor([&] { return !listener.seeks.empty(); }, 3000));
    EXPECT_NEAR(listener.seeks.front() / 1e6, 8.0, 0.5);
    EXPECT_NEAR(player->controls().currentPosition(), 8.0, 0.5);
    EXPECT_EQ(Call(QStringLiteral("org.mpris.MediaPlayer2.Player.Play")).code, 0);
    ASSERT_TRUE(WaitFor([&] { return HeardStatus() == QStringLiteral("Playing"); }, 3000));
    EXPECT_FALSE(form->core().ui.PlaySVisible[0]);

    // The lyrics line of that time, once the lyrics have come.
    EXPECT_TRUE(WaitFor([&] { return !HeardMetadata().value("xesam:asText").toString().isEmpty(); }, 8000));

    // The volume, as the bus sets it.
    EXPECT_EQ(Call(QStringLiteral("org.freedesktop.DBus.Properties.Set"),
                   {QStringLiteral("string:org.mpris.MediaPlayer2.Player"), QStringLiteral("string:Volume"),
                    QStringLiteral("variant:double:0.3")})
                  .code,
              0);
    EXPECT_EQ(player->settings().volume(), 30);

    // Stop, as the stop button.
    EXPECT_EQ(Call(QStringLiteral("org.mpris.MediaPlayer2.Player.Stop")).code, 0);
    ASSERT_TRUE(WaitFor([&] { return HeardStatus() == QStringLiteral("Stopped"); }, 3000));
    EXPECT_TRUE(form->core().ui.PlaySVisible[0]);
}

TEST_F(MprisEndToEndTest, RaiseShowsTheWindowAndQuitTakesTheExitPath) {
    // The program's end itself is the window's; here it is only counted.
    form->core().hooks.ExitProgram = [this] { ++quits; };
    form->hide();
    EXPECT_EQ(Call(QStringLiteral("org.mpris.MediaPlayer2.Raise")).code, 0);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->IsShown());
    EXPECT_EQ(Call(QStringLiteral("org.mpris.MediaPlayer2.Quit")).code, 0);
    EXPECT_TRUE(form->core().exit.Exiting());
    EXPECT_EQ(quits, 1);
}

}  // namespace
}  // namespace tavo
