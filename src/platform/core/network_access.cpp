#include "platform/core/network_access.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QThread>

#include "platform/core/user_agent.h"

namespace tavo::platform {

namespace {

// Owned by the application object: destroyed with it at the latest, before
// Qt's own statics go away.
QPointer<QNetworkAccessManager>& Manager() {
    static QPointer<QNetworkAccessManager> manager;
    return manager;
}

// How long CloseNetworkAccess() gives the network thread after dropping
// requests still in flight.
constexpr unsigned long kDropGraceMs = 50;

}  // namespace

QNetworkAccessManager& NetworkAccess() {
    QPointer<QNetworkAccessManager>& manager = Manager();
    QCoreApplication* app = QCoreApplication::instance();
    Q_ASSERT(app && app->thread() == QThread::currentThread());
    if (!manager) manager = new QNetworkAccessManager(app);
    return *manager;
}

void CloseNetworkAccess() {
    QPointer<QNetworkAccessManager>& manager = Manager();
    if (!manager) return;
    // Deleting a reply tells the network thread to drop its request; the
    // thread must get to that before the manager stops it.
    const QList<QNetworkReply*> replies = manager->findChildren<QNetworkReply*>(Qt::FindDirectChildrenOnly);
    qDeleteAll(replies);
    if (!replies.isEmpty()) QThread::msleep(kDropGraceMs);
    delete manager.data();
}

QNetworkRequest MakeRequest(const QUrl& url) {
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(kUserAgent));
    return request;
}

bool IsWebScheme(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

}  // namespace tavo::platform
