#include "support/fake_lyrics_library.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace tavo::test {

namespace {

QJsonObject TrackJson(const FakeTrack& t, int id) {
    QJsonObject o{
        {"id", id},
        {"name", QString::fromStdString(t.title)},
        {"trackName", QString::fromStdString(t.title)},
        {"artistName", QString::fromStdString(t.artist)},
        {"albumName", QString::fromStdString(t.album)},
        {"duration", t.duration},
        {"instrumental", t.instrumental},
    };
    o.insert("plainLyrics", t.plain.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(t.plain)));
    o.insert("syncedLyrics", t.synced.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(t.synced)));
    return o;
}

std::string Param(const httplib::Request& req, const char* key) {
    return req.has_param(key) ? req.get_param_value(key) : std::string();
}

}  // namespace

FakeLyricsLibrary::FakeLyricsLibrary() {
    auto& s = server_.server();
    s.Get("/api/get", [this](const httplib::Request& req, httplib::Response& res) {
        Record(req);
        Wait();
        std::lock_guard lock(mu_);
        if (oversized_) {
            res.set_content(std::string(1100 * 1024, ' ') + "{}", "application/json");
            return;
        }
        const std::string title = Param(req, "track_name"), artist = Param(req, "artist_name");
        const std::string duration = Param(req, "duration");
        for (size_t i = 0; i < tracks_.size(); ++i) {
            const FakeTrack& t = tracks_[i];
            if (t.title != title || t.artist != artist) continue;
            if (!duration.empty() && std::abs(std::stod(duration) - t.duration) > 2) continue;
            res.set_content(QJsonDocument(TrackJson(t, static_cast<int>(i) + 1)).toJson().toStdString(),
                            "application/json");
            return;
        }
        res.status = 404;
        res.set_content(R"({"code":404,"name":"TrackNotFound","message":"Failed to find specified track"})",
                        "application/json");
    });
    s.Get("/api/search", [this](const httplib::Request& req, httplib::Response& res) {
        Record(req);
        Wait();
        std::lock_guard lock(mu_);
        if (searchBody_) {
            res.set_content(*searchBody_, "application/json");
            return;
        }
        const std::string title = Param(req, "track_name"), artist = Param(req, "artist_name");
        QJsonArray hits;
        for (size_t i = 0; i < tracks_.size(); ++i) {
            const FakeTrack& t = tracks_[i];
            if (t.title.find(title) == std::string::npos || (!artist.empty() && t.artist != artist)) continue;
            hits.append(TrackJson(t, static_cast<int>(i) + 1));
        }
        res.set_content(QJsonDocument(hits).toJson().toStdString(), "application/json");
    });
    // A connection the client dropped before sending its request holds a
    // worker only briefly (and Stop() does not wait seconds for it).
    s.set_read_timeout(0, 300 * 1000);
    s.set_keep_alive_timeout(1);
    server_.Start();
}

FakeLyricsLibrary::~FakeLyricsLibrary() { server_.Stop(); }

void FakeLyricsLibrary::Add(FakeTrack track) {
    std::lock_guard lock(mu_);
    tracks_.push_back(std::move(track));
}

void FakeLyricsLibrary::SetDelay(std::chrono::milliseconds d) {
    std::lock_guard lock(mu_);
    delay_ = d;
}

void FakeLyricsLibrary::SetOversized(bool on) {
    std::lock_guard lock(mu_);
    oversized_ = on;
}

void FakeLyricsLibrary::SetSearchBody(std::optional<std::string> body) {
    std::lock_guard lock(mu_);
    searchBody_ = std::move(body);
}

void FakeLyricsLibrary::Record(const httplib::Request& req) {
    FakeLibraryRequest r;
    r.path = req.path;
    for (const auto& [k, v] : req.params) r.params[k] = v;
    r.userAgent = req.get_header_value("User-Agent");
    r.client = req.get_header_value("Lrclib-Client");
    std::lock_guard lock(mu_);
    requests_.push_back(std::move(r));
}

void FakeLyricsLibrary::Wait() {
    std::chrono::milliseconds d;
    {
        std::lock_guard lock(mu_);
        d = delay_;
    }
    if (d.count() > 0) server_.Sleep(d);
}

std::vector<FakeLibraryRequest> FakeLyricsLibrary::Requests() const {
    std::lock_guard lock(mu_);
    return requests_;
}

int FakeLyricsLibrary::Count(const std::string& path) const {
    std::lock_guard lock(mu_);
    int n = 0;
    for (const auto& r : requests_) n += r.path == path;
    return n;
}

}  // namespace tavo::test
