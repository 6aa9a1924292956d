#include "platform/core/async_read.h"

#include "platform/codepage.h"
#include "platform/core/network_access.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace tavo::platform {

namespace {

// Characters that may stand in a URL as they are (RFC 3986 unreserved,
// reserved and "%", which starts an escape the caller already wrote).
bool KeepsAsWritten(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) return true;
    switch (c) {
        case u'-': case u'.': case u'_': case u'~': case u':': case u'/': case u'?': case u'#':
        case u'[': case u']': case u'@': case u'!': case u'$': case u'&': case u'\'': case u'(':
        case u')': case u'*': case u'+': case u',': case u';': case u'=': case u'%':
            return true;
        default:
            return false;
    }
}

void AppendEscaped(QByteArray& out, unsigned char b) {
    static const char hex[] = "0123456789ABCDEF";
    out.append('%');
    out.append(hex[b >> 4]);
    out.append(hex[b & 0xF]);
}

QString HttpFailureText(QNetworkReply* reply) {
    const int code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    return QStringLiteral("HTTP %1 %2").arg(code).arg(reason).trimmed();
}

AsyncReaderFactory& Factory() {
    static AsyncReaderFactory factory;
    return factory;
}

}  // namespace

QUrl RequestUrl(const QString& address) {
    QByteArray encoded;
    encoded.reserve(address.size() * 2);
    for (qsizetype i = 0; i < address.size(); ++i) {
        const char16_t c = address[i].unicode();
        if (c < 0x80) {
            if (KeepsAsWritten(c))
                encoded.append(static_cast<char>(c));
            else
                AppendEscaped(encoded, static_cast<unsigned char>(c));
            continue;
        }
        // A run of non-ASCII characters goes through the code page at once
        // (a surrogate pair must not be split).
        qsizetype j = i;
        while (j < address.size() && address[j].unicode() >= 0x80) ++j;
        for (char b : EncodeCp936(address.mid(i, j - i))) AppendEscaped(encoded, static_cast<unsigned char>(b));
        i = j - 1;
    }
    QUrl url = QUrl::fromEncoded(encoded, QUrl::StrictMode);
    if (!url.isValid()) url = QUrl::fromEncoded(encoded, QUrl::TolerantMode);
    return url.isValid() ? url : QUrl();
}

NetworkReader::NetworkReader(QObject* parent) : AsyncReader(parent) {
    stall_.setSingleShot(true);
    connect(&stall_, &QTimer::timeout, this, &NetworkReader::OnStall);
}

NetworkReader::~NetworkReader() { Detach(); }

QString NetworkReader::Start(const QString& address) {
    Detach();
    const QUrl url = RequestUrl(address);
    if (url.isEmpty() || !url.isValid()) return QStringLiteral("Invalid address: %1").arg(address);
    if (!IsWebScheme(url)) return QStringLiteral("Unsupported protocol: %1").arg(url.scheme());
    if (url.host().isEmpty()) return QStringLiteral("No host in address: %1").arg(address);
    body_.clear();
    total_ = 0;
    redirects_ = 0;
    httpStatus = 0;
    Request(url);
    return {};
}

