// The stage's counts in the status line and the dialog "Problemy etapu", through the real window:
// the counts follow every paint, undo and load, the start-and-exit rule shows in bold red while
// it is broken, and a double click on a finding leads the map view to its cell.
#include "EditorFixture.h"
#include "EditorStatusBar.h"
#include "StageProblems.h"

#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTreeWidget>

using namespace fixture;

namespace {

// The status line's counts as shown, each part drawn bold and red in brackets.
QString shownCounts() {
    const QLabel* label = Form1->StatusBar1->LLiczniki;
    if (!label->isVisible())
        return QStringLiteral("<hidden>");
    QTextDocument document;
    document.setHtml(label->text());
    QString shown;
    for (auto fragment = document.begin().begin(); !fragment.atEnd(); ++fragment) {
        const QTextCharFormat format = fragment.fragment().charFormat();
        const QString text = fragment.fragment().text().simplified();
        const bool alarm = format.fontWeight() >= QFont::Bold &&
                           format.foreground().color().red() > 150 &&
                           format.foreground().color().green() < 50;
        if (!text.isEmpty())
            shown += (shown.isEmpty() ? QString() : QStringLiteral(" ")) +
                     (alarm ? QStringLiteral("[%1]").arg(text) : text);
    }
    return shown;
}

// Alfa: earth with one start and one exit. Beta: two exits and three diamonds, its start at
// column 75, row 70 of an 80 x 80 stage, far outside the first view.
std::string betaRecord() {
    std::vector<std::string> rows(80, std::string(80, '+'));
    rows[69][74] = 'S';
    rows[0][0] = 'W';
    rows[0][1] = 'W';
    rows[5][5] = rows[5][6] = rows[5][7] = '*';
    return recordOfRows("Beta", 80, rows);
}

const std::string Pack = record("Alfa", '+') + betaRecord();

// A double click as the window system delivers it: a click, then the second press.
void doubleClick(QTreeWidget* list, QTreeWidgetItem* item) {
    const QPoint centre = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

} // namespace

class TestStageProblems : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(session_.start());
        path_ = session_.folder->path(QStringLiteral("zestaw.map"));
        writeBytes(path_, Pack);
    }
    void cleanup() { session_.stop(); }

    void theCountsFollowPaintsUndoAndLoads() {
        QCOMPARE(shownCounts(), QStringLiteral("<hidden>")); // no file open yet
        QVERIFY(openFile(path_));
        QCOMPARE(shownCounts(), QStringLiteral("Diamenty: 0/10"));
        paint(2, 5, 5);
        paint(1, 6, 6);
        QCOMPARE(shownCounts(), QStringLiteral("Diamenty: 1/10 [Start: 2]"));
        Form1->Cofnij1->trigger();
        QCOMPARE(shownCounts(), QStringLiteral("Diamenty: 1/10"));
        Form1->Cofnij1->trigger();
        QCOMPARE(shownCounts(), QStringLiteral("Diamenty: 0/10"));
        Form1->Ponw1->trigger();
        paint(13, 1, 1); // the exit over the start
        QCOMPARE(shownCounts(), QStringLiteral("Diamenty: 1/10 [Start: 0] [Wyjście: 2]"));
        QVERIFY(chooseStage(1)); // the unsaved changes dropped
        QCOMPARE(shownCounts(), QStringLiteral("Diamenty: 3/10 [Wyjście: 2]"));
        Form1->Cofnij1->trigger();
        QCOMPARE(shownCounts(), QStringLiteral("Diamenty: 1/10 [Start: 0] [Wyjście: 2]"));
        QVERIFY(confirmParameters(Form1->Parametryetapu1, [] { Form2->SEIleD->setValue(1); }));
        QCOMPARE(shownCounts(), QStringLiteral("Diamenty: 1/1 [Start: 0] [Wyjście: 2]"));
    }

    // Each finding with its cell; a double click on the start far down selects it in view.
    void aDoubleClickOnAFindingLeadsToItsCell() {
        QVERIFY(openFile(path_));
        QVERIFY(chooseStage(1));
        QStringList rows;
        QStringList kinds;
        QVERIFY(inDialogOf(Form1->Problemyetapu1, [&] {
            StageProblems* dialog = Form1->ProblemyEtapu;
            for (int i = 0; i < dialog->Problemy->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = dialog->Problemy->topLevelItem(i);
                rows << QStringLiteral("%1|%2|%3|%4")
                            .arg(item->text(0), item->text(1), item->text(2), item->text(3));
            }
            for (int i = 0; i < dialog->Pola->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = dialog->Pola->topLevelItem(i);
                if (item->text(1) != QStringLiteral("0"))
                    kinds << QStringLiteral("%1 %2 %3")
                                 .arg(item->text(0), item->text(1), item->text(2));
            }
            doubleClick(dialog->Problemy, dialog->Problemy->topLevelItem(0));
        }));
        const QString exits =
            QStringLiteral(": jedno z 2 wyjść (W); wymagane jest dokładnie jedno");
        QCOMPARE(rows,
                 QStringList({QStringLiteral("błąd|1|1|Pole w wierszu 1, kolumnie 1") + exits,
                              QStringLiteral("błąd|2|1|Pole w wierszu 1, kolumnie 2") + exits,
                              QStringLiteral("ostrzeżenie|||Mniej diamentów na planszy (3) niż "
                                             "do zebrania (10)")}));
        QCOMPARE(kinds, QStringList({QStringLiteral("Pozycja startowa 1 < 0,1 %"),
                                     QStringLiteral("Diament 3 < 0,1 %"),
                                     QStringLiteral("Ziemia 6394 99,9 %"),
                                     QStringLiteral("Wyjście 2 < 0,1 %")}));
        QCOMPARE(Form1->DG1->currentColumn(), 1);
        QCOMPARE(Form1->DG1->currentRow(), 1);

        // Painted into the corner: the start far down and right is one of two.
        Form1->DG1->setCurrentColumn(3);
        paint(1, 3, 1);
        QVERIFY(inDialogOf(Form1->Problemyetapu1, [&] {
            QTreeWidget* list = Form1->ProblemyEtapu->Problemy;
            QTreeWidgetItem* far =
                list->findItems(QStringLiteral("75"), Qt::MatchExactly, 1).value(0);
            QVERIFY(far != nullptr);
            QCOMPARE(far->text(2), QStringLiteral("70"));
            doubleClick(list, far);
        }));
        QVERIFY(!Form1->ProblemyEtapu->isVisible());
        QCOMPARE(Form1->DG1->currentColumn(), 75);
        QCOMPARE(Form1->DG1->currentRow(), 70);
        const MapView::Selection selection = Form1->DG1->selection();
        QCOMPARE(QRect(selection.left, selection.top, 1, 1), QRect(75, 70, 1, 1));
        QVERIFY(Form1->DG1->viewport()->rect().contains(Form1->DG1->cellRect(75, 70)));
    }

private:
    EditorSession session_;
    QString path_;
};

QTEST_MAIN(TestStageProblems)
#include "test_stage_problems.moc"
