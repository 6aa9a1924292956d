#include "platform/network_access.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QThread>

#ifndef TAVO_VERSION
#error "TAVO_VERSION must name the program's version"
#endif

namespace tavo::platform {

const QByteArray& UserAgent() {
    static const QByteArray agent = QByteArrayLiteral("TavoMusicBox/" TAVO_VERSION);
    return agent;
}

QNetworkAccessManager& NetworkAccess() {
    // Owned by the application object: destroyed with it, before Qt's own
    // statics go away. A later application object (tests) gets a new one.
    static QPointer<QNetworkAccessManager> manager;
    QCoreApplication* app = QCoreApplication::instance();
    Q_ASSERT(app && app->thread() == QThread::currentThread());
    if (!manager) manager = new QNetworkAccessManager(app);
    return *manager;
}

QNetworkRequest MakeRequest(const QUrl& url) {
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
    return request;
}

bool IsWebScheme(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

}  // namespace tavo::platform
