// Ending the editor by a signal, as logging out or `kill` does.
#include "app/termination_signals.h"
#include "app_fixture.h"

#include <QFile>
#include <QTimer>
#include <csignal>

using namespace tvx;

TEST_F(AppTest, ATerminationSignalClosesTheEditorAsTheUserWould) {
    StartEditor();
    Form().FileNew1Execute();
    Edit();
    const QStringList snapshots = Active()->History.UndoList;
    ASSERT_TRUE(QFile::exists(snapshots.last()));

    CloseOnTerminationSignals();
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer guard; // never hangs the run
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(Form().isVisible());
    EXPECT_FALSE(QFile::exists(snapshots.last()));
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::signal(signal, SIG_DFL);
    }
}
