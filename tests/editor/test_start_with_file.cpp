// The real program started with a stage file on its command line: it opens the file, as a
// second program sees through the file system. (How the window then shows the file is tested
// on the function that main() calls for it, in test_command_line.cpp.)
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <fstream>

class TestStartWithFile : public QObject {
    Q_OBJECT

private slots:
    void theFileNamedOnTheCommandLineIsRead() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("pakiet.map"));
        std::ofstream(path.toStdString(), std::ios::binary)
            << "(Alfa)\r\n}\r\n18,10,010,010,010,010,010,100,Z,00,00,00,20,40,00,10,30,40,20,"
               "61,40,05,35,05,10,10,55,\r\n{\r\nS+++++++++++++++++\r\n";
        const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        QVERIFY(watch >= 0);
        QVERIFY(::inotify_add_watch(watch, QFile::encodeName(path).constData(), IN_CLOSE_NOWRITE) >=
                0);

        QProcess editor;
        editor.setProcessChannelMode(QProcess::ForwardedChannels);
        // Folders of its own, so that nothing a user or another test left (a recovery copy to
        // offer) stands before the file.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
            environment.insert(QString::fromLatin1(name),
                               folder.filePath(QString::fromLatin1(name)));
        editor.setProcessEnvironment(environment);
        editor.start(QStringLiteral(KRELWIN_KONSTRUKTOR_PATH), {path});
        QVERIFY(editor.waitForStarted());
        // A read through to its close; a generous bound only keeps a broken program from
        // hanging the suite.
        bool read = false;
        for (int waited = 0; !read && waited < 60000 && editor.state() == QProcess::Running;
             waited += 100) {
            pollfd ready{watch, POLLIN, 0};
            read = ::poll(&ready, 1, 100) == 1;
        }
        const bool stillRunning = editor.state() == QProcess::Running;
        editor.kill();
        editor.waitForFinished();
        ::close(watch);
        QVERIFY2(stillRunning, "the editor ended by itself");
        QVERIFY2(read, "the editor never read the file named on its command line");
    }
};

QTEST_GUILESS_MAIN(TestStartWithFile)
#include "test_start_with_file.moc"
