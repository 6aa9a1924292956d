#pragma once
// A station directory on 127.0.0.1 for tests: a server list, a station
// search with paging, the click of a started station, station icons, and a
// second server that fails every request with 503 (the first in the list
// the fake gives out, so a client must move past it).
//
//   GET /json/servers                 [{"name":"127.0.0.1:<failing>"},{"name":"127.0.0.1:<good>"}]
//   GET /json/stations/search?...     name (substring), countrycode, order
//                                     (votes|clickcount), reverse, limit, offset
//   GET /json/url/<uuid>              {"ok":true,...}, counted
//   GET /icon/<n>.png                 a small PNG made by the test
//
// A test may replace the page body (hostile replies) and read what was
// asked (paths with queries, and the User-Agent of each request).

#include "support/local_http_server.h"

#include <QString>

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tavo::test {

struct FakeStation {
    std::string uuid, name, url, country, countrycode, codec, tags, favicon;
    int bitrate = 128, votes = 0, clicks = 0;
};

class FakeRadioDirectory {
public:
    // `count` stations: "电台 <i>", CN for even i, HK for odd, votes = i.
    explicit FakeRadioDirectory(int count = 100);
    ~FakeRadioDirectory();

    // The directory's own address (serves the server list and searches).
    QString Base() const { return good_.Url(); }

    // Every request each server got: path and query as sent.
    std::vector<std::string> GoodRequests() const;
    std::vector<std::string> FailingRequests() const;
    std::vector<std::string> UserAgents() const;
    int Clicks(const std::string& uuid) const;

    // The body every search answers with from now on (null: the stations).
    void SetPageBody(std::optional<std::string> body);
    // The body and status of the server list.
    void SetServerList(std::string body, int status = 200);
    void SetIcon(std::string bytes) { std::lock_guard lock(mu_); icon_ = std::move(bytes); }

    std::vector<FakeStation>& Stations() { return stations_; }

private:
    void Record(std::vector<std::string>& list, const httplib::Request& req);

    LocalHttpServer good_;
    LocalHttpServer failing_;
    mutable std::mutex mu_;
    std::vector<FakeStation> stations_;
    std::vector<std::string> goodRequests_, failingRequests_, userAgents_;
    std::vector<std::pair<std::string, int>> clicks_;
    std::optional<std::string> pageBody_;
    std::optional<std::pair<std::string, int>> serverList_;
    std::string icon_;
};

}  // namespace tavo::test
