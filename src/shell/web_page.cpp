#include "shell/web_page.h"

#include <QDesktopServices>

namespace tavo {

QUrl WebAddress(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme();  // lower case once parsed
    if (!url.isValid() || url.isRelative() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QUrl();
    return url;
}

bool OpenWebPage(const QString& address) {
    const QUrl url = WebAddress(address);
    return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace tavo
