// The bundled local services: start and stop, the shapes they serve, the
// faults they put on when asked, and the program that runs them.
#include "demo_content.h"
#include "demo_service.h"
#include "tune.h"

#include "download/qel_down.h"
#include "platform/ansi_text.h"
#include "platform/codepage.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>

#include <csignal>

namespace tavo {
namespace {

using services::DemoService;

struct Fetched {
    bool saved = false;
    QList<int> errors;
    QString errorText;
    int completeError = -1;
    std::string body;
};

Fetched Fetch(const QString& url, const std::function<void(QelDown&)>& setup = nullptr) {
    test::TempDir dir;
    QelDown d;
    if (setup) setup(d);
    Fetched f;
    QObject::connect(&d, &QelDown::DLError, [&f](int32_t e, const QString& text) {
        f.errors.append(e);
        f.errorText = text;
    });
    QObject::connect(&d, &QelDown::DLComplete, [&f](int32_t, int16_t e) { f.completeError = e; });
    d.setFileURL(url);
    d.setSaveFileName(platform::PathToQString(dir / "out.bin"));
    f.saved = d.BeginDownload(true);
    f.body = test::TempDir::Read(dir / "out.bin");
    return f;
}

class DemoServiceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.Start(0)); }
    QString Url(const std::string& path) const { return QString::fromStdString(service.Url(path)); }
    DemoService service;
};

TEST(DemoServiceLife, StartsOnAFreePortStopsAndRefusesABusyPort) {
    DemoService a;
    ASSERT_TRUE(a.Start(0));
    EXPECT_GT(a.port(), 0);
    EXPECT_TRUE(a.running());
    DemoService b;
    EXPECT_FALSE(b.Start(a.port())) << "the port is taken";
    a.Stop();
    EXPECT_FALSE(a.running());
    a.Stop();  // twice is harmless
}

TEST_F(DemoServiceTest, SongsAreWavFilesOfTheAskedLength) {
    const Fetched f = Fetch(Url("/song/t0badf00d.wav?sec=2"));
    ASSERT_TRUE(f.saved);
    ASSERT_EQ(f.body.size(), 44u + 2u * 2 * services::kSampleRate);
    EXPECT_EQ(f.body.substr(0, 4), "RIFF");
    // The same address gives the same song.
    EXPECT_EQ(Fetch(Url("/song/t0badf00d.wav?sec=2")).body, f.body);
    EXPECT_NE(Fetch(Url("/song/t0badf00e.wav?sec=2")).body, f.body);
    EXPECT_FALSE(Fetch(Url("/song/nothex.wav")).saved);
}

TEST(DemoTune, AnyByteRangeIsASliceOfTheWholeFile) {
    const services::Tune t(42, 3);
    const std::string whole = t.File();
    ASSERT_EQ(whole.size(), t.fileSize());
    for (auto [offset, length] : {std::pair<size_t, size_t>{0, 10}, {40, 9}, {45, 1000}, {whole.size() - 3, 50}}) {
        std::string part;
        t.ReadBytes(offset, length, part);
        EXPECT_EQ(part, whole.substr(offset, length)) << offset;
    }
    // Not silent, and inside the 16-bit range with headroom.
    int peak = 0;
    for (size_t i = 44; i + 1 < whole.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int16_t>(static_cast<uint8_t>(whole[i]) | (static_cast<uint8_t>(whole[i + 1]) << 8))));
    EXPECT_GT(peak, 3000);
    EXPECT_LE(peak, 30000);
    for (uint32_t seed : {0u, 1u, 40u, 0xFFFFFFFFu}) {
        EXPECT_GE(services::SongSeconds(seed), 20);
        EXPECT_LE(services::SongSeconds(seed), 60);
    }
}

TEST_F(DemoServiceTest, FaultsOnRequest) {
    struct Case {
        const char* path;
        QList<int> errors;
        int complete;
    };
    const Case cases[] = {
        {"/music/ver.asp", {}, 0},
        {"/x/redirect/music/ver.asp", {kDLRedirected}, -1},
        {"/x/empty/music/ver.asp", {kDLZeroBytes}, kDLZeroBytes},
        {"/x/404/music/ver.asp", {kDLReadFailed}, -1},
        {"/x/500/music/ver.asp", {kDLReadFailed}, -1},
        {"/no/such/page", {kDLReadFailed}, -1},
        {"/x/reset/music/ver.asp", {kDLReadFailed}, -1},
        {"/x/truncate/song/t00000001.wav?sec=1", {kDLReadFailed}, -1},
        {"/x/stall/song/t00000001.wav?sec=1", {kDLReadFailed}, -1},
        {"/x/huge/anything", {kDLReadFailed}, -1},
        {"/x/endless/anything", {kDLReadFailed}, -1},
        {"/x/slow/music/ver.asp", {}, 0},
    };
    for (const auto& c : cases) {
        const Fetched f = Fetch(Url(c.path), [](QelDown& d) {
            d.setStallTimeoutMs(500);
            d.setMaxBodyBytes(4 << 20);
        });
        EXPECT_EQ(f.errors, c.errors) << c.path << " " << f.errorText.toStdString();
        EXPECT_EQ(f.completeError, c.complete) << c.path;
    }
    const Fetched redirect = Fetch(Url("/x/redirect/music/ver.asp?a=1"));
    EXPECT_EQ(redirect.errorText, "Redirected to " + Url("/music/ver.asp?a=1"));
    const Fetched slow = Fetch(Url("/x/slow/music/ver.asp"));
    EXPECT_EQ(slow.body, Fetch(Url("/music/ver.asp")).body);
}

