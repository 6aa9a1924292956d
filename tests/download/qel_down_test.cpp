#include "download/qel_down.h"

#include "platform/ansi_text.h"
#include "platform/core/async_read.h"
#include "support/event_loop.h"
#include "support/core/fake_net.h"
#include "support/local_http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>

#include <memory>

namespace tavo {
namespace {

using namespace std::chrono_literals;
using test::WaitFor;

// Records every event of a control as one line of text, in order.
struct EventLog {
    explicit EventLog(QelDown& d) {
        QObject::connect(&d, &QelDown::DLProgress, [this](float p, int32_t r, int32_t t) {
            events.push_back(QStringLiteral("DLProgress %1 %2 %3").arg(p).arg(r).arg(t));
        });
        QObject::connect(&d, &QelDown::DLCanceled, [this] { events.push_back("DLCanceled"); });
        QObject::connect(&d, &QelDown::DLError, [this](int32_t e, const QString& text) {
            events.push_back(QStringLiteral("DLError %1 %2").arg(e).arg(text));
        });
        QObject::connect(&d, &QelDown::DLComplete, [this](int32_t b, int16_t e) {
            events.push_back(QStringLiteral("DLComplete %1 %2").arg(b).arg(e));
            ++completes;
        });
        QObject::connect(&d, &QelDown::DLFinished, [this](int32_t b, int16_t e) {
            events.push_back(QStringLiteral("DLFinished %1 %2").arg(b).arg(e));
            ++finishes;
        });
        QObject::connect(&d, &QelDown::DLConnected, [this](const QString& a) { events.push_back("DLConnected " + a); });
        QObject::connect(&d, &QelDown::DLRedirect, [this](const QString& a) { events.push_back("DLRedirect " + a); });
        QObject::connect(&d, &QelDown::DLMIMEType, [this](const QString& m) { events.push_back("DLMIMEType " + m); });
        QObject::connect(&d, &QelDown::DLFileSize, [this](int32_t b) { events.push_back(QStringLiteral("DLFileSize %1").arg(b)); });
        QObject::connect(&d, &QelDown::DLBeginDownload, [this] { events.push_back("DLBeginDownload"); });
    }
    // The events without DLProgress lines (their count depends on timing).
    QStringList Milestones() const {
        QStringList out;
        for (const QString& e : events)
            if (!e.startsWith("DLProgress")) out.push_back(e);
        return out;
    }
    QStringList events;
    int completes = 0;
    int finishes = 0;
};


class QelDownTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& s = server.server();
        s.Get("/ok", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(200, 'x'), "text/plain");
        });
        s.Get("/empty", [](const httplib::Request&, httplib::Response& res) { res.set_content("", "text/plain"); });
        s.Get("/missing", [](const httplib::Request&, httplib::Response& res) { res.status = 404; });
        s.Get("/redirect", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/ok"); });
        s.Get("/stall", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/plain", [this](size_t offset, httplib::DataSink& sink) {
                if (offset == 0) {
                    sink.write("0123456789", 10);
                    return true;
                }
                server.Sleep(20s);
                return false;
            });
        });
        s.Get("/endless", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("application/octet-stream", [this](size_t, httplib::DataSink& sink) {
                if (server.stopping()) return false;
                std::string block(4096, 'e');
                return sink.write(block.data(), block.size());
            });
        });
        s.Get("/truncated", [](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(1000, "text/plain", [](size_t, size_t, httplib::DataSink& sink) {
                sink.write(std::string(500, 't').data(), 500);
                return false;  // the connection closes after 500 of 1000 bytes
            });
        });
        server.Start();
    }

    QString Target(const char* name) const { return platform::PathToQString(dir / name); }

    test::LocalHttpServer server;
    test::TempDir dir;
};

TEST_F(QelDownTest, SuccessRaisesEveryEventInOrderAndReplacesTheFileWithTheBody) {
    dir.Write("tmp.txt", std::string(5000, 'o'));
    QelDown d;
    EventLog log(d);
    d.setFileURL(server.Url("/ok"));
    d.setSaveFileName(Target("tmp.txt"));
    ASSERT_TRUE(d.BeginDownload());
    EXPECT_TRUE(d.Downloading());
    ASSERT_TRUE(WaitFor([&] { return log.finishes > 0; }));
    EXPECT_EQ(log.Milestones(), (QStringList{"DLConnected " + server.Url("/ok"), "DLMIMEType text/plain",
                                             "DLFileSize 200", "DLBeginDownload", "DLComplete 200 0",
                                             "DLFinished 200 0"}));
    EXPECT_EQ(log.events[log.events.size() - 3], "DLProgress 1 200 200");
    EXPECT_EQ(test::TempDir::Read(dir / "tmp.txt"), std::string(200, 'x'));
    EXPECT_FALSE(d.Downloading());
    EXPECT_TRUE(d.Saved());
    EXPECT_EQ(d.BytesRead(), 200);
    EXPECT_EQ(d.FileSize(), 200);
    EXPECT_EQ(d.MIMEType(), "text/plain");
    // Waiting processes events until the end and tells whether it saved.
    EXPECT_TRUE(d.BeginDownload(true));
    EXPECT_EQ(log.finishes, 2);
    d.setFileURL(server.Url("/missing"));
    EXPECT_FALSE(d.BeginDownload(true));
}

