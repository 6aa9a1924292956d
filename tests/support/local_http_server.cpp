#include "support/local_http_server.h"

#include <stdexcept>

namespace tavo::test {

LocalHttpServer::LocalHttpServer() = default;

LocalHttpServer::~LocalHttpServer() { Stop(); }

void LocalHttpServer::Start() {
    // One request per connection, so that Stop() never waits for an idle
    // keep-alive connection to time out.
    server_.set_keep_alive_max_count(1);
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("cannot bind a local port");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() does nothing until the server runs: wait for it.
    for (int i = 0; i < 2000 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!server_.is_running()) throw std::runtime_error("local server did not start");
}

void LocalHttpServer::Stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    server_.stop();
    thread_.join();
}

QString LocalHttpServer::Url(const std::string& path) const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_) + QString::fromStdString(path);
}

bool LocalHttpServer::Sleep(std::chrono::milliseconds d) const {
    const auto until = std::chrono::steady_clock::now() + d;
    while (std::chrono::steady_clock::now() < until) {
        if (stopping_) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace tavo::test
