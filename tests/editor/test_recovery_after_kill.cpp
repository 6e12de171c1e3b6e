// An editor killed with SIGKILL after a paint, and the next one started on the same state
// folder: its question answered both ways, and the file's bytes after "Zapisz". A copy kept by
// an editor that still runs is not offered.
#include "EditorFixture.h"

#include "RecoveryKeeper.h"

#include <QProcess>
#include <QRegularExpression>

using namespace fixture;

class TestRecoveryAfterKill : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(home_.isValid() && files_.isValid());
        qputenv("XDG_STATE_HOME", QFile::encodeName(home_.path()));
        pack_ = files_.filePath(QStringLiteral("alfa.map"));
        writeBytes(pack_, stageFile({"Alfa", "Beta"}));
    }
    void cleanup() {
        session_.stop();
        painter_.kill();
        painter_.waitForFinished();
    }

    void theKilledEditorsStageIsOffered_data() {
        QTest::addColumn<bool>("restore");
        QTest::newRow("Tak") << true;
        QTest::newRow("Nie") << false;
    }
    void theKilledEditorsStageIsOffered() {
        QFETCH(bool, restore);
        startPainter();
        if (QTest::currentTestFailed())
            return;
        painter_.kill(); // SIGKILL: no chance to clean up
        QVERIFY(painter_.waitForFinished());

        QVERIFY(session_.start());
        session_.boxes->replaceAnswer = restore ? QMessageBox::Yes : QMessageBox::No;
        Form1->zacznijPrace(std::nullopt);
        QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
        const MessageBoxCatcher::Shown& question = session_.boxes->shown.front();
        QVERIFY2(
            QRegularExpression(
                QStringLiteral("^Znaleziono niezapisany etap „Alfa” \\(plik %1, zmieniony "
                               "\\d{1,2}\\.\\d{2}\\.\\d{4} \\d{1,2}:\\d{2}\\)\\. Przywrócić go\\?$")
                    .arg(QRegularExpression::escape(pack_)))
                .match(question.text)
                .hasMatch(),
            qPrintable(question.text));
        QCOMPARE(question.defaultButton, QStringLiteral("&Tak"));
        if (!restore) {
            QVERIFY(Form1->DG1->isHidden());
            QVERIFY(QDir(RecoveryKeeper::folder()).entryList({"*.kopia"}).isEmpty());
            return;
        }
        QVERIFY(Form1->DG1->isVisible());
        QCOMPARE(cell(5, 5), '*');
        QVERIFY(save());
        std::string alfa = record("Alfa", 'a');
        alfa[alfa.find("{\r\n") + 3 + 4 * 20 + 4] = '*';
        QCOMPARE(readBytes(pack_), alfa + record("Beta", 'b'));
        QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
    }

    void aCopyOfARunningEditorIsNotOffered() {
        startPainter();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(session_.start());
        Form1->zacznijPrace(std::nullopt);
        QVERIFY(session_.boxes->shown.empty());
        QVERIFY(Form1->DG1->isHidden());
    }

private:
    // The other editor, run until its copy of a painted stage is on the disk.
    void startPainter() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        painter_.setProcessEnvironment(environment);
        painter_.start(QStringLiteral(RECOVERY_PAINTER_PATH), {pack_});
        QVERIFY(painter_.waitForStarted());
        QVERIFY(painter_.waitForReadyRead(30000));
        QCOMPARE(painter_.readLine().trimmed(), QByteArray("kopia"));
    }

    QTemporaryDir home_;
    QTemporaryDir files_;
    QString pack_;
    QProcess painter_;
    EditorSession session_;
};

QTEST_MAIN(TestRecoveryAfterKill)
#include "test_recovery_after_kill.moc"
