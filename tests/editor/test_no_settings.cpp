// The editor stores nothing between runs: a session through both file dialogs ("Otwórz" and
// the save dialog of "Zapisz") leaves no file in the user's configuration folder, where Qt's
// file dialog would otherwise keep its history and last folder.
#include "EditorFixture.h"

#include "NoSettings.h"

#include <QDirIterator>

#include <memory>

using namespace fixture;

namespace {

// Set before the application exists, as a fresh start of the program finds it.
QTemporaryDir* configFolder = nullptr;

QStringList filesIn(const QString& folder) {
    QStringList found;
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        found << entries.next();
    return found;
}

} // namespace

class TestNoSettings : public QObject {
    Q_OBJECT

private slots:
    void bothFileDialogsLeaveNoSettingsFile() {
        WorkingFolder folder;
        const QString path = folder.path(QStringLiteral("etapy.map"));
        writeBytes(path, stageFile({"Alfa"}));
        keepNoSettings();
        startEditor();
        {
            MessageBoxCatcher boxes;
            QVERIFY(openFile(path));
            QVERIFY(save(folder.path(QStringLiteral("kopia.map"))));
            QVERIFY(boxes.shown.empty());
        }
        QVERIFY(QFile::exists(folder.path(QStringLiteral("kopia.map"))));
        stopEditor(); // the dialogs go with the main window, which is when Qt would write
        QCOMPARE(filesIn(configFolder->path()), QStringList());
    }
};

int main(int argc, char* argv[]) {
    QTemporaryDir folder;
    configFolder = &folder;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
    QApplication application(argc, argv);
    TestNoSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_no_settings.moc"
