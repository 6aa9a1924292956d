#pragma once
// The program's one network access manager, and the request every web read
// starts from.
//
// One manager serves every download, so that connections to a service are
// reused and no download starts a network worker of its own. It is created
// on first use, on the UI thread, and lives as long as the application
// object (it is the application's child).

#include <QNetworkRequest>
#include <QUrl>

class QNetworkAccessManager;

namespace tavo::platform {

// The shared manager. Call on the UI thread, with the application object
// alive.
QNetworkAccessManager& NetworkAccess();

// Ends the program's network use before the application object goes away:
// every read still in flight is dropped (its reader sees nothing more) and
// the manager is deleted. Qt's network thread needs a moment to let go of a
// dropped request; deleted at once with the application, it would leave the
// request's objects behind. A later NetworkAccess() makes a new manager.
void CloseNetworkAccess();

// A GET request for `url` with the program's headers (User-Agent,
// kUserAgent of user_agent.h) set.
QNetworkRequest MakeRequest(const QUrl& url);

// True for the schemes the program reads pages and feeds over: http, https.
bool IsWebScheme(const QUrl& url);

}  // namespace tavo::platform
