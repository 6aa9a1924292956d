#pragma once
// The asynchronous read of one web address into memory, with progress
// notifications, on the UI thread (Qt's network access, no threads of ours).
//
// Notifications, in the order a successful read gives them:
//   Progress(2, address)            connecting
//   Progress(3, new address)        a redirect (the read then follows it,
//                                   unless Cancel() was called meanwhile)
//   Progress(13, content type)      the body's type is known
//   Progress(4, "", 0, total)       the body begins (total 0 when unknown)
//   Progress(5, "", read, total)    body data (exact byte counts)
//   Progress(6, "", read, total)    the body ended
//   Complete(read, body)
// A failure (refused connection, HTTP status 4xx/5xx, no progress for the
// stall time, a body over the size limit) is Progress(0, readable text) and
// nothing after it. Cancel() stops a read without any further notification.

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tavo::platform {

// Status codes of Progress().
enum AsyncReadStatus : int {
    kReadFailed = 0,
    kConnecting = 2,
    kRedirecting = 3,
    kBodyBegins = 4,
    kBodyData = 5,
    kBodyEnd = 6,
    kContentType = 13,
    kCacheFile = 14,
};

struct AsyncReadLimits {
    int stallMs = 30000;                       // no progress for this long fails the read
    qint64 maxBodyBytes = 64LL * 1024 * 1024;  // a larger body fails the read
    int maxRedirects = 10;                     // redirects followed in a row
};

// The address as it goes on the wire: ASCII as written (spaces and other
// characters a URL cannot hold become %XX), every other character
// percent-encoded in code page 936. An invalid result is an empty QUrl.
QUrl RequestUrl(const QString& address);

class AsyncReader : public QObject {
    Q_OBJECT
public:
    explicit AsyncReader(QObject* parent = nullptr) : QObject(parent) {}
    ~AsyncReader() override = default;

    // Starts reading `address`. Returns an empty text when the read started,
    // otherwise the reason it could not start (no notification follows).
    virtual QString Start(const QString& address) = 0;
    // Stops the running read; nothing is notified after it.
    virtual void Cancel() = 0;
    virtual bool Running() const = 0;

    AsyncReadLimits limits;
    // Headers sent with every request of this reader besides the program's
    // own (User-Agent): name, value.
    std::vector<std::pair<QByteArray, QByteArray>> headers;
    // The HTTP status of the last reply's head (0 before any, and for a
    // read that failed before a reply came). Set before the notification
    // that follows the head, so a failure's listener can tell a 404 from a
    // refused connection.
    int httpStatus = 0;

Q_SIGNALS:
    void Progress(int status, const QString& statusText, qint64 bytesRead, qint64 totalBytes);
    void Complete(qint64 bytesRead, const QByteArray& body);
};

// The real reader, over the program's one network manager
// (NetworkAccess()). Every request carries the program's User-Agent; a
// redirect is followed only to another http or https address, any other
// fails the read.
class NetworkReader : public AsyncReader {
    Q_OBJECT
public:
    explicit NetworkReader(QObject* parent = nullptr);
    ~NetworkReader() override;
    QString Start(const QString& address) override;
    void Cancel() override;
    bool Running() const override { return reply_ != nullptr; }

private:
    void Request(const QUrl& url);
    void Detach();
    void Fail(const QString& text);
    void OnMetaData();
    void OnReadyRead();
    void OnFinished();
    void OnStall();

    QPointer<QNetworkReply> reply_;
    QTimer stall_;
    QByteArray body_;
    qint64 total_ = 0;
    int redirects_ = 0;
    bool connectedSent_ = false;
    bool headersSeen_ = false;
};

// Makes the readers that download controls use. Tests may replace it.
using AsyncReaderFactory = std::function<std::unique_ptr<AsyncReader>()>;
std::unique_ptr<AsyncReader> MakeAsyncReader();
void SetAsyncReaderFactory(AsyncReaderFactory factory);  // empty: the real one

}  // namespace tavo::platform
