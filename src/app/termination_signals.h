#pragma once
// Logging out, `kill`, `timeout` or Ctrl+C in a terminal end the editor as
// closing its main window does: the windows close (deleting their undo
// snapshots), the private folders go and "Config.ini" is written.
namespace tvx {

// From now on SIGTERM, SIGINT and SIGHUP close every window and leave the
// event loop, a modal dialog's included; nothing is asked. A second signal
// while that runs ends the program at once. Call with the application made.
void CloseOnTerminationSignals();

// True once a termination signal has arrived: the program is closing and
// nobody may be there to answer a question.
bool TerminationSignalReceived();

} // namespace tvx
