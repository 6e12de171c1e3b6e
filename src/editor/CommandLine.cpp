#include "CommandLine.h"

#include "krelwin_version.h"

#include <QCommandLineParser>
#include <QFile>

namespace {

const QString ProgramName = QStringLiteral("krelwin-konstruktor");
constexpr int ExitUsage = 2;

const QString HelpText = QStringLiteral(
    "Użycie: krelwin-konstruktor [OPCJA] [PLIK.map]\n"
    "Edytor etapów gry Krelwin: tworzy i zmienia pliki etapów (.map).\n"
    "\n"
    "Podany PLIK.map zostaje otwarty od razu, tak jak przez „Plik → Otwórz”: brakujący\n"
    "plik zgłasza „Brak pliku: ...”. Bez pliku edytor startuje z ekranem powitalnym.\n"
    "\n"
    "Opcje:\n"
    "  -h, --help     wyświetla tę pomoc i kończy działanie\n"
    "  -v, --version  wyświetla wersję programu i kończy działanie\n"
    "\n"
    "Plik, którego nazwa zaczyna się od „-”, podaj po „--” albo ze ścieżką: ./-plik.map\n");

// The options QGuiApplication and QApplication take from the command line themselves; the
// parser only has to know them, and which take a value, to skip them.
const QStringList QtValueOptions{
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowtitle"),
    QStringLiteral("qwindowicon"),     QStringLiteral("display"),
    QStringLiteral("geometry"),        QStringLiteral("name"),
    QStringLiteral("title"),           QStringLiteral("visual"),
    QStringLiteral("style"),           QStringLiteral("stylesheet"),
    QStringLiteral("session")};
const QStringList QtFlagOptions{QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                QStringLiteral("nograb"), QStringLiteral("dograb")};

void addHidden(QCommandLineParser& parser, const QString& name, bool takesValue) {
    QCommandLineOption option(name);
    if (takesValue)
        option.setValueName(QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
}

EditorCommandLine usageError(const QString& problem) {
    EditorCommandLine result;
    result.exitCode = ExitUsage;
    result.errors = ProgramName + QStringLiteral(": ") + problem +
                    QStringLiteral("\nPomoc: krelwin-konstruktor --help\n");
    return result;
}

} // namespace

EditorCommandLine readEditorCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // "-platform" is one option, as Qt reads it, not the letters p, l, a, ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    for (const QString& name : QtValueOptions)
        addHidden(parser, name, true);
    for (const QString& name : QtFlagOptions)
        addHidden(parser, name, false);

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return usageError(unknown.isEmpty()
                              ? QStringLiteral("opcja wymaga wartości")
                              : QStringLiteral("nieznana opcja „%1”").arg(unknown.constFirst()));
    }
    EditorCommandLine result;
    if (parser.isSet(help)) {
        result.exitCode = 0;
        result.output = HelpText;
        return result;
    }
    if (parser.isSet(version)) {
        result.exitCode = 0;
        result.output = ProgramName + QLatin1Char(' ') + QString::fromUtf8(krelwin::Version) +
                        QLatin1Char('\n');
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return usageError(QStringLiteral("można otworzyć tylko jeden plik naraz"));
    if (!files.isEmpty())
        result.file = files.constFirst();
    return result;
}

QStringList decodedArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    return arguments;
}
