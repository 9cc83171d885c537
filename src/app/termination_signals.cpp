#include "app/termination_signals.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
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
bool MainLoopRunning = false;
// Looks again, while a command is still on its way back to the main loop,
// for dialogs it opened after the signal and for the moment to close.
QTimer* Closer = nullptr;
constexpr int CloserIntervalMs = 10;
constexpr int TerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void OnTerminationSignal(int Signal) {
    const int saved = errno;
    const char byte = char(Signal);
    (void)!::write(Pipe[1], &byte, 1);
    errno = saved;
}

// Every dialog's and menu's own event loop ends, so the commands that opened
// them get their cancelling answer and return.
void EndModalLoops() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) {
            dialog->reject();
        }
    }
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
}

// A window closed while a command of it waits in a nested loop would be
// freed under that command; so nothing closes before every loop but the
// main one has ended.
void CloseWhenNoCommandRuns() {
    EndModalLoops();
    if (!MainLoopRunning || QThread::currentThread()->loopLevel() > 1) {
        Closer->start();
        return;
    }
    Closer->stop();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void OnSignalByte() {
    SignalReceived = true;
    char bytes[16];
    while (::read(Pipe[0], bytes, sizeof bytes) > 0) {
    }
    CloseWhenNoCommandRuns();
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
        QObject* app = QCoreApplication::instance();
        auto* notifier = new QSocketNotifier(Pipe[0], QSocketNotifier::Read, app);
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, &OnSignalByte);
        Closer = new QTimer(app);
        Closer->setInterval(CloserIntervalMs);
        QObject::connect(Closer, &QTimer::timeout, Closer, &CloseWhenNoCommandRuns);
    }
    struct sigaction action {};
    action.sa_handler = &OnTerminationSignal;
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : TerminationSignals) {
        ::sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

int RunMainLoop() {
    MainLoopRunning = true;
    const int result = QApplication::exec();
    MainLoopRunning = false;
    // Closing the last window posts a quit of its own; still there after our
    // quit, it would end the next event loop outside this one, a message
    // box's, at once.
    QCoreApplication::removePostedEvents(QCoreApplication::instance(), QEvent::Quit);
    return result;
}

void StopClosingOnTerminationSignals() {
    for (int signal : TerminationSignals) {
        std::signal(signal, SIG_DFL);
    }
    if (Closer != nullptr) {
        Closer->stop();
    }
    SignalReceived = false;
}

} // namespace tvx
