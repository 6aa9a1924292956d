#include "download/web_query.h"

#include <QMetaObject>

namespace tavo {

WebQuery::WebQuery(WebLimits limits, QObject* parent) : QObject(parent), limits_(limits) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &WebQuery::OnTimeout);
}

WebQuery::~WebQuery() { Cancel(); }

void WebQuery::Cancel() {
    deadline_.stop();
    current_ = 0;
    if (reader_) {
        reader_->disconnect(this);
        reader_->Cancel();
        // Not deleted here: Cancel() may run inside one of its notifications.
        reader_.release()->deleteLater();
    }
}

std::uint64_t WebQuery::Get(const QString& address) {
    Cancel();
    const std::uint64_t id = NextRequestId();
    current_ = id;
    reader_ = platform::MakeAsyncReader();
    reader_->limits.maxBodyBytes = limits_.maxBodyBytes;
    // The whole-request deadline below ends a silent request first.
    reader_->limits.stallMs = limits_.timeoutMs + 1000;
    reader_->headers = headers_;
    connect(reader_.get(), &platform::AsyncReader::Progress, this,
            [this](int status, const QString& text, qint64, qint64) { OnProgress(status, text); });
    connect(reader_.get(), &platform::AsyncReader::Complete, this,
            [this](qint64, const QByteArray& body) { OnComplete(body); });
    const QString refused = reader_->Start(address);
    if (!refused.isEmpty()) {
        // Answered from the event loop, so that the caller has the id first.
        WebAnswer answer{id, WebFailure::kCannotStart, 0, {}, refused};
        QMetaObject::invokeMethod(this, [this, answer] {
            if (current_ == answer.request) Finish(answer);
        }, Qt::QueuedConnection);
        return id;
    }
    deadline_.start(limits_.timeoutMs);
    return id;
}

void WebQuery::OnProgress(int status, const QString& text) {
    if (status != platform::kReadFailed || !reader_) return;
    const int http = reader_->httpStatus;
    WebAnswer answer{current_, WebFailure::kConnection, http, {}, text};
    if (http >= 400)
        answer.failure = WebFailure::kHttpStatus;
    else if (http != 0)
        answer.failure = WebFailure::kBroken;
    Finish(answer);
}

void WebQuery::OnComplete(const QByteArray& body) {
    if (!reader_) return;
    Finish({current_, WebFailure::kNone, reader_->httpStatus, body, {}});
}

void WebQuery::OnTimeout() {
    if (!current_) return;
    Finish({current_, WebFailure::kTimedOut, reader_ ? reader_->httpStatus : 0, {},
            QStringLiteral("No answer within %1 s").arg(limits_.timeoutMs / 1000.0)});
}

void WebQuery::Finish(WebAnswer answer) {
    Cancel();
    Q_EMIT Answered(answer);
}

}  // namespace tavo
