// The player started as a user starts it: its command line, one copy per
// user, and the local services it starts and stops.
#include "player_process.h"

#include "platform/core/local_services.h"
#include "platform/core/single_instance.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tavo {
namespace {

using platform::SingleInstance;
using platform::SomethingListens;
using test::PlayerHome;
using test::PlayerProcess;
using test::WaitFor;

constexpr int kStartMs = 30000;  // generous: sanitizer builds start slowly

TEST(PlayerCommandLine, HelpAndVersionPrintUnknownOptionsAreRefused) {
    const struct {
        QStringList args;
        int code;
        const char* out;
        const char* err;
    } cases[] = {
        {{"--version"}, 0, "Tavo音乐盒2010 1.0\n", ""},
        {{"--help"}, 0, "usage: tavo-musicbox [--help] [--version]", ""},
        {{"--shuffle"}, 2, "", "usage: tavo-musicbox [--help] [--version]"},
    };
    PlayerHome home;
    for (const auto& c : cases) {
        PlayerProcess p;
        // No display is needed for any of these.
        QProcessEnvironment env = home.Environment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
        p.Start(env, c.args);
        ASSERT_TRUE(p.WaitEnd(10000)) << c.args.join(' ').toStdString();
        EXPECT_EQ(p.ExitCode(), c.code) << c.args.join(' ').toStdString();
        const QString out = p.Out(), err = p.Err();
        if (*c.out)
            EXPECT_TRUE(out.startsWith(QString::fromUtf8(c.out))) << out.toStdString();
        else
            EXPECT_TRUE(out.isEmpty()) << out.toStdString();
        if (*c.err)
            EXPECT_TRUE(err.contains(QString::fromUtf8(c.err))) << err.toStdString();
        else
            EXPECT_TRUE(err.isEmpty()) << err.toStdString();
        // A refusal is short: the reason and the usage line.
        if (c.code == 2) {
            EXPECT_EQ(err.count(QLatin1Char('\n')), 2) << err.toStdString();
        }
    }
    EXPECT_FALSE(std::filesystem::exists(home.program())) << "printing touched the program folder";
}

// A running copy (here this test) gets the request of a second start, which
// ends with 0 without touching its program folder.
TEST(PlayerInstance, ASecondStartAsksTheRunningCopyAndEnds) {
    PlayerHome home;
    SingleInstance first(home.Q(home.runtime()));
    ASSERT_EQ(first.Claim(), SingleInstance::Role::First);
    int raised = 0;
    QObject::connect(&first, &SingleInstance::RaiseRequested, [&] { ++raised; });

    PlayerProcess second;
    second.Start(home.Environment());
    ASSERT_TRUE(second.WaitEnd(kStartMs));
    EXPECT_EQ(second.ExitCode(), 0) << second.Err().toStdString();
    EXPECT_EQ(raised, 1);
    EXPECT_FALSE(std::filesystem::exists(home.program())) << "the second copy touched the program folder";
}

// A second start given files and addresses hands them to the running copy,
// paths made absolute against the second start's own folder.
TEST(PlayerInstance, ASecondStartHandsOverWhatItWasGiven) {
    PlayerHome home;
    SingleInstance first(home.Q(home.runtime()));
    ASSERT_EQ(first.Claim(), SingleInstance::Role::First);
    QList<QStringList> opened;
    QObject::connect(&first, &SingleInstance::OpenRequested, [&](const QStringList& items) { opened.append(items); });

    PlayerProcess second;
    second.Start(home.Environment(), {"/m/晴天 a.mp3", "/m/folder", "http://radio.example/s?a=1&b=%20"});
    ASSERT_TRUE(second.WaitEnd(kStartMs));
    EXPECT_EQ(second.ExitCode(), 0) << second.Err().toStdString();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], (QStringList{"/m/晴天 a.mp3", "/m/folder", "http://radio.example/s?a=1&b=%20"}));
}

