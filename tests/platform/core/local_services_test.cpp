// Starting the bundled local services with the player: only for loopback
// addresses where nothing listens, with one message for what failed.
#include "platform/core/local_services.h"

#include "desktop/player_process.h"
#include "support/local_http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tavo::platform {
namespace {

const QString kServices = QStringLiteral(TAVO_BIN_DIR "/tavo-services");

TEST(LocalServices, LoopbackHttpPortsOnly) {
    const QStringList addresses{
        QStringLiteral("http://127.0.0.1:17380"),  QStringLiteral("http://LOCALHOST:9000/"),
        QStringLiteral("http://127.0.0.1:17380"),  QStringLiteral("https://127.0.0.1:8443"),
        QStringLiteral("http://music.example:80"), QStringLiteral("http://127.0.0.2:9001"),
        QStringLiteral("not an address"),          QStringLiteral("http://127.0.0.1"),
    };
    EXPECT_EQ(LoopbackPorts(addresses), (QList<int>{17380, 9000, 80}));
    EXPECT_TRUE(LoopbackPorts({}).isEmpty());
}

TEST(LocalServices, FoundBesideThePlayerOrInItsLibFolder) {
    test::TempDir d;
    const auto exe = [](const std::filesystem::path& p) { ::chmod(p.c_str(), 0755); };
    d.Write("build/bin/tavo-services", "#!/bin/sh\n");
    exe(d / "build/bin/tavo-services");
    d.Write("usr/lib/tavo-musicbox/tavo-services", "#!/bin/sh\n");
    exe(d / "usr/lib/tavo-musicbox/tavo-services");
    d.Write("usr/bin/tavo-musicbox", "");
    d.Write("plain/tavo-services", "not executable");
    const auto q = [&](const char* rel) { return QString::fromStdString((d / rel).string()); };
    EXPECT_EQ(FindServicesProgram(q("build/bin")), q("build/bin/tavo-services"));
    EXPECT_EQ(FindServicesProgram(q("usr/bin")), q("usr/lib/tavo-musicbox/tavo-services"));
    EXPECT_EQ(FindServicesProgram(q("plain")), QString());
    EXPECT_EQ(FindServicesProgram(QString()), QString());
}

TEST(LocalServices, StartedWhereNothingListensAndStoppedAfter) {
    const int port = test::FreePort();
    ASSERT_FALSE(SomethingListens(port));
    {
        LocalServices services(kServices);
        EXPECT_EQ(services.Start({port}), QString());
        EXPECT_EQ(services.Started(), QList<int>{port});
        EXPECT_TRUE(SomethingListens(port));
    }
    EXPECT_FALSE(SomethingListens(port));
}

TEST(LocalServices, WhatAlreadyListensIsUsedAsItIs) {
    test::LocalHttpServer other;
    other.Start();
    LocalServices services(kServices);
    EXPECT_EQ(services.Start({other.port()}), QString());
    EXPECT_TRUE(services.Started().isEmpty());
}

TEST(LocalServices, FailuresGiveOneMessageNamingThePorts) {
    const int a = test::FreePort(), b = test::FreePort();
    const struct {
        QString program;
        const char* reason;
    } cases[] = {
        {QStringLiteral("/nonexistent/tavo-services"), "找不到程序 tavo-services"},
        {QStringLiteral("/bin/false"), "意外退出"},
    };
    for (const auto& c : cases) {
        LocalServices services(c.program);
        const QString message = services.Start({a, b}, 2000);
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.reason))) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::number(a)) && message.contains(QString::number(b))) << message.toStdString();
        EXPECT_EQ(message.count(QStringLiteral("本地服务没有启动")), 1);
        EXPECT_TRUE(services.Started().isEmpty());
    }
}

}  // namespace
}  // namespace tavo::platform
