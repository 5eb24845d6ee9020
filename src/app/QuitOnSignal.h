#pragma once
// SIGINT and SIGTERM close the window as its close box would, so a demo's folder, a run's
// record and the port are cleaned up as on a normal end.

namespace tensiq {

// Once the application object exists.
void QuitOnSignal();

} // namespace tensiq
