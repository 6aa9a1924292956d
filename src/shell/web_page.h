#pragma once
// Opening a web page in the user's browser. Only http and https addresses
// with a host are opened: a "file:", "javascript:" or other address, or a
// bare local path, opens nothing (the addresses come from the network).

#include <QString>
#include <QUrl>

namespace tavo {

// The address as a web address, or an invalid QUrl when it is not an http
// or https address with a host.
QUrl WebAddress(const QString& address);

// Opens the page through the desktop (QDesktopServices). False when the
// address is not a web address or the desktop could not open it.
bool OpenWebPage(const QString& address);

}  // namespace tavo
