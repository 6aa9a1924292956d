// The MPRIS service on a private bus: a stand-in player behind it, dbus-send
// and a second bus connection of Qt as the clients.
#include "platform/core/mpris_service.h"

#include "support/event_loop.h"
#include "support/core/mpris_client.h"
#include "support/core/private_bus.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>

#include <cstdlib>
#include <vector>

namespace tavo::platform {
namespace {

using test::WaitFor;

class FakeTarget : public MprisTarget {
public:
    MprisStatus Status() const override { return status; }
    MprisTrack Track() const override { return track; }
    qint64 PositionUs() const override { return position; }
    double Volume() const override { return volume; }
    MprisAbilities Can() const override { return can; }
    void Play() override { log.push_back("play"), status = MprisStatus::Playing; }
    void Pause() override { log.push_back("pause"), status = MprisStatus::Paused; }
    void Stop() override { log.push_back("stop"), status = MprisStatus::Stopped; }
    void Next() override { log.push_back("next"); }
    void Previous() override { log.push_back("previous"); }
    void SetPositionUs(qint64 us) override { log.push_back("seek " + std::to_string(us)), position = us; }
    void SetVolume(double v) override { volume = v; }
    void Raise() override { log.push_back("raise"); }
    void Quit() override { log.push_back("quit"); }

    MprisStatus status = MprisStatus::Playing;
    MprisTrack track{QStringLiteral("s7"), QStringLiteral("月亮代表我的心"), {QStringLiteral("邓丽君")},
                     200'000'000, QStringLiteral("http://127.0.0.1:1/a.mp3"), QStringLiteral("你问我爱你有多深"), {}, {}};
    qint64 position = 10'000'000;
    double volume = 0.5;
    MprisAbilities can{true, true, true, true, true};
    std::vector<std::string> log;
};

using test::AsMap;
using test::TrackIdOf;

class MprisTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bus.ok()) << "dbus-daemon did not start";
        serviceBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "mpris-service"));
        clientBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "mpris-client"));
        ASSERT_TRUE(serviceBus->isConnected());
        ASSERT_TRUE(clientBus->isConnected());
        service = std::make_unique<MprisService>(target, QStringLiteral("Tavo音乐盒2010"), QStringLiteral("org.tavo.MusicBox"));
        ASSERT_TRUE(service->Register(*serviceBus, QStringLiteral("tavomusicbox")));
        name = service->BusName();
        ASSERT_EQ(name, QStringLiteral("org.mpris.MediaPlayer2.tavomusicbox"));
        ASSERT_TRUE(listener.Listen(*clientBus, name));
    }
    void TearDown() override {
        service.reset();
        clientBus.reset();
        serviceBus.reset();
        QDBusConnection::disconnectFromBus("mpris-client");
        QDBusConnection::disconnectFromBus("mpris-service");
    }

    // Properties.GetAll through the Qt client, the event loop running.
    QVariantMap GetAll(const QString& interface) {
        QDBusMessage m = QDBusMessage::createMethodCall(name, MprisService::kObjectPath,
                                                        QStringLiteral("org.freedesktop.DBus.Properties"),
                                                        QStringLiteral("GetAll"));
        m << interface;
        QDBusPendingReply<QVariantMap> reply = clientBus->asyncCall(m);
        EXPECT_TRUE(WaitFor([&] { return reply.isFinished(); }));
        EXPECT_FALSE(reply.isError()) << reply.error().message().toStdString();
        return reply.value();
    }
    test::PrivateBus::Reply Player(const QString& method, const QStringList& args = {}) {
        return bus.Send(name, QStringLiteral("org.mpris.MediaPlayer2.Player.") + method, args);
    }

    test::PrivateBus bus;
    std::unique_ptr<QDBusConnection> serviceBus, clientBus;
    FakeTarget target;
    std::unique_ptr<MprisService> service;
    QString name;
    test::MprisListener listener;
};

