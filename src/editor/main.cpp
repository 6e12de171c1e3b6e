// Krelwin Konstruktor: the stage editor of the Krelwin game.
#include "Forms.h"
#include "aarys.h"
#include "errors.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
    QApplication application(argc, argv);
    // The application name only: a display name would be appended to every window title.
    QApplication::setApplicationName(QString::fromUtf8(krelwin::ApplicationTitle));
    installPolishTranslations(application);

    createForms();
    Form1->show();
    const int result = QApplication::exec();
    destroyForms();
    return result;
}
