// Entry point of the editor.
#include "app/main_form.h"
#include "app/qt_prompts.h"
#include "settings/main_settings.h"

#include <QApplication>
#include <memory>

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
    // user once, never fatal. The main window records the program directory
    // only later, so a "Config.ini" without a working directory gives none.
    auto settings =
        std::make_unique<tvx::TMainSettings>(QCoreApplication::applicationDirPath() + u'/');
    settings->OnSaveError = [](const QString& message) { tvx::Prompts().ShowMessage(message); };
    tvx::MainSettings = settings.get();

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
        result = app.exec();
        prompts.SetParent(nullptr);
    }

    tvx::MainSettings = nullptr;
    settings.reset();
    return result;
}
