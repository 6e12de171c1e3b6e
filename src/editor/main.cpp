// Krelwin Konstruktor: the stage editor of the Krelwin game.
#include "CommandLine.h"
#include "Forms.h"
#include "NoSettings.h"
#include "PixelIcon.h"
#include "aarys.h"
#include "errors.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace {

// Qt's own texts (message box buttons, file dialogs) in Polish, like the program's.
void installPolishTranslations(QApplication& application) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

} // namespace

int main(int argc, char* argv[]) {
    // Read before QApplication exists, which would need a display for --help and --version.
    const EditorCommandLine commandLine = readEditorCommandLine(decodedArguments(argc, argv));
    std::fputs(commandLine.output.toUtf8().constData(), stdout);
    std::fputs(commandLine.errors.toUtf8().constData(), stderr);
    if (commandLine.exitCode)
        return *commandLine.exitCode;

    keepNoSettings();
    QApplication application(argc, argv);
    // The application name only: a display name would be appended to every window title.
    QApplication::setApplicationName(QString::fromUtf8(krelwin::ApplicationTitle));
    QApplication::setWindowIcon(krelwin::applicationIcon());
    installPolishTranslations(application);

    createForms();
    Form1->show();
    // Once the window is up, so that a question or a message stands over it.
    QTimer::singleShot(0, Form1, [&commandLine] { Form1->zacznijPrace(commandLine.file); });
    const int result = QApplication::exec();
    destroyForms();
    return result;
}
