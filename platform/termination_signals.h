#pragma once
// The signals that end a desktop program from outside (SIGTERM at logout and shutdown, SIGINT
// from Ctrl-C, SIGHUP from a closed terminal) close its main window as the close box does, so
// the program ends the way it always ends. Signals that come together are one close; only the
// user's second Ctrl-C ends the program at once.

namespace platform {

// Needs the Qt application; call once, before the application object's start-up. A signal the
// program was started with ignored (SIGHUP under nohup) stays ignored.
void CloseOnTerminationSignals();

// Whether one of those signals has come, so the program is ending: work that would outlast the
// close gives up. Safe on any thread.
bool TerminationRequested();

}  // namespace platform
