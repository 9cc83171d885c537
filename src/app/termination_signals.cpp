#include "app/termination_signals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tvx {
namespace {

// A signal handler may do next to nothing: it writes the signal's number to
// this pipe, and the event loop reads it there and does the work.
int Pipe[2] = {-1, -1};
bool SignalReceived = false;

extern "C" void OnTerminationSignal(int Signal) {
    const int saved = errno;
    const char byte = char(Signal);
    (void)!::write(Pipe[1], &byte, 1);
    errno = saved;
}

void CloseEverything() {
    SignalReceived = true;
    char bytes[16];
    while (::read(Pipe[0], bytes, sizeof bytes) > 0) {
    }
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

} // namespace

bool TerminationSignalReceived() {
    return SignalReceived;
}

void CloseOnTerminationSignals() {
    if (Pipe[0] < 0) {
        if (::pipe2(Pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            return; // the defaults stay: the signals end the program
        }
        auto* notifier =
            new QSocketNotifier(Pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, &CloseEverything);
    }
    struct sigaction action {};
    action.sa_handler = &OnTerminationSignal;
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace tvx
