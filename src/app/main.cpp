// Entry point of the editor.
#include "platform/prompts.h"
#include "settings/main_settings.h"
#include <QApplication>
#include <QMainWindow>
#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);

    // The settings live from before the first window until after the last one.
    // When they go they write "Config.ini"; a failure to do so is shown to the
    // user, never fatal.
    auto settings =
        std::make_unique<tvx::TMainSettings>(QCoreApplication::applicationDirPath() + u'/');
    settings->OnSaveError = [](const QString& message) { tvx::Prompts().ShowMessage(message); };
    tvx::MainSettings = settings.get();

    int result = 0;
    {
        QMainWindow window;
        window.setWindowTitle(QString::fromUtf8("Tarvinex редактор блок-схем"));
        window.resize(900, 650);
        window.show();
        result = app.exec();
    }

    tvx::MainSettings = nullptr;
    settings.reset();
    return result;
}