TEST_F(MprisTest, PropertiesOfBothInterfaces) {
    const QVariantMap root = GetAll(QStringLiteral("org.mpris.MediaPlayer2"));
    EXPECT_EQ(root.value("Identity").toString(), QStringLiteral("Tavo音乐盒2010"));
    EXPECT_TRUE(root.contains("SupportedUriSchemes"));

    const QVariantMap player = GetAll(QStringLiteral("org.mpris.MediaPlayer2.Player"));
    EXPECT_EQ(player.value("PlaybackStatus").toString(), QStringLiteral("Playing"));
    EXPECT_EQ(player.value("Position").toLongLong(), 10'000'000);
    EXPECT_DOUBLE_EQ(player.value("Volume").toDouble(), 0.5);
    for (const char* can : {"CanPlay", "CanPause", "CanGoNext", "CanGoPrevious", "CanSeek", "CanControl"})
        EXPECT_TRUE(player.value(can).toBool()) << can;

    const QVariantMap meta = AsMap(player.value("Metadata"));
    EXPECT_EQ(TrackIdOf(meta), QStringLiteral("/org/tavo/MusicBox/track/s7"));
    EXPECT_EQ(meta.value("xesam:title").toString(), QStringLiteral("月亮代表我的心"));
    EXPECT_EQ(meta.value("xesam:artist").toStringList(), QStringList{QStringLiteral("邓丽君")});
    EXPECT_EQ(meta.value("mpris:length").toLongLong(), 200'000'000);
    EXPECT_EQ(meta.value("xesam:asText").toString(), QStringLiteral("你问我爱你有多深"));
    EXPECT_EQ(meta.value("xesam:url").toString(), QStringLiteral("http://127.0.0.1:1/a.mp3"));

    // No song: only the "no track" id.
    target.track = {};
    const QVariantMap none = AsMap(GetAll(QStringLiteral("org.mpris.MediaPlayer2.Player")).value("Metadata"));
    EXPECT_EQ(none.size(), 1);
    EXPECT_EQ(TrackIdOf(none), MprisService::kNoTrack);
}

TEST_F(MprisTest, CommandsReachThePlayerOnlyWhereAllowed) {
    const struct {
        const char* method;
        MprisStatus status;
        MprisAbilities can;
        std::vector<std::string> log;
    } cases[] = {
        {"org.mpris.MediaPlayer2.Player.Next", MprisStatus::Playing, {true, true, true, true, true}, {"next"}},
        {"org.mpris.MediaPlayer2.Player.Next", MprisStatus::Playing, {true, true, false, true, true}, {}},
        {"org.mpris.MediaPlayer2.Player.Previous", MprisStatus::Playing, {true, true, true, true, true}, {"previous"}},
        {"org.mpris.MediaPlayer2.Player.Previous", MprisStatus::Playing, {true, true, true, false, true}, {}},
        {"org.mpris.MediaPlayer2.Player.Pause", MprisStatus::Playing, {true, true, true, true, true}, {"pause"}},
        {"org.mpris.MediaPlayer2.Player.PlayPause", MprisStatus::Playing, {true, true, true, true, true}, {"pause"}},
        {"org.mpris.MediaPlayer2.Player.PlayPause", MprisStatus::Paused, {true, false, true, true, true}, {"play"}},
        {"org.mpris.MediaPlayer2.Player.PlayPause", MprisStatus::Stopped, {false, false, false, false, false}, {}},
        {"org.mpris.MediaPlayer2.Player.Play", MprisStatus::Paused, {true, false, true, true, true}, {"play"}},
        {"org.mpris.MediaPlayer2.Player.Play", MprisStatus::Playing, {true, true, true, true, true}, {}},
        {"org.mpris.MediaPlayer2.Player.Stop", MprisStatus::Playing, {true, true, true, true, true}, {"stop"}},
        {"org.mpris.MediaPlayer2.Raise", MprisStatus::Stopped, {}, {"raise"}},
        {"org.mpris.MediaPlayer2.Quit", MprisStatus::Playing, {}, {"quit"}},
    };
    for (const auto& c : cases) {
        target.status = c.status;
        target.can = c.can;
        target.log.clear();
        const auto reply = bus.Send(name, QString::fromLatin1(c.method));
        EXPECT_EQ(reply.code, 0) << c.method << reply.err.toStdString();
        EXPECT_EQ(target.log, c.log) << c.method;
    }
}

