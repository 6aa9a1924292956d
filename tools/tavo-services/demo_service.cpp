#include "demo_service.h"

#include "demo_content.h"
#include "tune.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <regex>

namespace tavo::services {

namespace {

using namespace std::chrono_literals;

int PortOf(const sockaddr_storage& a) {
    if (a.ss_family == AF_INET) return ntohs(reinterpret_cast<const sockaddr_in&>(a).sin_port);
    if (a.ss_family == AF_INET6) return ntohs(reinterpret_cast<const sockaddr_in6&>(a).sin6_port);
    return -1;
}

// The descriptor of the connection a request came on: the socket whose local
// and peer ports are the request's. -1 when none is found.
int ConnectionFd(const httplib::Request& req) {
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return -1;
    int found = -1;
    while (dirent* e = readdir(dir)) {
        char* end = nullptr;
        const long fd = std::strtol(e->d_name, &end, 10);
        if (end == e->d_name || *end != '\0' || fd == dirfd(dir)) continue;
        sockaddr_storage local{}, peer{};
        socklen_t ll = sizeof local, pl = sizeof peer;
        if (getsockname(static_cast<int>(fd), reinterpret_cast<sockaddr*>(&local), &ll) != 0) continue;
        if (getpeername(static_cast<int>(fd), reinterpret_cast<sockaddr*>(&peer), &pl) != 0) continue;
        if (PortOf(local) == req.local_port && PortOf(peer) == req.remote_port) {
            found = static_cast<int>(fd);
            break;
        }
    }
    closedir(dir);
    return found;
}

// Resets the connection at once: with a zero linger time, closing the last
// reference sends RST and drops anything unsent. The descriptor is replaced
// by an unconnected socket, so the server's own later writes and close go
// nowhere.
void ResetConnection(const httplib::Request& req) {
    const int fd = ConnectionFd(req);
    if (fd < 0) return;
    linger l{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    const int dummy = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (dummy < 0) return;
    dup2(dummy, fd);
    close(dummy);
}

// True when the client has closed its end of the connection.
bool PeerGone(int fd) {
    if (fd < 0) return false;
    pollfd p{fd, POLLIN | POLLRDHUP, 0};
    if (poll(&p, 1, 0) <= 0) return false;
    return (p.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

std::string QueryPart(const httplib::Request& req) {
    const auto q = req.target.find('?');
    return q == std::string::npos ? std::string() : req.target.substr(q);
}

std::string SafeCallback(const std::string& s) {
    std::string out;
    for (char c : s)
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') out += c;
    return out.empty() ? "callback" : out.substr(0, 64);
}

std::string Page(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html>\n<html><head><meta charset='utf-8'><title>" + title + "</title></head><body><h1>" + title +
           "</h1>" + body + "</body></html>\n";
}

std::optional<Tune> TuneFor(const std::string& path, const httplib::Request& req) {
    std::uint32_t seed = 0;
    int seconds = 0;
    static const std::regex kRadio("/radio/([A-Za-z0-9_-]{1,40})\\.wav");
    std::smatch m;
    if (ParseSongPath(path, seed)) {
        seconds = SongSeconds(seed);
    } else if (std::regex_match(path, m, kRadio)) {
        seed = SongSeed(m[1].str(), "radio");
        seconds = kStationSeconds;
    } else {
        return std::nullopt;
    }
    if (req.has_param("sec")) {
        const int s = std::atoi(req.get_param_value("sec").c_str());
        seconds = std::clamp(s, 1, 600);
    }
    return Tune(seed, seconds);
}

}  // namespace

DemoService::DemoService() = default;

DemoService::~DemoService() { Stop(); }

bool DemoService::Start(int port) {
    if (thread_.joinable()) return true;
    stopping_ = false;
    server_ = std::make_unique<httplib::Server>();
    // One request per connection: stopping never waits for an idle client.
    server_->set_keep_alive_max_count(1);
    // Address reuse after a restart, but never two services on one port.
    server_->set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server_->Get(".*", [this](const httplib::Request& req, httplib::Response& res) { Handle(req, res); });
    if (port == 0) {
        port_ = server_->bind_to_any_port("127.0.0.1");
        if (port_ <= 0) return false;
    } else {
        if (!server_->bind_to_port("127.0.0.1", port)) return false;
        port_ = port;
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    for (int i = 0; i < 5000 && !server_->is_running(); ++i) std::this_thread::sleep_for(1ms);
    return server_->is_running();
}

void DemoService::Stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    // stop() does nothing before the server runs.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i) std::this_thread::sleep_for(1ms);
    server_->stop();
    thread_.join();
    server_.reset();
}

bool DemoService::running() const { return server_ && server_->is_running(); }

std::string DemoService::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

bool DemoService::Pause(int ms) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        if (stopping_) return false;
        std::this_thread::sleep_for(5ms);
    }
    return !stopping_;
}

void DemoService::Handle(const httplib::Request& req, httplib::Response& res) {
    ++requests_;
    const std::string host = req.get_header_value("Host");
    const std::string base = host.empty() ? Url() : "http://" + host;

    std::string path = req.path;
    std::string mode;
    if (path.rfind("/x/", 0) == 0) {
        const auto slash = path.find('/', 3);
        mode = path.substr(3, slash == std::string::npos ? std::string::npos : slash - 3);
        path = slash == std::string::npos ? "/" : path.substr(slash);
    }

    if (mode == "reset") {
        ResetConnection(req);
        res.status = 500;
        return;
    }
    if (mode == "404" || mode == "500") {
        res.status = std::atoi(mode.c_str());
        res.set_content(mode == "404" ? "Not Found" : "Internal Server Error", "text/plain");
        return;
    }
    if (mode == "redirect") {
        res.set_redirect(base + path + QueryPart(req), 302);
        return;
    }
    if (mode == "empty") {
        res.status = 200;
        res.set_content("", "text/plain");
        return;
    }
    if (mode == "endless") {
        res.set_chunked_content_provider("application/octet-stream", [this](size_t, httplib::DataSink& sink) {
            // A steady stream rather than a flood: a reader that takes the
            // data as it comes still gets to see it arrive.
            const std::string block(64 * 1024, 'x');
            while (Pause(1))
                if (!sink.write(block.data(), block.size())) return false;
            return false;
        });
        return;
    }
    if (mode == "huge") {
        constexpr size_t kHuge = size_t{1} << 30;
        res.set_content_provider(kHuge, "application/octet-stream",
                                 [this](size_t offset, size_t length, httplib::DataSink& sink) {
                                     if (stopping_) return false;
                                     const std::string block(std::min<size_t>(length, 64 * 1024), static_cast<char>('a' + offset % 26));
                                     return sink.write(block.data(), block.size());
                                 });
        return;
    }

    Serve(path, req, base, mode, res);
    if (mode != "truncate" && mode != "stall" && mode != "slow") return;
    if (res.status >= 400) return;

    // The faults that need the real body: take it whole.
    std::string body = res.body;
    if (body.empty())
        if (auto tune = TuneFor(path, req)) body = tune->File();
    const std::string type = res.get_header_value("Content-Type");
    auto shared = std::make_shared<const std::string>(std::move(body));
    const size_t total = shared->size();
    res.body.clear();
    if (mode == "truncate") {
        res.set_content_provider(total, type, [shared](size_t offset, size_t, httplib::DataSink& sink) {
            const size_t half = shared->size() / 2;
            if (offset < half) sink.write(shared->data() + offset, half - offset);
            return false;  // the connection closes with half the body sent
        });
    } else if (mode == "stall") {
        res.set_content_provider(std::max<size_t>(total, 2048), type,
                                 [this, shared, req](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset == 0) {
                                         const std::string first = shared->substr(0, 1024) + std::string(shared->size() < 1024 ? 1024 - shared->size() : 0, ' ');
                                         if (!sink.write(first.data(), first.size())) return false;
                                     }
                                     // Nothing more until the client leaves or the service stops
                                     // (ten minutes at most).
                                     const int fd = ConnectionFd(req);
                                     for (int i = 0; i < 600 * 10 && Pause(100); ++i)
                                         if (PeerGone(fd)) break;
                                     return false;
                                 });
    } else {  // slow
        res.set_content_provider(total, type, [this, shared](size_t offset, size_t length, httplib::DataSink& sink) {
            if (!Pause(100)) return false;
            const size_t n = std::min<size_t>({length, 1024, shared->size() - offset});
            return sink.write(shared->data() + offset, n);
        });
    }
}

void DemoService::Serve(const std::string& path, const httplib::Request& req, const std::string& base,
                        const std::string& mode, httplib::Response& res) {
    static const std::regex kFeed("/xml/suixinting_([a-z]+)\\.xml");
    static const std::regex kChartIndex("/top/html_top/top([0-9]{1,2})/top\\1\\.htm");
    static const std::regex kChartEntry("/top/html_top/top([0-9]{1,2})/p0([0-9]{2})_([0-9])\\.htm");
    std::smatch m;
    res.status = 200;

    if (path == "/j/mine/playlist") {
        res.set_content(RadioPlaylistJson(base, batches_++), "text/plain; charset=utf-8");
    } else if (std::regex_match(path, m, kFeed)) {
        const std::string xml = FeedXml(m[1].str());
        if (xml.empty()) res.status = 404;
        else res.set_content(xml, "text/xml; charset=utf-8");
    } else if (std::regex_match(path, m, kChartIndex)) {
        const DemoChart* chart = FindChart(std::stoi(m[1].str()));
        if (!chart) res.status = 404;
        else res.set_content(ChartIndexPage(*chart), "text/html; charset=gb2312");
    } else if (std::regex_match(path, m, kChartEntry)) {
        const DemoChart* chart = FindChart(std::stoi(m[1].str()));
        const std::string page =
            chart ? ChartSongPage(*chart, 18 - std::stoi(m[2].str()), std::stoi(m[3].str()) - 1) : std::string();
        if (page.empty()) res.status = 404;
        else res.set_content(page, "text/html; charset=gb2312");
    } else if (path == "/api/links") {
        res.set_content(SearchReplyJsonp(base, req.get_param_value("query"), SafeCallback(req.get_param_value("jsoncallback"))),
                        "application/javascript; charset=utf-8");
    } else if (path == "/fcgi-bin/fcg_download_lrc.q") {
        const std::string xml = LyricsXml(req.get_param_value("song"), req.get_param_value("singer"));
        if (mode == "utf8") {
            std::string utf8 = xml;
            utf8.replace(utf8.find("GB2312"), 6, "utf-8");
            res.set_content(utf8, "text/xml; charset=utf-8");
        }
        else res.set_content(Utf8ToCp936(xml), "text/xml; charset=GB2312");
    } else if (path == "/music/ver.asp") {
        const std::string version = mode.rfind("ver-", 0) == 0 ? mode.substr(4) : kDemoNewestVersion;
        res.set_content(UpdateNotice(base, version), "text/plain; charset=utf-8");
    } else if (auto tune = TuneFor(path, req)) {
        auto shared = std::make_shared<Tune>(*tune);
        res.set_content_provider(shared->fileSize(), "audio/wav",
                                 [shared, this](size_t offset, size_t length, httplib::DataSink& sink) {
                                     if (stopping_) return false;
                                     std::string chunk;
                                     shared->ReadBytes(offset, std::min<size_t>(length, 64 * 1024), chunk);
                                     return sink.write(chunk.data(), chunk.size());
                                 });
    } else if (path == "/" || path == "/music/" || path.rfind("/music/", 0) == 0) {
        std::string links;
        for (const DemoChart& c : DemoCharts())
            links += "<li><a href='/top/html_top/top" + std::to_string(c.page) + "/top" + std::to_string(c.page) +
                     ".htm'>" + c.name + "</a></li>";
        res.set_content(Page("Tavo音乐盒2010 本地演示服务",
                             "<p>无需联网的演示曲库：歌曲与歌词由程序即时合成。</p><ul>" + links + "</ul>"),
                        "text/html; charset=utf-8");
    } else {
        res.status = 404;
        res.set_content("Not Found", "text/plain");
    }
}

}  // namespace tavo::services
