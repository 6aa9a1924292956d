#pragma once
// WebQuery: one small web request at a time, answered in memory, for the
// clients of the open services (station directory, lyrics library). It
// reads through the download layer's reader (platform::MakeAsyncReader), so
// it has the program's User-Agent, the redirect rules and the test seam of
// every other download.
//
// Every request gets an id, unique in the process; the answer carries it.
// A new Get() or Cancel() drops the request in flight: its reader is gone
// and nothing of it is answered. A request that cannot start is answered
// too (from the event loop, after Get() has returned its id).
//
// Bounds: a body over maxBodyBytes fails as it arrives (the rest is never
// read); a request not finished after timeoutMs fails, whatever it has
// received by then.

#include "platform/core/async_read.h"
#include "platform/request_slot.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace tavo {

// How a request ended.
enum class WebFailure {
    kNone,         // body holds the whole reply (HTTP 2xx)
    kCannotStart,  // the address is not a web address
    kConnection,   // no reply came: refused, unreachable, no such host
    kHttpStatus,   // the server answered with an HTTP error (httpStatus)
    kBroken,       // the reply began but did not end well: too large, cut short
    kTimedOut,     // the whole request took longer than its time limit (a silent server)
};

struct WebAnswer {
    std::uint64_t request = 0;
    WebFailure failure = WebFailure::kNone;
    int httpStatus = 0;  // 0 when no reply head came
    QByteArray body;     // only with kNone
    QString text;        // a readable reason for a failure
};

struct WebLimits {
    qint64 maxBodyBytes = 1024 * 1024;
    int timeoutMs = 10000;
};

class WebQuery : public QObject {
    Q_OBJECT
public:
    explicit WebQuery(WebLimits limits, QObject* parent = nullptr);
    ~WebQuery() override;

    // Extra request headers (besides User-Agent), for every later request.
    void SetHeaders(std::vector<std::pair<QByteArray, QByteArray>> headers) { headers_ = std::move(headers); }
    const WebLimits& Limits() const { return limits_; }

    // Starts reading `address` (already percent-encoded where it must be),
    // dropping any request in flight. Returns the new request's id.
    std::uint64_t Get(const QString& address);
    void Cancel();
    bool Running() const { return current_ != 0; }
    std::uint64_t Current() const { return current_; }

Q_SIGNALS:
    void Answered(const WebAnswer& answer);

private:
    void OnProgress(int status, const QString& text);
    void OnComplete(const QByteArray& body);
    void OnTimeout();
    void Finish(WebAnswer answer);

    WebLimits limits_;
    std::vector<std::pair<QByteArray, QByteArray>> headers_;
    std::unique_ptr<platform::AsyncReader> reader_;
    QTimer deadline_;
    std::uint64_t current_ = 0;  // id of the request in flight, 0 when idle
};

}  // namespace tavo