TEST_F(DemoServiceTest, StopEndsStalledAndEndlessReplies) {
    QelDown stalled, endless;
    stalled.setFileURL(Url("/x/stall/music/ver.asp"));
    endless.setFileURL(Url("/x/endless/a"));
    endless.setMaxBodyBytes(qint64{1} << 40);
    test::TempDir dir;
    stalled.setSaveFileName(platform::PathToQString(dir / "a"));
    endless.setSaveFileName(platform::PathToQString(dir / "b"));
    ASSERT_TRUE(stalled.BeginDownload());
    ASSERT_TRUE(endless.BeginDownload());
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    service.Stop();  // returns: nothing waits forever
    EXPECT_FALSE(service.running());
    stalled.CancelDownload();
    endless.CancelDownload();
}

TEST_F(DemoServiceTest, LyricsComeInCodePage936UnlessAskedForUtf8) {
    const QString query = QStringLiteral("?song=晚风里的灯塔&singer=林小舟&down=2");
    const Fetched gbk = Fetch(Url("/fcgi-bin/fcg_download_lrc.q") + query);
    ASSERT_TRUE(gbk.saved);
    const Fetched utf8 = Fetch(Url("/x/utf8/fcgi-bin/fcg_download_lrc.q") + query);
    ASSERT_TRUE(utf8.saved);
    EXPECT_FALSE(platform::IsValidUtf8(QByteArray::fromStdString(gbk.body)));
    EXPECT_TRUE(platform::IsValidUtf8(QByteArray::fromStdString(utf8.body)));
    const QString a = platform::DecodeTextLines(QByteArray::fromStdString(gbk.body)).join('\n');
    const QString b = platform::DecodeTextLines(QByteArray::fromStdString(utf8.body)).join('\n');
    EXPECT_EQ(a.mid(a.indexOf("<![CDATA[")), b.mid(b.indexOf("<![CDATA[")));
    EXPECT_TRUE(a.contains(QStringLiteral("[ti:晚风里的灯塔]")));
    EXPECT_EQ(a.count("<![CDATA["), 1);
}

TEST_F(DemoServiceTest, LyricLinesAreTimedWithinTheSong) {
    const std::string title = "Paper Lanterns", artist = "Mira Vale";
    const int seconds = services::SongSeconds(services::SongSeed(title, artist));
    const Fetched f = Fetch(Url("/fcgi-bin/fcg_download_lrc.q?song=Paper Lanterns&singer=Mira Vale&down=2"));
    ASSERT_TRUE(f.saved);
    const QString text = QString::fromStdString(f.body);
    const QString lrc = text.mid(text.indexOf("<![CDATA[") + 9).section("]]>", 0, 0);
    int last = -1, lines = 0;
    for (const QString& line : lrc.split('\n', Qt::SkipEmptyParts)) {
        if (line.size() < 10 || !line[1].isDigit()) continue;
        const int at = line.mid(1, 2).toInt() * 60 + line.mid(4, 2).toInt();
        EXPECT_GE(at, last) << line.toStdString();
        last = at;
        ++lines;
    }
    EXPECT_GE(lines, 5);
    EXPECT_LT(last, seconds);
    EXPECT_GE(last, seconds - 8);
}

TEST_F(DemoServiceTest, UpdateNoticeHasAVersionAndNotices) {
    const Fetched f = Fetch(Url("/music/ver.asp"));
    const QStringList parts = QString::fromStdString(f.body).split("{++}");
    ASSERT_GE(parts.size(), 2);
    for (const QString& part : parts) EXPECT_TRUE(part.section("{|}", 1, 1).startsWith(Url("/"))) << part.toStdString();
    EXPECT_TRUE(Fetch(Url("/x/ver-0.9/music/ver.asp")).body.starts_with("0.9{|}"));
}

TEST(DemoServiceProgram, PrintsItsAddressAndStopsOnSigterm) {
    QProcess p;
    p.start(QStringLiteral(TAVO_BIN_DIR "/tavo-services"), {"--port", "0"});
    ASSERT_TRUE(p.waitForStarted(10000));
    ASSERT_TRUE(p.waitForReadyRead(10000));
    const QString line = QString::fromUtf8(p.readLine()).trimmed();
    ASSERT_TRUE(line.startsWith("listening on http://127.0.0.1:")) << line.toStdString();
    const QString base = line.mid(QStringLiteral("listening on ").size());
    EXPECT_TRUE(Fetch(base + "/music/ver.asp").saved);
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);

    QProcess bad;
    bad.start(QStringLiteral(TAVO_BIN_DIR "/tavo-services"), {"--port", "x"});
    ASSERT_TRUE(bad.waitForFinished(10000));
    EXPECT_NE(bad.exitCode(), 0);
}

}  // namespace
}  // namespace tavo