TEST_F(MprisTest, SeekWithinTheSongPastItsEndAndSetPosition) {
    const QString track = QStringLiteral("objpath:/org/tavo/MusicBox/track/s7");
    const struct {
        const char* method;
        QStringList args;
        std::vector<std::string> log;
        std::vector<qlonglong> seeked;
    } cases[] = {
        {"Seek", {"int64:5000000"}, {"seek 15000000"}, {15'000'000}},
        {"Seek", {"int64:-60000000"}, {"seek 0"}, {0}},
        {"Seek", {"int64:195000000"}, {"next"}, {}},
        {"SetPosition", {track, "int64:42000000"}, {"seek 42000000"}, {42'000'000}},
        {"SetPosition", {"objpath:/org/tavo/MusicBox/track/other", "int64:42000000"}, {}, {}},
        {"SetPosition", {track, "int64:-1"}, {}, {}},
        {"SetPosition", {track, "int64:200000001"}, {}, {}},
    };
    for (const auto& c : cases) {
        target.position = 10'000'000;
        target.log.clear();
        listener.seeks.clear();
        const auto reply = Player(QString::fromLatin1(c.method), c.args);
        EXPECT_EQ(reply.code, 0) << c.method << reply.err.toStdString();
        EXPECT_EQ(target.log, c.log) << c.method << c.args.join(' ').toStdString();
        // Seeked goes out after the reply: wait for it where it is due.
        if (!c.seeked.empty()) {
            EXPECT_TRUE(WaitFor([&] { return !listener.seeks.empty(); }, 3000));
        }
        test::Pump(30);
        EXPECT_EQ(listener.seeks, c.seeked) << c.method;
    }
    // Nothing seeks a song that cannot seek.
    target.can.seek = false;
    target.log.clear();
    Player(QStringLiteral("Seek"), {QStringLiteral("int64:1000000")});
    Player(QStringLiteral("SetPosition"), {track, QStringLiteral("int64:1000000")});
    EXPECT_TRUE(target.log.empty());
}

TEST_F(MprisTest, VolumeIsWritableAndKeptWithinRange) {
    for (const auto& [sent, kept] : std::vector<std::pair<const char*, double>>{
             {"double:0.25", 0.25}, {"double:1.5", 1.0}, {"double:-2", 0.0}}) {
        const auto reply = bus.Send(name, QStringLiteral("org.freedesktop.DBus.Properties.Set"),
                                    {QStringLiteral("string:org.mpris.MediaPlayer2.Player"), QStringLiteral("string:Volume"),
                                     QStringLiteral("variant:") + QString::fromLatin1(sent)});
        EXPECT_EQ(reply.code, 0) << reply.err.toStdString();
        EXPECT_DOUBLE_EQ(target.volume, kept) << sent;
    }
}

TEST_F(MprisTest, PropertiesChangedOncePerChangeWithWhatChanged) {
    // A new song and a new state, told in one signal.
    target.track.id = QStringLiteral("s8");
    target.track.title = QStringLiteral("甜蜜蜜");
    target.status = MprisStatus::Paused;
    service->Refresh();
    ASSERT_TRUE(WaitFor([&] { return !listener.changes.empty(); }, 3000));
    test::Pump(50);
    ASSERT_EQ(listener.changes.size(), 1u);
    const auto& c = listener.changes.front();
    EXPECT_EQ(c.interface, QStringLiteral("org.mpris.MediaPlayer2.Player"));
    EXPECT_EQ(c.changed.value("PlaybackStatus").toString(), QStringLiteral("Paused"));
    const QVariantMap meta = AsMap(c.changed.value("Metadata"));
    EXPECT_EQ(TrackIdOf(meta), QStringLiteral("/org/tavo/MusicBox/track/s8"));
    EXPECT_EQ(meta.value("xesam:title").toString(), QStringLiteral("甜蜜蜜"));
    EXPECT_EQ(c.changed.size(), 2);

    // Nothing changed: nothing said. Only the position moved: nothing said.
    listener.changes.clear();
    target.position += 1'000'000;
    service->Refresh();
    test::Pump(100);
    EXPECT_TRUE(listener.changes.empty());

    // An ability alone.
    target.can.previous = false;
    service->Refresh();
    ASSERT_TRUE(WaitFor([&] { return !listener.changes.empty(); }, 3000));
    EXPECT_EQ(listener.changes.front().changed, (QVariantMap{{"CanGoPrevious", false}}));
}

