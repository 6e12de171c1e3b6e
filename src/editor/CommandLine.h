// The editor's command line: `krelwin-konstruktor [PLIK.map]`, with --help and --version,
// which are answered before any window system is needed (they work over SSH with no display).
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct EditorCommandLine {
    // The stage file to open at start, as "Otwórz" opens it.
    std::optional<QString> file;
    // Set when the program ends at once: after the help, the version or a usage error.
    std::optional<int> exitCode;
    // What goes to standard output (help, version) or standard error (usage error).
    QString output;
    QString errors;
};

// Reads the arguments as the program received them, the program's name first. Qt's own
// window-system options (-platform, -style, ...) are let through for QApplication.
EditorCommandLine readEditorCommandLine(const QStringList& arguments);

// The arguments of main() decoded as file names are, so that any name can be opened.
QStringList decodedArguments(int argc, char* argv[]);
