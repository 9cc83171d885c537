// Ending the editor by a signal, as logging out or `kill` does.
#include "app/focused_panel.h"
#include "app/qt_prompts.h"
#include "app/termination_signals.h"
#include "app_fixture.h"
#include "common/named_pipe.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <functional>
#include <unistd.h>

using namespace tvx;

namespace {

QList<QDialog*> VisibleDialogs() {
    QList<QDialog*> dialogs;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) {
            dialogs.append(dialog);
        }
    }
    return dialogs;
}

// Runs Step from whatever event loop is running once Count dialogs are open.
void WhenDialogsOpen(int Count, std::function<void()> Step) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, Count, Step] {
        if (VisibleDialogs().size() == Count) {
            poll->deleteLater();
            poll->stop();
            Step();
        }
    });
    poll->start();
}

// Never hangs the run (ending every event loop, a dialog's too) and leaves
// the signals as it found them.
struct TGuard {
    TGuard() {
        QObject::connect(&Timer, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        Timer.start(10000);
    }
    ~TGuard() { StopClosingOnTerminationSignals(); }
    QTimer Timer;
};

} // namespace

// Nobody may be there to answer: a message at start ends with the program,
// and one at the end goes to standard error instead of a box that waits.
// First of this file: once the application has quit, Qt ends every dialog at
// once until its main loop runs again, and the start message must show.
TEST_F(AppTest, ATerminationSignalDuringAStartMessageEndsTheProgramWithoutWaiting) {
    tvx::testing::TNamedPipe pipe(PathOf("readme.txt")); // refused at start with a message
    if (!pipe.Error().isEmpty()) {
        GTEST_SKIP() << "no named pipe can be made here: " << pipe.Error().toStdString();
    }
    TQtPrompts real;
    TPromptsScope realPrompts(real);
    CloseOnTerminationSignals();
    TGuard guard;
    WhenDialogsOpen(1, [] { std::raise(SIGTERM); });
    StartEditor();
    EXPECT_EQ(RunMainLoop(), 0);
    EXPECT_FALSE(Form().isVisible());

    FormPtr.reset();
    ASSERT_TRUE(QDir().mkdir(PathOf("Config.ini"))); // cannot be written
    Settings->OnSaveError = [](const QString& message) { tvx::Prompts().ShowMessage(message); };
    ::testing::internal::CaptureStderr();
    Settings.reset();
    MainSettings = nullptr;
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Config.ini"), std::string::npos);
}

TEST_F(AppTest, ATerminationSignalClosesTheEditorAsTheUserWould) {
    StartEditor();
    Form().FileNew1Execute();
    Edit();
    const QStringList snapshots = Active()->History.UndoList;
    ASSERT_TRUE(QFile::exists(snapshots.last()));

    CloseOnTerminationSignals();
    TGuard guard;
    // A write to a pipe whose reader has gone fails instead of ending the editor.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    EXPECT_EQ(::write(ends[1], "x", 1), -1);
    EXPECT_EQ(errno, EPIPE);
    ::close(ends[1]);

    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    EXPECT_EQ(RunMainLoop(), 0);
    EXPECT_FALSE(Form().isVisible());
    EXPECT_FALSE(QFile::exists(snapshots.last()));
}

// Each command waits on a box when the signal comes; the windows may close
// only once every one of them has returned, else they would find their
// window freed under them.
TEST_F(AppTest, ATerminationSignalUnderOpenDialogsClosesOnceTheCommandsHaveReturned) {
    StartEditor();
    Form().FileNew1Execute();
    Edit();
    const QString snapshotDir = Form().SnapshotDir();
    TQtPrompts real(&Form());
    TPromptsScope realPrompts(real);
    CloseOnTerminationSignals();
    TGuard guard;

    QTimer::singleShot(0, [this] {
        WhenDialogsOpen(1, [this] {
            WhenDialogsOpen(2, [this] {
                WhenDialogsOpen(3, [this] {
                    WhenDialogsOpen(4, [] { std::raise(SIGTERM); });
                    Form().N8Click(); // the options dialog
                });
                Form().C1Click(); // a file dialog
            });
            TEventKeyBoardArgs ctrlV('V', ssCtrl); // nothing in the block clipboard
            Active()->PanelPaintKeyDown(nullptr, ctrlV);
        });
        Form().ComboBox1->setEditText("zoom"); // no number
    });
    EXPECT_EQ(RunMainLoop(), 0);
    EXPECT_TRUE(VisibleDialogs().isEmpty());
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(Form().MDIChildCount(), 0);

    FormPtr.reset();
    EXPECT_FALSE(QDir(snapshotDir).exists());
    Settings.reset();
    MainSettings = nullptr;
    EXPECT_TRUE(QFile::exists(PathOf("Config.ini")));
}
