// Entry point of the editor.
#include "app/main_form.h"
#include "app/qt_prompts.h"
#include "settings/main_settings.h"

#include <QApplication>
#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QString::fromUtf8("Tarvinex редактор блок-схем"));

    // Every message box, question and file dialog of the program goes
    // through these prompts, from the first window to the last write of the
    // settings.
    tvx::TQtPrompts prompts;
    tvx::TPromptsScope promptsInUse(prompts);

    // The settings live from before the first window until after the last one.
    // When they go they write "Config.ini"; a failure to do so is shown to the
    // user once, never fatal.
    tvx::ProgramDir = QCoreApplication::applicationDirPath() + u'/';
    auto settings = std::make_unique<tvx::TMainSettings>(tvx::ProgramDir);
    settings->OnSaveError = [](const QString& message) { tvx::Prompts().ShowMessage(message); };
    tvx::MainSettings = settings.get();

    int result = 0;
    {
        tvx::TMainForm window(QCoreApplication::arguments());
        prompts.SetParent(&window);
        window.show();
        result = app.exec();
        prompts.SetParent(nullptr);
    }

    tvx::MainSettings = nullptr;
    settings.reset();
    return result;
}