void NetworkReader::Request(const QUrl& url) {
    connectedSent_ = false;
    headersSeen_ = false;
    QNetworkRequest request = MakeRequest(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // Always ask the server again when its copy is newer than a cached one.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferNetwork);
    // The body as the server holds it: exact sizes and progress, and the file
    // gets exactly those bytes.
    request.setRawHeader("Accept-Encoding", "identity");
    for (const auto& [name, value] : headers) request.setRawHeader(name, value);
    QNetworkReply* reply = NetworkAccess().get(request);
    // A bounded read buffer: the network layer hands data over as it comes
    // instead of filling memory from a fast endless sender.
    reply->setReadBufferSize(256 * 1024);
    reply_ = reply;
    connect(reply, &QNetworkReply::socketStartedConnecting, this, [this, reply] {
        if (reply != reply_ || connectedSent_) return;
        connectedSent_ = true;
        Q_EMIT Progress(kConnecting, reply->url().toString(), 0, 0);
    });
    connect(reply, &QNetworkReply::metaDataChanged, this, &NetworkReader::OnMetaData);
    connect(reply, &QNetworkReply::readyRead, this, &NetworkReader::OnReadyRead);
    connect(reply, &QNetworkReply::finished, this, &NetworkReader::OnFinished);
    stall_.start(limits.stallMs);
}

void NetworkReader::Detach() {
    stall_.stop();
    if (QNetworkReply* reply = reply_) {
        reply_ = nullptr;
        reply->disconnect(this);
        // Not aborted here: this may run inside one of the reply's own
        // notifications, and aborting there makes it report twice; nor once
        // it has finished (a failed reply would report its error again).
        QMetaObject::invokeMethod(
            reply, [reply] { if (reply->isRunning()) reply->abort(); }, Qt::QueuedConnection);
        reply->deleteLater();
    }
}

void NetworkReader::Cancel() { Detach(); }

void NetworkReader::Fail(const QString& text) {
    Detach();
    body_.clear();
    Q_EMIT Progress(kReadFailed, text, 0, 0);
}

void NetworkReader::OnStall() {
    if (!reply_) return;
    Fail(QStringLiteral("No data received for %1 s").arg(limits.stallMs / 1000.0));
}

void NetworkReader::OnMetaData() {
    QNetworkReply* reply = reply_;
    if (!reply || reply != sender() || headersSeen_) return;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) return;
    headersSeen_ = true;
    httpStatus = status.toInt();
    stall_.start(limits.stallMs);
    if (!connectedSent_) {
        connectedSent_ = true;
        Q_EMIT Progress(kConnecting, reply->url().toString(), 0, 0);
        if (reply != reply_) return;
    }
    const int code = status.toInt();
    if (code >= 300 && code < 400) {
        const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (!target.isEmpty()) {
            const QUrl absolute = reply->url().resolved(target);
            Q_EMIT Progress(kRedirecting, absolute.toString(), 0, 0);
            if (reply != reply_) return;  // cancelled by the listener
            if (++redirects_ > limits.maxRedirects) {
                Fail(QStringLiteral("Too many redirects"));
                return;
            }
            // A server may send the read anywhere: only on to another web
            // address.
            if (!IsWebScheme(absolute) || absolute.host().isEmpty()) {
                Fail(QStringLiteral("Redirected to an unsupported address: %1").arg(absolute.toString()));
                return;
            }
            Detach();
            const int hops = redirects_;
            Request(absolute);
            redirects_ = hops;
            return;
        }
    }
    if (code >= 400) {
        Fail(HttpFailureText(reply));
        return;
    }
    const QString type = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    if (!type.isEmpty()) {
        Q_EMIT Progress(kContentType, type, 0, 0);
        if (reply != reply_) return;
    }
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    total_ = length.isValid() ? length.toLongLong() : 0;
    if (total_ > limits.maxBodyBytes) {
        Fail(QStringLiteral("The reply is larger than %1 bytes").arg(limits.maxBodyBytes));
        return;
    }
    Q_EMIT Progress(kBodyBegins, QString(), 0, total_);
}

void NetworkReader::OnReadyRead() {
    QNetworkReply* reply = reply_;
    if (!reply || reply != sender()) return;
    if (!headersSeen_) OnMetaData();
    if (reply != reply_) return;
    const QByteArray chunk = reply->readAll();
    if (chunk.isEmpty()) return;
    if (body_.size() + chunk.size() > limits.maxBodyBytes) {
        Fail(QStringLiteral("The reply is larger than %1 bytes").arg(limits.maxBodyBytes));
        return;
    }
    body_.append(chunk);
    stall_.start(limits.stallMs);
    Q_EMIT Progress(kBodyData, QString(), body_.size(), total_);
}

void NetworkReader::OnFinished() {
    QNetworkReply* reply = reply_;
    if (!reply || reply != sender()) return;
    if (!headersSeen_ && reply->error() == QNetworkReply::NoError) OnMetaData();
    if (reply != reply_) return;
    if (reply->bytesAvailable() > 0) OnReadyRead();
    if (reply != reply_) return;
    if (reply->error() != QNetworkReply::NoError) {
        const int code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool http = code >= 400;
        if (http) httpStatus = code;
        Fail(http ? HttpFailureText(reply) : reply->errorString());
        return;
    }
    // A body shorter than its announced length is a broken transfer.
    if (total_ > 0 && body_.size() < total_) {
        Fail(QStringLiteral("Connection closed after %1 of %2 bytes").arg(body_.size()).arg(total_));
        return;
    }
    stall_.stop();
    reply_ = nullptr;
    reply->disconnect(this);
    reply->deleteLater();
    QByteArray body = std::move(body_);
    body_.clear();
    const qint64 n = body.size();
    Q_EMIT Progress(kBodyEnd, QString(), n, total_);
    Q_EMIT Complete(n, body);
}

std::unique_ptr<AsyncReader> MakeAsyncReader() {
    if (Factory()) return Factory()();
    return std::make_unique<NetworkReader>();
}

void SetAsyncReaderFactory(AsyncReaderFactory factory) { Factory() = std::move(factory); }

}  // namespace tavo::platform
