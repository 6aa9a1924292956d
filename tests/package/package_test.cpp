// The Debian package as a user gets it: unpacked into a temporary root, its
// Depends, its layout, its desktop files validated, and the installed player
// started from there, seeding the user's program folder and starting the
// installed local services.
#include "desktop/player_process.h"

#include "platform/core/local_services.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <csignal>

namespace tavo {
namespace {

namespace fs = std::filesystem;
using test::WaitFor;

struct CommandRun {
    int code;
    QString out;
};

CommandRun Command(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) return {-1, {}};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
}

// Key=value of a desktop entry's main group.
QString DesktopKey(const fs::path& file, const QString& key) {
    QFile f(QString::fromStdString(file.string()));
    if (!f.open(QIODevice::ReadOnly)) return {};
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QString l = QString::fromUtf8(line);
        if (l.startsWith(key + QLatin1Char('='))) return l.mid(key.size() + 1).trimmed();
    }
    return {};
}

TEST(Package, InstalledLayoutRunsWithoutTheSourceTree) {
    if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty())
        GTEST_SKIP() << "dpkg-deb is not installed (Debian package dpkg): the package cannot be unpacked";
    const QStringList debs = QDir(QStringLiteral(TAVO_PACKAGE_DIR)).entryList({QStringLiteral("*.deb")}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << "the package_build fixture makes one package in " TAVO_PACKAGE_DIR;
    const QString deb = QStringLiteral(TAVO_PACKAGE_DIR "/") + debs.first();

    test::PlayerHome home;
    const fs::path root = home.dir / "root";
    const QString rootQ = home.Q(root);
    ASSERT_EQ(Command(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, rootQ}).code, 0);

    // Depends as dpkg-shlibdeps found them, with versions.
    const QString depends = Command(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Depends")}).out;
    for (const char* lib : {"libc6 (>=", "libmpv2", "libqt6widgets6", "libqt6dbus6", "libsqlite3-0"})
        EXPECT_TRUE(depends.contains(QLatin1String(lib))) << lib << " in " << depends.toStdString();

    const QString id = QStringLiteral(TAVO_DESKTOP_ID);
    const fs::path usr = root / "usr";
    const fs::path desktop = usr / "share/applications" / (id + ".desktop").toStdString();
    const fs::path metainfo = usr / "share/metainfo" / (id + ".metainfo.xml").toStdString();
    for (const fs::path& f : {usr / "bin/tavo-musicbox", usr / "lib/tavo-musicbox/tavo-services",
                              usr / "share/tavo-musicbox/services.ini", usr / "share/tavo-musicbox/radio.txt",
                              usr / "share/tavo-musicbox/skin/\u84dd\u8272\u79d1\u6280/skin.ini", desktop, metainfo})
        EXPECT_TRUE(fs::is_regular_file(f)) << f;

    // The desktop entry names what the package holds.
    // Exec names the program and takes the files and addresses a file
    // manager hands it.
    const QStringList exec = DesktopKey(desktop, QStringLiteral("Exec")).split(QLatin1Char(' '));
    EXPECT_TRUE(fs::is_regular_file(usr / "bin" / exec.value(0).toStdString()));
    EXPECT_EQ(exec.value(1), QStringLiteral("%U"));
    EXPECT_EQ(DesktopKey(desktop, QStringLiteral("StartupWMClass")), QStringLiteral("tavo-musicbox"));
    const std::string icon = DesktopKey(desktop, QStringLiteral("Icon")).toStdString();
    for (const char* size : {"16x16", "32x32", "48x48", "64x64", "128x128", "256x256"})
        EXPECT_TRUE(fs::is_regular_file(usr / "share/icons/hicolor" / size / "apps" / (icon + ".png"))) << size;
    EXPECT_TRUE(fs::is_regular_file(usr / "share/icons/hicolor/scalable/apps" / (icon + ".svg")));

    // The validators the desktops' software centres use.
    const CommandRun entry = Command(QStringLiteral("desktop-file-validate"), {home.Q(desktop)});
    EXPECT_EQ(entry.code, 0) << entry.out.toStdString();
    const CommandRun appstream = Command(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"), home.Q(metainfo)});
    EXPECT_EQ(appstream.code, 0) << appstream.out.toStdString();

    // The installed player, as a first start: the user's program folder is
    // seeded from the installed data (a services file of the user's own
    // stays), and the installed services start on the port it names.
    const int port = test::FreePort();
    const std::string ini = test::PlayerHome::ServicesIni(port);
    home.dir.Write("home/.local/share/tavo-musicbox/services.ini", ini);
    test::PlayerProcess player(home.Q(usr / "bin/tavo-musicbox"));
    player.Start(home.Environment(QString()));
    ASSERT_TRUE(WaitFor([&] { return platform::SomethingListens(port); }, 30000)) << player.Err().toStdString();
    EXPECT_TRUE(WaitFor([&] { return fs::is_directory(home.userData() / "notepad"); }, 30000))
        << "the start-up did not reach the notes database";
    EXPECT_TRUE(fs::is_regular_file(home.userData() / "skin/\u84dd\u8272\u79d1\u6280/skin.ini"));
    EXPECT_TRUE(fs::is_regular_file(home.userData() / "radio.txt"));
    EXPECT_EQ(test::TempDir::Read(home.userData() / "services.ini"), ini);
    EXPECT_TRUE(player.Running());

    player.Signal(SIGTERM);
    ASSERT_TRUE(player.WaitEnd(10000));
    EXPECT_EQ(player.ExitCode(), 0) << player.Err().toStdString();
    EXPECT_FALSE(platform::SomethingListens(port));
}

}  // namespace
}  // namespace tavo
