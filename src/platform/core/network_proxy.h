#pragma once
// Proxies. The web layer (Qt's network access) follows the system's proxy
// configuration: http_proxy, https_proxy and no_proxy, and the desktop's
// proxy settings where the system keeps them. The media player opens each
// address through the same proxy, asked of the same configuration.

#include <QString>
#include <QUrl>

namespace tavo::platform {

// Makes Qt's network access follow the system's proxy configuration (once,
// at start-up).
void UseSystemProxy();

// The proxy Qt's network layer uses for `url`, as "http://host:port" (with
// "user:password@" when the proxy needs them); empty for a direct connection
// and for a proxy kind the media player cannot use (SOCKS).
QString ProxyFor(const QUrl& url);

}  // namespace tavo::platform
