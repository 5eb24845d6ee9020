#pragma once
// SIGINT, SIGTERM and SIGHUP close the window as its close box would, so a demo's folder, a run's
// record and the port are cleaned up as on a normal end.

namespace tensiq {

// First thing in main: from then on the signals only leave a note.
void CatchQuitSignals();
// Whether a signal came before the window could take it.
bool QuitSignalled();
// Once the application object exists: a signal closes every window.
void CloseWindowsOnQuitSignal();

} // namespace tensiq
