#include "shell/web_page.h"

#include "platform/core/network_access.h"

#include <QDesktopServices>
#include <QUrl>

namespace tavo {

bool OpenWebPage(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty() || !platform::IsWebScheme(url)) return false;
    return QDesktopServices::openUrl(url);
}

}  // namespace tavo