// The request format itself: items with line breaks and percent signs
// survive, and what is malformed or too large is refused, not waited for.
TEST(PlayerInstance, HandOverRequestsAreBoundedAndExact) {
    const QStringList items = {"/m/a\nb.mp3", "/m/100%.mp3", QString(), "http://x/y"};
    bool bad = true;
    EXPECT_EQ(platform::ParseHandOverRequest(platform::HandOverRequest(items), &bad), items);
    EXPECT_FALSE(bad);
    EXPECT_EQ(platform::ParseHandOverRequest("raise\n", &bad), QStringList{});
    const QByteArray whole = platform::HandOverRequest(items);
    EXPECT_FALSE(platform::ParseHandOverRequest(whole.left(whole.size() - 1), &bad));
    EXPECT_FALSE(bad) << "incomplete, not malformed";
    for (const QByteArray& wrong : {QByteArray("hello\n"), QByteArray("open 0\n"), QByteArray("open x\n"),
                                    QByteArray("open 1001\n"), QByteArray("open 1\na\nb\n"),
                                    QByteArray(100, 'r')}) {
        EXPECT_FALSE(platform::ParseHandOverRequest(wrong, &bad));
        EXPECT_TRUE(bad) << wrong.left(20).constData();
    }
    QStringList many;
    for (int i = 0; i < 5000; ++i) many.append(QString(400, QLatin1Char('x')));
    const QByteArray capped = platform::HandOverRequest(many);
    EXPECT_LE(capped.size(), platform::kMaxHandOverBytes);
    const auto back = platform::ParseHandOverRequest(capped, &bad);
    ASSERT_TRUE(back);
    EXPECT_GT(back->size(), 100);
    EXPECT_LE(back->size(), platform::kMaxHandOverItems);
}

TEST(PlayerInstance, LeftoversOfADeadCopyDoNotBlock) {
    PlayerHome home;
    home.dir.Write("run/tavo-musicbox.lock", "12345\n");
    home.dir.Write("run/tavo-musicbox.socket", "");  // not even a socket
    SingleInstance instance(home.Q(home.runtime()));
    EXPECT_EQ(instance.Claim(), SingleInstance::Role::First);
    EXPECT_TRUE(QFileInfo(instance.SocketPath()).exists());
    // Without a runtime folder the player runs unguarded.
    SingleInstance none{QString()};
    EXPECT_EQ(none.Claim(), SingleInstance::Role::Unguarded);
}

// A start while the running copy is ending (its lock still held, nobody
// answering any more) waits for the lock instead of giving up.
TEST(PlayerInstance, AStartWhileTheHolderEndsBecomesTheFirst) {
    PlayerHome home;
    SingleInstance probe(home.Q(home.runtime()));
    const int held = ::open(probe.LockPath().toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    std::thread ending([held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::close(held);
    });
    SingleInstance next(home.Q(home.runtime()));
    EXPECT_EQ(next.Claim(5000), SingleInstance::Role::First);
    ending.join();
    EXPECT_TRUE(QFileInfo(next.SocketPath()).exists());
}

// Two real players: the second shows the first and ends; after the first is
// killed, its lock and socket block nobody; the services it started end with
// it each time.
TEST(PlayerInstance, SecondPlayerEndsAndACrashLeavesNothingThatBlocks) {
    PlayerHome home;
    const int port = test::FreePort();
    home.MakeProgramFolder(port);

    PlayerProcess a;
    a.Start(home.Environment());
    ASSERT_TRUE(WaitFor([&] { return SomethingListens(port); }, kStartMs)) << a.Err().toStdString();

    PlayerProcess b;
    const QString otherFolder = home.Q(home.dir / "other-program");
    b.Start(home.Environment(otherFolder));
    ASSERT_TRUE(b.WaitEnd(kStartMs));
    EXPECT_EQ(b.ExitCode(), 0) << b.Err().toStdString();
    EXPECT_FALSE(QFileInfo::exists(otherFolder));
    EXPECT_TRUE(a.Running());

    // A crash: the services go with the player; lock and socket stay behind.
    a.Signal(SIGKILL);
    ASSERT_TRUE(a.WaitEnd(5000));
    EXPECT_TRUE(WaitFor([&] { return !SomethingListens(port); }, 5000));
    EXPECT_TRUE(std::filesystem::exists(home.runtime() / "tavo-musicbox.socket"));

    PlayerProcess c;
    c.Start(home.Environment());
    ASSERT_TRUE(WaitFor([&] { return SomethingListens(port); }, kStartMs)) << c.Err().toStdString();
    PlayerProcess d;
    d.Start(home.Environment(otherFolder));
    ASSERT_TRUE(d.WaitEnd(kStartMs));
    EXPECT_EQ(d.ExitCode(), 0) << d.Err().toStdString();
    EXPECT_TRUE(c.Running());

    // A polite end: exit status 0, the services stopped, the socket gone.
    c.Signal(SIGTERM);
    ASSERT_TRUE(c.WaitEnd(10000));
    EXPECT_EQ(c.ExitCode(), 0);
    EXPECT_FALSE(SomethingListens(port));
    EXPECT_FALSE(std::filesystem::exists(home.runtime() / "tavo-musicbox.socket"));
    // Without a session bus nothing is said about one.
    EXPECT_FALSE(c.Err().contains(QStringLiteral("bus"), Qt::CaseInsensitive)) << c.Err().toStdString();
}

}  // namespace
}  // namespace tavo
