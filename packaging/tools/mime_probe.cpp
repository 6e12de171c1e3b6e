// Prints the MIME type that the shared-mime-info database gives each file named on the command
// line, one per line, as a file manager built on Qt would see it.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList files = app.arguments().mid(1);
    if (files.isEmpty()) {
        QTextStream(stderr) << "Usage: mime-probe FILE...\n";
        return 2;
    }
    QMimeDatabase database;
    QTextStream out(stdout);
    for (const QString& file : files)
        out << database.mimeTypeForFile(file).name() << '\n';
    return 0;
}
