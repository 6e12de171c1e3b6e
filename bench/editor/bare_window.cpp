// The yardstick for the editor's start: a bare QMainWindow with a menu bar, built against the
// same Qt, shown and left to its event loop. Not installed; editor_start_bench times it.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Okno"));
    for (const char* title : {"&Plik", "E&tapy", "&Edycja", "&Opcje"})
        window.menuBar()->addMenu(QString::fromUtf8(title))->addAction(QStringLiteral("Nowy"));
    window.resize(562, 461);
    window.show();
    return QApplication::exec();
}
