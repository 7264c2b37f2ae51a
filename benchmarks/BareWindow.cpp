// The yardstick for the editor's start-up: a bare Qt main window of the
// editor's size, shown as soon as the application exists.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Qt main window"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