TEST_F(MprisTest, ALyricsClientReadsTheWholeTextCoverAndExactPositionAndHearsSeeked) {
    const QString lrc = QStringLiteral("[00:10.00]你问我爱你有多深\n[00:10.00]You ask me how deep\n[00:15.50]我爱你有几分\n");
    target.track.lyricText = lrc;
    target.track.lyricLine.clear();
    target.track.artUrl = QStringLiteral("file:///tmp/covers/abc.jpg");
    target.position = 12'345'678;
    const auto get = [&](const char* property) {
        return bus.Send(name, QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                        {QStringLiteral("string:org.mpris.MediaPlayer2.Player"), QString::fromLatin1(property)});
    };
    const auto meta = get("string:Metadata");
    ASSERT_EQ(meta.code, 0) << meta.err.toStdString();
    for (const char* part : {"xesam:asText", "[00:10.00]你问我爱你有多深", "[00:10.00]You ask me how deep",
                             "[00:15.50]我爱你有几分", "mpris:artUrl", "file:///tmp/covers/abc.jpg", "mpris:length"})
        EXPECT_TRUE(meta.out.contains(QString::fromUtf8(part))) << part << "\n" << meta.out.toStdString();
    const auto position = get("string:Position");
    EXPECT_TRUE(position.out.contains(QStringLiteral("int64 12345678"))) << position.out.toStdString();

    // Seeked after SetPosition, then after a change of song (from its start).
    listener.seeks.clear();
    EXPECT_EQ(Player(QStringLiteral("SetPosition"), {QStringLiteral("objpath:/org/tavo/MusicBox/track/s7"),
                                                   QStringLiteral("int64:15500000")}).code, 0);
    ASSERT_TRUE(WaitFor([&] { return !listener.seeks.empty(); }, 3000));
    EXPECT_EQ(listener.seeks, std::vector<qlonglong>{15'500'000});
    target.track.id = QStringLiteral("s9");
    target.position = 0;
    service->Refresh();
    ASSERT_TRUE(WaitFor([&] { return listener.seeks.size() == 2; }, 3000));
    EXPECT_EQ(listener.seeks.back(), 0);
    // The same song again: no Seeked.
    service->Refresh();
    test::Pump(50);
    EXPECT_EQ(listener.seeks.size(), 2u);
}

TEST_F(MprisTest, ASecondPlayerOfTheSameNameGetsAnInstanceName) {
    FakeTarget other;
    QDBusConnection second = QDBusConnection::connectToBus(bus.address(), "mpris-second");
    {
        MprisService s(other, QStringLiteral("x"), QStringLiteral("x"));
        ASSERT_TRUE(s.Register(second, QStringLiteral("tavomusicbox")));
        EXPECT_TRUE(s.BusName().startsWith(QStringLiteral("org.mpris.MediaPlayer2.tavomusicbox.instance")));
    }
    QDBusConnection::disconnectFromBus("mpris-second");
}

TEST(MprisSessionBus, NoBusNoConnection) {
    const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS"), runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", "/nonexistent-runtime-folder");
    EXPECT_FALSE(SessionBus().has_value());
    if (!address.isEmpty()) qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    qputenv("XDG_RUNTIME_DIR", runtime);
}

}  // namespace
}  // namespace tavo::platform
