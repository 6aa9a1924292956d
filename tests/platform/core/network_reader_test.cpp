// The real reader over the program's one network manager, against a local
// server: the wire behaviour (headers, redirects) is the point here.
#include "platform/core/async_read.h"
#include "platform/core/network_access.h"
#include "platform/core/user_agent.h"

#include "support/event_loop.h"
#include "support/local_http_server.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QNetworkAccessManager>

#include <mutex>

namespace tavo::platform {
namespace {

// One read to its end: the notifications' statuses, and the body when it
// completed.
struct ReadResult {
    QList<int> statuses;
    QString failure;
    bool completed = false;
    QByteArray body;
};

ReadResult ReadToEnd(NetworkReader& reader, const QString& address) {
    ReadResult r;
    QObject::connect(&reader, &AsyncReader::Progress, [&r](int status, const QString& text, qint64, qint64) {
        r.statuses.append(status);
        if (status == kReadFailed) r.failure = text;
    });
    QObject::connect(&reader, &AsyncReader::Complete, [&r](qint64, const QByteArray& body) {
        r.completed = true;
        r.body = body;
    });
    EXPECT_EQ(reader.Start(address), QString());
    EXPECT_TRUE(test::WaitFor([&] { return r.completed || !r.failure.isEmpty(); }));
    return r;
}

class NetworkReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& s = server.server();
        s.Get("/agent", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex);
            agents.push_back(req.get_header_value("User-Agent"));
            res.set_content("ok", "text/plain");
        });
        s.Get("/hop", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/agent"); });
        s.Get("/to", [](const httplib::Request& req, httplib::Response& res) {
            res.set_redirect(req.get_param_value("where"));
        });
        s.Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/plain", [this](size_t, httplib::DataSink& sink) {
                sink.write("x", 1);
                return server.Sleep(std::chrono::milliseconds(20));
            });
        });
        server.Start();
    }
    test::LocalHttpServer server;
    std::mutex mutex;
    std::vector<std::string> agents;
};

TEST_F(NetworkReaderTest, EveryRequestNamesTheProgramAndItsVersion) {
    NetworkReader reader;
    const ReadResult r = ReadToEnd(reader, server.Url("/hop"));
    ASSERT_TRUE(r.completed) << r.failure.toStdString();
    EXPECT_EQ(r.body, "ok");
    EXPECT_TRUE(r.statuses.contains(kRedirecting));
    std::lock_guard lock(mutex);
    ASSERT_EQ(agents.size(), 1u);  // the hop's own request was answered by the redirect
    EXPECT_EQ(agents[0], kUserAgent);
    EXPECT_TRUE(agents[0].starts_with("TavoMusicBox/1."));
}

TEST_F(NetworkReaderTest, RedirectsAreFollowedOnlyToWebAddresses) {
    struct Case {
        const char* where;
        bool follows;
    } cases[] = {
        {"/agent", true},
        {"file:///etc/hostname", false},
        {"data:text/plain,secret", false},
        {"ftp://127.0.0.1:1/x", false},
    };
    for (const auto& c : cases) {
        NetworkReader reader;
        const ReadResult r = ReadToEnd(reader, server.Url("/to?where=") + QUrl::toPercentEncoding(c.where));
        EXPECT_EQ(r.completed, c.follows) << c.where << " " << r.failure.toStdString();
        if (!c.follows) {
            EXPECT_EQ(r.statuses.last(), kReadFailed) << c.where;
            EXPECT_TRUE(r.body.isEmpty());
        }
    }
}

TEST_F(NetworkReaderTest, AllReadersShareTheProgramsOneManager) {
    NetworkReader first;
    NetworkReader second;
    ASSERT_TRUE(ReadToEnd(first, server.Url("/agent")).completed);
    ASSERT_TRUE(ReadToEnd(second, server.Url("/agent")).completed);
    EXPECT_TRUE(first.findChildren<QNetworkAccessManager*>().isEmpty());
    EXPECT_TRUE(second.findChildren<QNetworkAccessManager*>().isEmpty());
    EXPECT_EQ(qApp->findChildren<QNetworkAccessManager*>(Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(&NetworkAccess(), &NetworkAccess());
}

TEST_F(NetworkReaderTest, ClosingDropsReadsInFlightAndALaterReadGetsANewManager) {
    NetworkReader reader;
    int notices = 0;
    QObject::connect(&reader, &AsyncReader::Progress, [&](int status, const QString&, qint64, qint64) {
        if (status == kBodyData) ++notices;
    });
    ASSERT_EQ(reader.Start(server.Url("/slow")), QString());
    ASSERT_TRUE(test::WaitFor([&] { return notices > 0; }));
    CloseNetworkAccess();
    EXPECT_FALSE(reader.Running());
    const int seen = notices;
    test::Pump(100);
    EXPECT_EQ(notices, seen) << "a dropped read reports nothing more";

    NetworkReader again;
    EXPECT_TRUE(ReadToEnd(again, server.Url("/agent")).completed);
    EXPECT_EQ(qApp->findChildren<QNetworkAccessManager*>(Qt::FindDirectChildrenOnly).size(), 1);
}

}  // namespace
}  // namespace tavo::platform