TEST_F(QelDownTest, FailuresEndWithTheirCodes) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const QString refused = QStringLiteral("http://127.0.0.1:%1/x").arg(probe.serverPort());
    probe.close();  // nothing listens there now
    constexpr qint64 kLarge = 64LL << 20;
    const struct {
        QString url;
        QString error;  // prefix of the DLError line
        bool completes;
        qint64 maxBody = kLarge;
        int stallMs = 30000;
        const char* target = "f.txt";
    } cases[] = {
        {"ftp://127.0.0.1/x", "DLError 1 ", true},  // cannot start: all at once
        {server.Url("/ok"), "DLError 4 ", false, kLarge, 30000, "no/such/folder/f.txt"},
        {server.Url("/redirect"), "DLError 2 Redirected to " + server.Url("/ok"), false},
        {server.Url("/empty"), "DLError 3 Zero bytes retrieved", true},
        {server.Url("/missing"), "DLError 99 HTTP 404", false},
        {server.Url("/truncated"), "DLError 99", false},
        {refused, "DLError 99 ", false},
        {server.Url("/stall"), "DLError 99 No data received", false, kLarge, 300},
        // An announced length over the limit fails at the headers; a fast
        // endless body fails at the limit, before memory runs out.
        {server.Url("/ok"), "DLError 99 The reply is larger", false, 100},
        {server.Url("/endless"), "DLError 99 The reply is larger", false, 1 << 20, 8000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url.toStdString());
        QelDown d;
        EventLog log(d);
        d.setMaxBodyBytes(c.maxBody);
        d.setStallTimeoutMs(c.stallMs);
        d.setFileURL(c.url);
        d.setSaveFileName(Target(c.target));
        EXPECT_EQ(d.BeginDownload(), !c.url.startsWith("ftp"));
        ASSERT_TRUE(WaitFor([&] { return log.finishes > 0; }, 10s));
        EXPECT_FALSE(d.Downloading());
        // The error, its completion when it has one, and one finish with its code.
        QStringList m = log.Milestones();
        while (!m.isEmpty() && !m.first().startsWith("DLError")) m.removeFirst();
        ASSERT_EQ(m.size(), c.completes ? 3 : 2) << log.events.join("\n").toStdString();
        EXPECT_TRUE(m[0].startsWith(c.error)) << m[0].toStdString();
        const QString code = m[0].section(' ', 1, 1);
        if (c.completes) {
            EXPECT_EQ(m[1], "DLComplete 0 " + code);
        }
        EXPECT_EQ(m.last(), "DLFinished 0 " + code);
        EXPECT_LE(d.BytesRead(), c.maxBody);
        EXPECT_FALSE(std::filesystem::exists(dir / "f.txt"));
        if (c.url.endsWith("/redirect")) {
            EXPECT_EQ(d.RedirectFile(), server.Url("/ok"));
        }
    }
}

TEST_F(QelDownTest, RedirectIsFollowedWhenNotFailing) {
    QelDown d;
    EventLog log(d);
    d.setFailOnRedirect(false);
    d.setFileURL(server.Url("/redirect"));
    d.setSaveFileName(Target("r.txt"));
    ASSERT_TRUE(d.BeginDownload(true));
    EXPECT_TRUE(log.events.contains("DLRedirect " + server.Url("/ok")));
    EXPECT_EQ(test::TempDir::Read(dir / "r.txt"), std::string(200, 'x'));
}

// Through the download layer's seam: the reader is answered by hand.
class QelDownSeam : public ::testing::Test {
protected:
    void Begin(QelDown& d, const char* name = "s.txt") {
        d.setFileURL("http://seam/" + QString::fromLatin1(name));
        d.setSaveFileName(platform::PathToQString(dir / name));
        ASSERT_TRUE(d.BeginDownload());
    }
    test::FakeNet net;
    test::TempDir dir;
};

TEST_F(QelDownSeam, ProgressIsAFractionOfTheAnnouncedSize) {
    QelDown d;
    EventLog log(d);
    Begin(d);
    Q_EMIT net.Latest()->Progress(platform::kBodyData, QString(), 50, 200);
    EXPECT_EQ(log.events.last(), "DLProgress 0.25 50 200");
    EXPECT_EQ(d.Percent(), 0.25f);
}

TEST_F(QelDownSeam, CancelStopsTheDownloadAndALateReplyReachesNothing) {
    QelDown d;
    EventLog log(d);
    d.CancelDownload();  // idle: nothing
    EXPECT_TRUE(log.events.isEmpty());
    Begin(d);
    const QPointer<test::FakeReader> reader = net.Latest();
    d.CancelDownload();
    EXPECT_FALSE(d.Downloading());
    EXPECT_EQ(log.events, QStringList{"DLCanceled"});
    ASSERT_TRUE(reader);
    reader->Reply("late");
    EXPECT_EQ(log.events, QStringList{"DLCanceled"});
    EXPECT_FALSE(std::filesystem::exists(dir / "s.txt"));
}

