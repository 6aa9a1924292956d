#pragma once
// An HTTP server on 127.0.0.1 (a free port) for one test, running on its own
// thread. Register handlers before Start(); Stop() (or the destructor) ends
// it, waking any handler that waits in Sleep().

#include <httplib.h>

#include <QString>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace tavo::test {

class LocalHttpServer {
public:
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    httplib::Server& server() { return server_; }
    // Binds and starts serving; returns once requests are accepted.
    void Start();
    void Stop();

    int port() const { return port_; }
    // "http://127.0.0.1:PORT" + path
    QString Url(const std::string& path = "") const;

    // Sleeps up to `d` in a handler, returning early when the server stops.
    // Returns false when it was woken by Stop().
    bool Sleep(std::chrono::milliseconds d) const;
    bool stopping() const { return stopping_; }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
};

}  // namespace tavo::test
