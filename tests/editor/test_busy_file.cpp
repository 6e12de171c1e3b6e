// The editor and a stage file that another program holds or that cannot be written: the window
// keeps painting under the busy cursor while it waits for the lock, the wait ends with the
// message and the file as it was, and a failed copy gives its reason in the editor's words.
#include "EditorFixture.h"

#include "FileCopy.h"
#include "errors.h"

#include <QCursor>
#include <QGuiApplication>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace fixture;

namespace {

// Counts the map view's paints under the busy cursor: those made while a write waits.
class PaintWatch : public QObject {
public:
    int busyPaints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        if (event->type() == QEvent::Paint && cursor != nullptr &&
            cursor->shape() == Qt::WaitCursor) {
            ++busyPaints;
        }
        return false;
    }
};

} // namespace

class TestBusyFile : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(session_.start()); }
    void cleanup() { session_.stop(); }

    // "flock -x pack.map sleep 25" in another program: "Zapisz" waits, painting, then gives up.
    // A change that program makes meanwhile is read once the command has ended.
    void aSaveToAFileAnotherProgramHoldsEndsWithTheMessageAndTheFileAsItWas() {
        const QString path = session_.folder->path(QStringLiteral("pack.map"));
        const std::string before = stageFile({"Alfa", "Beta"});
        writeBytes(path, before);
        QVERIFY(openFile(path));
        const int holder = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        QCOMPARE(::flock(holder, LOCK_EX), 0);

        PaintWatch watch;
        Form1->DG1->viewport()->installEventFilter(&watch);
        QTimer repaint; // something on screen changes while the write waits
        QObject::connect(&repaint, &QTimer::timeout, Form1->DG1->viewport(),
                         [] { Form1->DG1->viewport()->update(); });
        repaint.start(100);
        const std::string changed = stageFile({"Obcy", "Beta"});
        QTimer::singleShot(1000, [&] { writeBytes(path, changed); });
        QVERIFY(save());
        repaint.stop();
        Form1->DG1->viewport()->removeEventFilter(&watch);
        ::close(holder);

        QTRY_COMPARE(session_.boxes->shown.size(), std::size_t(2));
        QCOMPARE(session_.boxes->texts().front(),
                 QStringLiteral("Plik %1 jest używany przez inny program. Plik nie został "
                                "zmieniony; spróbuj ponownie, gdy tamten program skończy z niego "
                                "korzystać.")
                     .arg(path));
        QVERIFY(session_.boxes->texts().back().startsWith(
            QStringLiteral("Plik %1 został zmieniony przez inny program.").arg(path)));
        QCOMPARE(session_.boxes->shown.front().icon, QMessageBox::NoIcon);
        QCOMPARE(readBytes(path), changed);
        QVERIFY(watch.busyPaints > 0);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void aFailedCopyGivesItsReasonInTheEditorsWords() {
        const QString from = session_.folder->path(QStringLiteral("pack.map"));
        writeBytes(from, stageFile({"Alfa"}));
        const QString to = session_.folder->path(QStringLiteral("brak/kopia.map"));
        try {
            kopiujPlik(from, to);
            QFAIL("copied into a folder that does not exist");
        } catch (const krelwin::RuntimeError& error) {
            QCOMPARE(QString::fromUtf8(error.what()),
                     QStringLiteral("Nie można skopiować pliku do %1: File not found").arg(to));
        }
    }

private:
    EditorSession session_;
};

QTEST_MAIN(TestBusyFile)
#include "test_busy_file.moc"
