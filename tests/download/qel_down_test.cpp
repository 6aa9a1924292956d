#include "download/qel_down.h"

#include "platform/ansi_text.h"
#include "platform/async_read.h"
#include "support/event_loop.h"
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
const auto SpinFor = [](std::chrono::milliseconds d) { test::Pump(d); };

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
        s.Get("/quarter", [this](const httplib::Request&, httplib::Response& res) {
            // 50 of 200 bytes, a pause, then the rest.
            res.set_content_provider(200, "text/plain", [this](size_t offset, size_t, httplib::DataSink& sink) {
                if (offset == 0) {
                    sink.write(std::string(50, 'a').data(), 50);
                    server.Sleep(300ms);
                } else {
                    sink.write(std::string(150, 'b').data(), 150);
                }
                return true;
            });
        });
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
        s.Get("/huge", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("application/octet-stream", [](size_t offset, httplib::DataSink& sink) {
                if (offset >= 64 * 1024) return false;
                std::string block(4096, 'z');
                sink.write(block.data(), block.size());
                return true;
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
        s.Get(R"(/echo.*)", [this](const httplib::Request& req, httplib::Response& res) {
            lastTarget = req.target;
            res.set_content(req.target, "text/plain");
        });
        server.Start();
    }

    QString Target(const char* name) const { return platform::PathToQString(dir / name); }

    test::LocalHttpServer server;
    test::TempDir dir;
    std::string lastTarget;
};

TEST_F(QelDownTest, SuccessRaisesEveryEventInOrderAndSavesExactlyTheBody) {
    QelDown d;
    EventLog log(d);
    d.setFileURL(server.Url("/ok"));
    d.setSaveFileName(Target("tmp.txt"));
    ASSERT_TRUE(d.BeginDownload());
    EXPECT_TRUE(d.Downloading());
    ASSERT_TRUE(WaitFor([&] { return log.completes > 0; }));
    EXPECT_EQ(log.Milestones(), (QStringList{"DLConnected " + server.Url("/ok"), "DLMIMEType text/plain",
                                             "DLFileSize 200", "DLBeginDownload", "DLComplete 200 0"}));
    EXPECT_EQ(log.events[log.events.size() - 2], "DLProgress 1 200 200");
    EXPECT_EQ(test::TempDir::Read(dir / "tmp.txt"), std::string(200, 'x'));
    EXPECT_FALSE(d.Downloading());
    EXPECT_TRUE(d.Saved());
    EXPECT_EQ(d.BytesRead(), 200);
    EXPECT_EQ(d.FileSize(), 200);
    EXPECT_EQ(d.MIMEType(), "text/plain");
}

TEST_F(QelDownTest, ProgressIsAFractionOfTheAnnouncedSize) {
    QelDown d;
    EventLog log(d);
    d.setFileURL(server.Url("/quarter"));
    d.setSaveFileName(Target("q.txt"));
    ASSERT_TRUE(d.BeginDownload());
    ASSERT_TRUE(WaitFor([&] { return log.completes > 0; }));
    EXPECT_TRUE(log.events.contains("DLProgress 0.25 50 200")) << log.events.join("\n").toStdString();
    EXPECT_EQ(test::TempDir::Read(dir / "q.txt"), std::string(50, 'a') + std::string(150, 'b'));
}

TEST_F(QelDownTest, ReplacesAnExistingFileWhole) {
    dir.Write("tmp.txt", std::string(5000, 'o'));
    QelDown d;
    d.setFileURL(server.Url("/ok"));
    d.setSaveFileName(Target("tmp.txt"));
    ASSERT_TRUE(d.BeginDownload(true));
    EXPECT_EQ(test::TempDir::Read(dir / "tmp.txt"), std::string(200, 'x'));
}

TEST_F(QelDownTest, WaitProcessesEventsUntilDoneAndReturnsSaved) {
    QelDown d;
    EventLog log(d);
    d.setFileURL(server.Url("/ok"));
    d.setSaveFileName(Target("w.txt"));
    EXPECT_TRUE(d.BeginDownload(true));
    EXPECT_EQ(log.completes, 1);
    EXPECT_FALSE(d.Downloading());

    d.setFileURL(server.Url("/missing"));
    EXPECT_FALSE(d.BeginDownload(true));
}

struct FailureCase {
    const char* path;
    QString firstError;  // prefix of the DLError line
    bool completes;
};

TEST_F(QelDownTest, FailuresEndWithTheirCodes) {
    const FailureCase cases[] = {
        {"/redirect", "DLError 2 Redirected to " + server.Url("/ok"), false},
        {"/empty", "DLError 3 Zero bytes retrieved", true},
        {"/missing", "DLError 99 HTTP 404", false},
        {"/truncated", "DLError 99", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        QelDown d;
        EventLog log(d);
        d.setFileURL(server.Url(c.path));
        d.setSaveFileName(Target("f.txt"));
        ASSERT_TRUE(d.BeginDownload());
        ASSERT_TRUE(WaitFor([&] { return !d.Downloading(); }));
        SpinFor(100ms);  // nothing may follow
        const QStringList m = log.Milestones();
        const auto err = std::find_if(m.begin(), m.end(), [](const QString& e) { return e.startsWith("DLError"); });
        ASSERT_NE(err, m.end()) << m.join("\n").toStdString();
        EXPECT_TRUE(err->startsWith(c.firstError)) << err->toStdString();
        EXPECT_EQ(err + 1 == m.end() ? 0 : 1, c.completes ? 1 : 0) << m.join("\n").toStdString();
        if (c.completes) {
            EXPECT_EQ(m.last(), "DLComplete 0 3");
        }
        EXPECT_FALSE(std::filesystem::exists(dir / "f.txt"));
    }
}

TEST_F(QelDownTest, RedirectKeepsTheAbsoluteAddress) {
    QelDown d;
    d.setFileURL(server.Url("/redirect"));
    d.setSaveFileName(Target("r.txt"));
    ASSERT_TRUE(d.BeginDownload());
    ASSERT_TRUE(WaitFor([&] { return !d.Downloading(); }));
    EXPECT_EQ(d.RedirectFile(), server.Url("/ok"));
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

TEST_F(QelDownTest, RefusedConnectionIsAReadFailure) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();  // nothing listens there now
    QelDown d;
    EventLog log(d);
    d.setFileURL(QStringLiteral("http://127.0.0.1:%1/x").arg(port));
    d.setSaveFileName(Target("x.txt"));
    ASSERT_TRUE(d.BeginDownload());
    ASSERT_TRUE(WaitFor([&] { return !d.Downloading(); }));
    ASSERT_FALSE(log.events.isEmpty());
    EXPECT_TRUE(log.events.last().startsWith("DLError 99 ")) << log.events.last().toStdString();
    EXPECT_EQ(log.completes, 0);
}

TEST_F(QelDownTest, StalledTransferFailsAfterTheStallTime) {
    QelDown d;
    EventLog log(d);
    d.setStallTimeoutMs(300);
    d.setFileURL(server.Url("/stall"));
    d.setSaveFileName(Target("s.txt"));
    ASSERT_TRUE(d.BeginDownload());
    ASSERT_TRUE(WaitFor([&] { return !d.Downloading(); }, 5s));
    EXPECT_TRUE(log.events.last().startsWith("DLError 99 No data received")) << log.events.last().toStdString();
    EXPECT_EQ(log.completes, 0);
}

TEST_F(QelDownTest, OversizedBodyFailsBeforeMemoryRunsOut) {
    QelDown d;
    EventLog log(d);
    d.setMaxBodyBytes(10000);
    d.setFileURL(server.Url("/huge"));
    d.setSaveFileName(Target("h.txt"));
    ASSERT_TRUE(d.BeginDownload());
    ASSERT_TRUE(WaitFor([&] { return !d.Downloading(); }));
    EXPECT_TRUE(log.events.last().startsWith("DLError 99 The reply is larger")) << log.events.last().toStdString();
    EXPECT_LE(d.BytesRead(), 10000);
    EXPECT_FALSE(std::filesystem::exists(dir / "h.txt"));

    // An announced length over the limit fails at the headers.
    QelDown d2;
    EventLog log2(d2);
    d2.setMaxBodyBytes(100);
    d2.setFileURL(server.Url("/ok"));
    d2.setSaveFileName(Target("h2.txt"));
    ASSERT_TRUE(d2.BeginDownload());
    ASSERT_TRUE(WaitFor([&] { return !d2.Downloading(); }));
    EXPECT_FALSE(log2.events.join("|").contains("DLProgress"));
    EXPECT_TRUE(log2.events.last().startsWith("DLError 99")) << log2.events.last().toStdString();
}

TEST_F(QelDownTest, EndlessFastBodyStopsAtTheSizeLimit) {
    QelDown d;
    EventLog log(d);
    d.setMaxBodyBytes(1 << 20);
    d.setStallTimeoutMs(3000);
    d.setFileURL(server.Url("/endless"));
    d.setSaveFileName(Target("e.bin"));
    ASSERT_TRUE(d.BeginDownload());
    ASSERT_TRUE(WaitFor([&] { return !d.Downloading(); }, 10s));
    EXPECT_TRUE(log.events.last().startsWith("DLError 99 The reply is larger")) << log.events.last().toStdString();
    EXPECT_TRUE(log.events.join("|").contains("DLProgress"));
}

TEST_F(QelDownTest, CancelStopsARunningDownloadAndNothingFollows) {
    QelDown d;
    EventLog log(d);
    d.setFileURL(server.Url("/stall"));
    d.setSaveFileName(Target("c.txt"));
    ASSERT_TRUE(d.BeginDownload());
    ASSERT_TRUE(WaitFor([&] { return log.events.join("|").contains("DLProgress"); }));
    d.CancelDownload();
    EXPECT_FALSE(d.Downloading());
    EXPECT_EQ(log.events.last(), "DLCanceled");
    const auto count = log.events.size();
    SpinFor(300ms);
    EXPECT_EQ(log.events.size(), count);
    EXPECT_EQ(d.Percent(), 0.0f);
}

TEST_F(QelDownTest, CancelWhenIdleRaisesNothing) {
    QelDown d;
    EventLog log(d);
    d.CancelDownload();
    EXPECT_TRUE(log.events.isEmpty());
}

TEST_F(QelDownTest, BeginDownloadIsRefusedWhileBusyOrWithoutTargets) {
    QelDown d;
    EventLog log(d);
    d.setFileURL(server.Url("/ok"));
    EXPECT_FALSE(d.BeginDownload());  // no SaveFileName
    d.setSaveFileName(Target("b.txt"));
    d.setFileURL(QString());
    EXPECT_FALSE(d.BeginDownload());  // no FileURL
    EXPECT_TRUE(log.events.isEmpty());

    d.setFileURL(server.Url("/quarter"));
    ASSERT_TRUE(d.BeginDownload());
    d.setFileURL(server.Url("/ok"));
    EXPECT_FALSE(d.BeginDownload());  // busy: the running download is undisturbed
    ASSERT_TRUE(WaitFor([&] { return log.completes > 0; }));
    EXPECT_EQ(log.completes, 1);
    EXPECT_EQ(test::TempDir::Read(dir / "b.txt"), std::string(50, 'a') + std::string(150, 'b'));
}

TEST_F(QelDownTest, AddressThatCannotStartIsErrorOneWithCompletion) {
    QelDown d;
    EventLog log(d);
    d.setFileURL("ftp://127.0.0.1/x");
    d.setSaveFileName(Target("e.txt"));
    EXPECT_FALSE(d.BeginDownload());
    ASSERT_EQ(log.events.size(), 2);
    EXPECT_TRUE(log.events[0].startsWith("DLError 1 ")) << log.events[0].toStdString();
    EXPECT_EQ(log.events[1], "DLComplete 0 1");
    EXPECT_FALSE(d.Downloading());
}

TEST_F(QelDownTest, UnwritableTargetIsErrorFourWithoutCompletion) {
    QelDown d;
    EventLog log(d);
    d.setFileURL(server.Url("/ok"));
    d.setSaveFileName(Target("no/such/folder/x.txt"));
    ASSERT_TRUE(d.BeginDownload());
    ASSERT_TRUE(WaitFor([&] { return !d.Downloading(); }));
    EXPECT_TRUE(log.events.last().startsWith("DLError 4 ")) << log.events.last().toStdString();
    EXPECT_EQ(log.completes, 0);
}

TEST_F(QelDownTest, CompletionHandlerCanStartTheNextDownload) {
    QelDown d;
    EventLog log(d);
    bool restarted = false;
    QObject::connect(&d, &QelDown::DLComplete, [&](int32_t, int16_t) {
        if (restarted) return;
        restarted = true;
        d.CancelDownload();
        d.setFileURL(server.Url("/quarter"));
        EXPECT_TRUE(d.BeginDownload());
    });
    d.setFileURL(server.Url("/ok"));
    d.setSaveFileName(Target("n.txt"));
    ASSERT_TRUE(d.BeginDownload());
    ASSERT_TRUE(WaitFor([&] { return log.completes == 2; }));
    EXPECT_FALSE(d.Downloading());
    EXPECT_EQ(test::TempDir::Read(dir / "n.txt"), std::string(50, 'a') + std::string(150, 'b'));
}

TEST_F(QelDownTest, DestroyedWhileDownloadingRaisesNothing) {
    QStringList events;
    {
        QelDown d;
        EventLog log(d);
        d.setFileURL(server.Url("/stall"));
        d.setSaveFileName(Target("d.txt"));
        ASSERT_TRUE(d.BeginDownload());
        ASSERT_TRUE(WaitFor([&] { return log.events.join("|").contains("DLProgress"); }));
        events = log.events;
    }
    SpinFor(100ms);  // no crash from late network notifications
    EXPECT_FALSE(events.join("|").contains("DLCanceled"));
}

TEST_F(QelDownTest, NonAsciiIsSentInCodePage936AndAsciiAsWritten) {
    QelDown d;
    d.setFileURL(server.Url("/echo?song=") + QStringLiteral("歌手") + "&singer=A-B_C.D~E(F)&down=2");
    d.setSaveFileName(Target("u.txt"));
    ASSERT_TRUE(d.BeginDownload(true));
    EXPECT_EQ(lastTarget, "/echo?song=%B8%E8%CA%D6&singer=A-B_C.D~E(F)&down=2");
}

TEST(RequestUrl, EncodesOnlyWhatAUrlCannotHold) {
    struct Case {
        QString in;
        QByteArray out;
    } cases[] = {
        {"http://h/a b", "http://h/a%20b"},
        {"http://h/q?x=%26&y=1", "http://h/q?x=%26&y=1"},
        {QStringLiteral("http://h/音"), "http://h/%D2%F4"},
        {"http://h/a\"b", "http://h/a%22b"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::RequestUrl(c.in).toEncoded(), c.out) << c.in.toStdString();
}

}  // namespace
}  // namespace tavo
