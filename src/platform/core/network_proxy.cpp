#include "platform/core/network_proxy.h"

#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QNetworkProxyQuery>

namespace tavo::platform {

void UseSystemProxy() { QNetworkProxyFactory::setUseSystemConfiguration(true); }

QString ProxyFor(const QUrl& url) {
    if (!url.isValid() || url.isLocalFile() || url.scheme().isEmpty()) return {};
    const QList<QNetworkProxy> proxies = QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(url));
    // The first proxy is the one Qt tries first; a list that begins with a
    // direct connection means no proxy.
    if (proxies.isEmpty()) return {};
    const QNetworkProxy& p = proxies.first();
    if (p.type() != QNetworkProxy::HttpProxy && p.type() != QNetworkProxy::HttpCachingProxy) return {};
    if (p.hostName().isEmpty() || p.port() == 0) return {};
    QUrl proxy;
    proxy.setScheme(QStringLiteral("http"));
    proxy.setHost(p.hostName());
    proxy.setPort(p.port());
    if (!p.user().isEmpty()) {
        proxy.setUserName(p.user());
        proxy.setPassword(p.password());
    }
    return proxy.toString(QUrl::FullyEncoded);
}

}  // namespace tavo::platform
