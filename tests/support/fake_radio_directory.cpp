#include "support/fake_radio_directory.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace tavo::test {

namespace {

QJsonObject StationJson(const FakeStation& s) {
    return QJsonObject{
        {"changeuuid", QString::fromStdString(s.uuid + "-c")},
        {"stationuuid", QString::fromStdString(s.uuid)},
        {"name", QString::fromStdString(s.name)},
        {"url", QString::fromStdString(s.url)},
        {"url_resolved", QString::fromStdString(s.url)},
        {"homepage", ""},
        {"favicon", QString::fromStdString(s.favicon)},
        {"tags", QString::fromStdString(s.tags)},
        {"country", QString::fromStdString(s.country)},
        {"countrycode", QString::fromStdString(s.countrycode)},
        {"language", "chinese"},
        {"votes", s.votes},
        {"codec", QString::fromStdString(s.codec)},
        {"bitrate", s.bitrate},
        {"hls", 0},
        {"lastcheckok", 1},
        {"clickcount", s.clicks},
    };
}

std::string Param(const httplib::Request& req, const char* key) {
    return req.has_param(key) ? req.get_param_value(key) : std::string();
}

}  // namespace

FakeRadioDirectory::FakeRadioDirectory(int count) {
    for (int i = 0; i < count; ++i) {
        FakeStation s;
        s.uuid = "9617a958-0601-11e8-ae97-52543be04c" + std::to_string(10 + i % 90) + std::to_string(i);
        s.name = "电台 " + std::to_string(i);
        s.url = "http://127.0.0.1:9/stream/" + std::to_string(i);
        s.country = i % 2 == 0 ? "China" : "Hong Kong";
        s.countrycode = i % 2 == 0 ? "CN" : "HK";
        s.codec = "MP3";
        s.tags = "news,music";
        s.votes = i;
        s.clicks = count - i;
        stations_.push_back(s);
    }
    failing_.server().Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
        Record(failingRequests_, req);
        res.status = 503;
        res.set_content("busy", "text/plain");
    });
    failing_.Start();

    auto& s = good_.server();
    s.Get("/json/servers", [this](const httplib::Request& req, httplib::Response& res) {
        Record(goodRequests_, req);
        std::lock_guard lock(mu_);
        if (serverList_) {
            res.status = serverList_->second;
            res.set_content(serverList_->first, "application/json");
            return;
        }
        const std::string body = "[{\"ip\":\"127.0.0.1\",\"name\":\"127.0.0.1:" + std::to_string(failing_.port()) +
                                 "\"},{\"ip\":\"127.0.0.1\",\"name\":\"127.0.0.1:" + std::to_string(good_.port()) + "\"}]";
        res.set_content(body, "application/json");
    });
    s.Get("/json/stations/search", [this](const httplib::Request& req, httplib::Response& res) {
        Record(goodRequests_, req);
        std::lock_guard lock(mu_);
        if (pageBody_) {
            res.set_content(*pageBody_, "application/json");
            return;
        }
        const std::string name = Param(req, "name"), code = Param(req, "countrycode");
        std::vector<const FakeStation*> hits;
        for (const FakeStation& st : stations_)
            if ((name.empty() || st.name.find(name) != std::string::npos) && (code.empty() || st.countrycode == code))
                hits.push_back(&st);
        const bool byClicks = Param(req, "order") == "clickcount";
        const bool reverse = Param(req, "reverse") == "true";
        std::stable_sort(hits.begin(), hits.end(), [&](const FakeStation* a, const FakeStation* b) {
            const int x = byClicks ? a->clicks : a->votes, y = byClicks ? b->clicks : b->votes;
            return reverse ? x > y : x < y;
        });
        const size_t offset = std::min(hits.size(), static_cast<size_t>(std::stoul("0" + Param(req, "offset"))));
        const size_t limit = static_cast<size_t>(std::stoul("0" + Param(req, "limit")));
        QJsonArray page;
        for (size_t i = offset; i < hits.size() && i < offset + limit; ++i) page.append(StationJson(*hits[i]));
        res.set_content(QJsonDocument(page).toJson(QJsonDocument::Compact).toStdString(), "application/json");
    });
    s.Get(R"(/json/url/([0-9a-f-]+))", [this](const httplib::Request& req, httplib::Response& res) {
        Record(goodRequests_, req);
        std::lock_guard lock(mu_);
        const std::string uuid = req.matches[1];
        auto it = std::find_if(clicks_.begin(), clicks_.end(), [&](const auto& c) { return c.first == uuid; });
        if (it == clicks_.end())
            clicks_.emplace_back(uuid, 1);
        else
            ++it->second;
        res.set_content("{\"ok\":true,\"message\":\"retrieved station url\",\"stationuuid\":\"" + uuid + "\"}",
                        "application/json");
    });
    s.Get(R"(/icon/.*)", [this](const httplib::Request& req, httplib::Response& res) {
        Record(goodRequests_, req);
        std::lock_guard lock(mu_);
        res.set_content(icon_, "image/png");
    });
    // A connection the client dropped before sending its request holds a
    // worker only briefly (and Stop() does not wait seconds for it).
    good_.server().set_read_timeout(0, 300 * 1000);
    good_.server().set_keep_alive_timeout(1);
    good_.Start();
}

FakeRadioDirectory::~FakeRadioDirectory() {
    good_.Stop();
    failing_.Stop();
}

void FakeRadioDirectory::Record(std::vector<std::string>& list, const httplib::Request& req) {
    std::lock_guard lock(mu_);
    list.push_back(req.target);
    userAgents_.push_back(req.get_header_value("User-Agent"));
}

std::vector<std::string> FakeRadioDirectory::GoodRequests() const {
    std::lock_guard lock(mu_);
    return goodRequests_;
}

std::vector<std::string> FakeRadioDirectory::FailingRequests() const {
    std::lock_guard lock(mu_);
    return failingRequests_;
}

std::vector<std::string> FakeRadioDirectory::UserAgents() const {
    std::lock_guard lock(mu_);
    return userAgents_;
}

int FakeRadioDirectory::Clicks(const std::string& uuid) const {
    std::lock_guard lock(mu_);
    for (const auto& c : clicks_)
        if (c.first == uuid) return c.second;
    return 0;
}

void FakeRadioDirectory::SetPageBody(std::optional<std::string> body) {
    std::lock_guard lock(mu_);
    pageBody_ = std::move(body);
}

void FakeRadioDirectory::SetServerList(std::string body, int status) {
    std::lock_guard lock(mu_);
    serverList_ = std::make_pair(std::move(body), status);
}

}  // namespace tavo::test
