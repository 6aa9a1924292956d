// WebQuery against a server on 127.0.0.1: how each kind of ending is told
// apart, the bounds, the extra headers, and that only the newest request
// is answered.
#include "download/web_query.h"

#include "support/event_loop.h"
#include "support/local_http_server.h"

#include <gtest/gtest.h>

#include <mutex>
#include <optional>
#include <vector>

namespace tavo {
namespace {

using test::WaitFor;

class WebQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& s = server.server();
        s.Get("/ok", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mu);
            header = req.get_header_value("X-Test");
            agent = req.get_header_value("User-Agent");
            res.set_content("[1,2]", "application/json");
        });
        s.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content(R"({"code":404})", "application/json");
        });
        s.Get("/busy", [](const httplib::Request&, httplib::Response& res) { res.status = 503; });
        s.Get("/big", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(5000, 'x'), "text/plain");
        });
        s.Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
            server.Sleep(std::chrono::milliseconds(1500));
            res.set_content("late", "text/plain");
        });
        server.Start();
    }

    std::optional<WebAnswer> Ask(WebQuery& q, const QString& address) {
        std::optional<WebAnswer> got;
        auto c = QObject::connect(&q, &WebQuery::Answered, [&](const WebAnswer& a) { got = a; });
        const std::uint64_t id = q.Get(address);
        WaitFor([&] { return got.has_value(); }, 5000);
        QObject::disconnect(c);
        if (got) {
            EXPECT_EQ(got->request, id);
        }
        return got;
    }

    test::LocalHttpServer server;
    std::mutex mu;
    std::string header, agent;
};

TEST_F(WebQueryTest, EachEndingIsToldApart) {
    WebQuery q({1000, 400});
    q.SetHeaders({{"X-Test", "yes"}});
    const struct {
        QString address;
        WebFailure failure;
        int status;
    } cases[] = {
        {server.Url("/ok"), WebFailure::kNone, 200},
        {server.Url("/missing"), WebFailure::kHttpStatus, 404},
        {server.Url("/busy"), WebFailure::kHttpStatus, 503},
        {server.Url("/big"), WebFailure::kBroken, 200},          // over the 1000-byte bound
        {server.Url("/slow"), WebFailure::kTimedOut, 0},          // over the 400 ms bound
        {QStringLiteral("http://127.0.0.1:1/x"), WebFailure::kConnection, 0},
        {QStringLiteral("ftp://127.0.0.1/x"), WebFailure::kCannotStart, 0},
    };
    for (const auto& c : cases) {
        const auto a = Ask(q, c.address);
        ASSERT_TRUE(a) << c.address.toStdString();
        EXPECT_EQ(a->failure, c.failure) << c.address.toStdString();
        EXPECT_EQ(a->httpStatus, c.status) << c.address.toStdString();
        EXPECT_EQ(a->body.isEmpty(), c.failure != WebFailure::kNone) << c.address.toStdString();
        EXPECT_FALSE(q.Running());
    }
    std::lock_guard lock(mu);
    EXPECT_EQ(header, "yes");
    EXPECT_EQ(agent.rfind("TavoMusicBox/", 0), 0u) << agent;
}

TEST_F(WebQueryTest, ANewRequestDropsTheOneInFlight) {
    WebQuery q({1000, 3000});
    std::vector<WebAnswer> answers;
    QObject::connect(&q, &WebQuery::Answered, [&](const WebAnswer& a) { answers.push_back(a); });
    q.Get(server.Url("/slow"));
    q.Get(QStringLiteral("ftp://nowhere/"));  // its refusal comes from the event loop
    const std::uint64_t last = q.Get(server.Url("/ok"));
    ASSERT_TRUE(WaitFor([&] { return !answers.empty(); }, 3000));
    test::Pump(100);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].request, last);
    EXPECT_EQ(answers[0].body, "[1,2]");
    q.Get(server.Url("/slow"));
    q.Cancel();
    test::Pump(200);
    EXPECT_EQ(answers.size(), 1u);
}

}  // namespace
}  // namespace tavo
