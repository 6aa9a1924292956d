#pragma once
// SIGTERM, SIGINT and SIGHUP (a log-out, a service manager, Ctrl+C in a
// terminal) end the event loop instead of the process, so that the player
// ends as from its own exit: the local services stop and nothing is left
// behind.

namespace tavo::platform {

// Installs the handlers (once; the application must exist). A second signal
// while the first is being handled ends the process at once.
void QuitOnSignals();

}  // namespace tavo::platform
