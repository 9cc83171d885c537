#pragma once
// Logging out, `kill`, `timeout` or Ctrl+C in a terminal end the editor as
// closing its main window does: the windows close (deleting their undo
// snapshots), the private folders go and "Config.ini" is written.
namespace tvx {

// From now on SIGTERM, SIGINT and SIGHUP end the program; nothing is asked.
// Every open dialog and message box is cancelled at once (its caller sees
// Cancel or No), but the windows close only from the main loop once every
// command has returned, so no command finds its window gone under it. A
// second signal while that runs ends the program at once. SIGPIPE is
// ignored: a write to a pipe whose reader has gone fails with its error
// instead of ending the program. Call with the application made.
void CloseOnTerminationSignals();

// Runs the application's main event loop until the main window closes or a
// termination signal has closed everything. A signal that arrives before
// (during a message at start) closes the program as soon as this runs.
int RunMainLoop();

// True once a termination signal has arrived: the program is closing and
// nobody may be there to answer a question.
bool TerminationSignalReceived();

// The three signals get their default handling back and the program no
// longer counts as closing (SIGPIPE stays ignored).
void StopClosingOnTerminationSignals();

} // namespace tvx
