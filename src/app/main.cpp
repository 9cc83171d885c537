// Entry point of the editor.
#include "app/main_form.h"
#include "app/qt_prompts.h"
#include "app/termination_signals.h"
#include "platform/atomic_file.h"
#include "platform/shell.h"
#include "settings/main_settings.h"

#include <QApplication>
#include <QFileInfo>
#include <QSet>
#include <memory>

namespace {

// An earlier run that was killed or crashed may have left copies of charts
// behind: its private folders in the temporary directory and half-done saves
// beside the files it knew. Only what no running copy holds goes.
void RemoveLeftoversOfEarlierRuns(const tvx::TMainSettings& Settings) {
    tvx::RemoveStalePrivateTempDirs();
    QSet<QString> folders{Settings.ProgramDirectory(), Settings.WorkDirectory};
    for (int i = 0; i < Settings.OpenedFiles.GetCount(); ++i) {
        folders.insert(QFileInfo(Settings.OpenedFiles.Get(i)).absolutePath());
    }
    for (const QString& folder : std::as_const(folders)) {
        if (!folder.isEmpty()) {
            tvx::RemoveStaleSaveLeftovers(folder);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(tvx::ProgramTitle());

    // Every message box, question and file dialog of the program goes
    // through these prompts, from the first window to the last write of the
    // settings.
    tvx::TQtPrompts prompts;
    tvx::TPromptsScope promptsInUse(prompts);

    // The settings live from before the first window until after the last one.
    // When they go they write "Config.ini"; a failure to do so is shown to the
    // user once, never fatal (on a termination signal it goes to standard
    // error, see TQtPrompts). The main window records the program directory
    // only later, so a "Config.ini" without a working directory gives none.
    auto settings =
        std::make_unique<tvx::TMainSettings>(QCoreApplication::applicationDirPath() + u'/');
    settings->OnSaveError = [](const QString& message) { tvx::Prompts().ShowMessage(message); };
    tvx::MainSettings = settings.get();
    RemoveLeftoversOfEarlierRuns(*settings);
    tvx::CloseOnTerminationSignals();

    // Argument 0 may be a bare name found on the search path; the main window
    // takes the program directory from it.
    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty()) {
        arguments[0] = QCoreApplication::applicationFilePath();
    }
    int result = 0;
    {
        tvx::TMainForm window(arguments);
        prompts.SetParent(&window);
        window.show();
        result = tvx::RunMainLoop();
        prompts.SetParent(nullptr);
    }

    tvx::MainSettings = nullptr;
    settings.reset();
    return result;
}
