#pragma once
// The bundled local services: the radio playlist, the radio feeds, the chart
// site, the song search, the lyrics, the update notice and the songs
// themselves, on 127.0.0.1. The player's demo with no internet, and the
// server tests start in-process.
//
// Misbehaviour on request, for tests: a path "/x/<mode>/<path>" answers
// "/<path>" with the fault <mode>:
//   redirect   302 to "/<path>" (absolute address)
//   empty      200 with an empty body
//   404        404 Not Found;  500  500 Internal Server Error
//   reset      the connection is reset before any reply
//   truncate   the real headers and half the body, then the connection closes
//   stall      headers and the first kilobyte, then nothing until the client
//              gives up or the service stops
//   slow       the body in 1 KiB pieces every 100 ms
//   endless    a body that never ends (no length given)
//   huge       a declared length of 1 GiB, sent until the client gives up
//   gbk, utf8  the lyrics in code page 936 (the default) or UTF-8
//   ver-N      the update notice announces version N (e.g. "ver-1.1")
// A song address takes "sec=N" (1 to 600) for a song of N seconds.

#include <httplib.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace tavo::services {

inline constexpr int kDefaultPort = 17380;

class DemoService {
public:
    DemoService();
    ~DemoService();
    DemoService(const DemoService&) = delete;
    DemoService& operator=(const DemoService&) = delete;

    // Listens on 127.0.0.1:port (0 = any free port). False when the port
    // cannot be bound. Returns once requests are accepted.
    bool Start(int port = kDefaultPort);
    // Ends every pending reply (stalled and endless ones too) and stops.
    void Stop();

    bool running() const;
    int port() const { return port_; }
    // "http://127.0.0.1:PORT" + path
    std::string Url(const std::string& path = "") const;

    // Requests served so far (all paths).
    long requests() const { return requests_; }

private:
    void Handle(const httplib::Request& req, httplib::Response& res);
    void Serve(const std::string& path, const httplib::Request& req, const std::string& base, const std::string& mode,
               httplib::Response& res);
    bool Pause(int ms) const;  // false when stopping

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<long> requests_{0};
    std::atomic<std::uint64_t> batches_{0};
};

}  // namespace tavo::services
