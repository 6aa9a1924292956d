#pragma once
// How the player's logic opens a web page. The logic carries no desktop
// services of its own: the program's windows set the opener at start-up
// (the browser, for http and https addresses only); until then nothing opens.

#include <QString>

#include <functional>

namespace tavo {

using PageOpener = std::function<bool(const QString& address)>;

// Replaces the opener (an empty one opens nothing).
void SetPageOpener(PageOpener open);
// Opens `address` through the opener; false when there is none or it failed.
bool OpenPage(const QString& address);

}  // namespace tavo
