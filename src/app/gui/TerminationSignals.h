#pragma once
// SIGTERM, SIGINT and SIGHUP (a desktop session ending, Ctrl+C in a terminal) end the
// client the way its close label does, through ExitClient on the UI thread.
class QObject;

namespace vpsdesk::app {

// Once, on the UI thread, after the application object exists.
void EndOnTerminationSignals(QObject* parent);

}  // namespace vpsdesk::app
