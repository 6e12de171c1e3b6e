// A second editor for the recovery tests: it starts as the program does with the file named on
// its command line, paints a diamond at column 5, row 5, says "kopia" on its standard output
// once its recovery copy is whole on the disk, and runs until it is killed.
#include "EditorState.h"
#include "FileWorkflow.h"
#include "Forms.h"
#include "RecoveryKeeper.h"
#include "aarys.h"
#include "editing.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    createForms();
    Form1->show();
    Form1->zacznijPrace(QFile::decodeName(argv[1]));
    Workflow->history().recordCellEdit([] {
        krelwin::paintCell(Stan->etap, {5, 5}, '*');
        return krelwin::ZapisanePola{{5, 5}};
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&poll] {
        // The safe write makes the file empty first and renames the whole copy over it.
        if (QFileInfo(Recovery->copyPath()).size() > 0) {
            poll.stop();
            std::puts("kopia");
            std::fflush(stdout);
        }
    });
    poll.start(20);
    return QApplication::exec();
}
