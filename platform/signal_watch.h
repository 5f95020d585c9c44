// SIGINT, SIGTERM, SIGHUP and SIGQUIT delivered into the Qt event loop: the handler
// only writes the signal number to a pipe, and the loop runs `handler` with it, so
// the handler may do anything the program does (end a radio exchange, quit).
#pragma once

#include <QObject>

#include <functional>

namespace vrl::platform {

// Installs the handlers (once per process); `handler` runs in `context`'s thread.
void watchTerminationSignals(QObject* context, std::function<void(int signal)> handler);

} // namespace vrl::platform