TEST_F(QelDownSeam, DestroyedWhileDownloadingRaisesNothing) {
    auto d = std::make_unique<QelDown>();
    EventLog log(*d);
    Begin(*d);
    const QPointer<test::FakeReader> reader = net.Latest();
    d.reset();
    EXPECT_TRUE(log.events.isEmpty());
    if (reader) reader->Reply("late");  // no crash, nothing raised
    EXPECT_TRUE(log.events.isEmpty());
}

TEST_F(QelDownSeam, BeginDownloadIsRefusedWhileBusyOrWithoutTargets) {
    QelDown d;
    EventLog log(d);
    d.setFileURL("http://seam/b");
    EXPECT_FALSE(d.BeginDownload());  // no SaveFileName
    d.setSaveFileName(platform::PathToQString(dir / "b.txt"));
    d.setFileURL(QString());
    EXPECT_FALSE(d.BeginDownload());  // no FileURL
    EXPECT_TRUE(log.events.isEmpty());

    Begin(d, "b.txt");
    d.setFileURL("http://seam/other");
    EXPECT_FALSE(d.BeginDownload());  // busy: the running download is undisturbed
    EXPECT_EQ(net.Count(), 1);
    net.Latest()->Reply("first");
    EXPECT_EQ(log.Milestones(), (QStringList{"DLFileSize 5", "DLBeginDownload", "DLComplete 5 0", "DLFinished 5 0"}));
    EXPECT_EQ(test::TempDir::Read(dir / "b.txt"), "first");
}

// A handler may start the next download at once: after DLFinished directly,
// after DLComplete once it has cancelled (the old download then finishes
// with it).
TEST_F(QelDownSeam, HandlersCanStartTheNextDownload) {
    for (const bool onComplete : {true, false}) {
        QelDown d;
        EventLog log(d);
        bool restarted = false;
        auto restart = [&] {
            if (restarted) return;
            restarted = true;
            if (onComplete) d.CancelDownload();
            d.setFileURL("http://seam/next");
            EXPECT_TRUE(d.BeginDownload());
        };
        if (onComplete)
            QObject::connect(&d, &QelDown::DLComplete, restart);
        else
            QObject::connect(&d, &QelDown::DLFinished, restart);
        Begin(d, "n.txt");
        net.Latest()->Reply("one");
        EXPECT_TRUE(d.Downloading()) << onComplete;
        EXPECT_EQ(log.finishes, onComplete ? 0 : 1);
        net.Latest("next")->Reply("two");
        EXPECT_FALSE(d.Downloading());
        EXPECT_EQ(log.finishes, onComplete ? 1 : 2);
        EXPECT_EQ(test::TempDir::Read(dir / "n.txt"), "two");
    }
}

// DLEnded names the download that ended: the caller's identity, or a fresh
// one; a download started from the DLFinished handler of the one before
// does not take the earlier end for its own.
TEST_F(QelDownSeam, EachEndCarriesTheIdentityOfItsDownload) {
    QelDown d;
    std::vector<RequestId> ended;
    QObject::connect(&d, &QelDown::DLEnded, [&](RequestId id, int32_t, int16_t) { ended.push_back(id); });
    const RequestId mine = NextRequestId();
    d.setRequest(mine);
    Begin(d, "a.txt");
    EXPECT_EQ(d.Request(), mine);
    net.Latest()->Reply("one");
    EXPECT_EQ(ended, std::vector<RequestId>{mine});
    EXPECT_EQ(d.Request(), 0u) << "idle";

    Begin(d, "b.txt");
    const RequestId fresh = d.Request();
    EXPECT_NE(fresh, 0u);
    EXPECT_NE(fresh, mine);
    const RequestId next = NextRequestId();
    QObject::connect(&d, &QelDown::DLFinished, [&] {
        if (d.Downloading()) return;
        d.setRequest(next);
        d.setFileURL("http://seam/next");
        d.BeginDownload();
    });
    net.Latest()->Reply("two");
    EXPECT_EQ(ended, (std::vector<RequestId>{mine, fresh}));
    EXPECT_EQ(d.Request(), next);
    d.CancelDownload();
    EXPECT_EQ(ended.size(), 2u) << "a cancelled download does not end";
}

TEST(RequestUrl, EncodesOnlyWhatAUrlCannotHold) {
    struct Case {
        QString in;
        QByteArray out;
    } cases[] = {
        {"http://h/a b", "http://h/a%20b"},
        {"http://h/q?x=%26&y=1", "http://h/q?x=%26&y=1"},
        {QStringLiteral("http://h/音"), "http://h/%D2%F4"},
        {QStringLiteral("http://h/e?song=歌手&singer=A-B_C.D~E(F)"), "http://h/e?song=%B8%E8%CA%D6&singer=A-B_C.D~E(F)"},
        {"http://h/a\"b", "http://h/a%22b"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::RequestUrl(c.in).toEncoded(), c.out) << c.in.toStdString();
}

}  // namespace
}  // namespace tavo
