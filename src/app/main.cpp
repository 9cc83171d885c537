// Entry point of the editor.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QString::fromUtf8("Tarvinex редактор блок-схем"));
    window.resize(900, 650);
    window.show();
    return app.exec();
}
