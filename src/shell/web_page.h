#pragma once
// Opening a web page in the user's browser. Only http and https addresses
// with a host are opened: a "file:", "javascript:" or other address, or a
// bare local path, opens nothing (the addresses come from the network).

#include <QString>

namespace tavo {

// Opens the page through the desktop (QDesktopServices). False when the
// address is not a web address or the desktop could not open it.
bool OpenWebPage(const QString& address);

}  // namespace tavo
