// "Opcje → Generator map" through its menu item and dialog: the shares it starts with and keeps,
// and the stage it fills from the seed, worked out by hand.
#include "EditorFixture.h"

#include "generator.h"

using namespace fixture;

namespace {

QList<int> shownShares() {
    QList<int> values;
    for (NumberField* field : Form4->SE)
        values << field->value();
    return values;
}

} // namespace

class TestGeneratorCommand : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(session_.start()); }
    void cleanup() { session_.stop(); }

    void generatorStartsWithTheDefaultsAndKeepsValuesAfterCancel() {
        QVERIFY(newStage());
        const krelwin::Etap stage = Stan->etap;
        const uint32_t seed = Stan->ZrodloLosowe.Ziarno;
        QWidget* focused = nullptr;
        QList<int> first;
        QVERIFY(inDialogOf(Form1->Generator1, [&] {
            QCOMPARE(Form4->windowTitle(), QStringLiteral("Generator map losowych"));
            focused = Form4->focusWidget();
            first = shownShares();
            Form4->SE[1]->setValue(55);
            QTest::mouseClick(Form4->BitBtn2, Qt::LeftButton);
        }));
        QCOMPARE(focused, static_cast<QWidget*>(Form4->BitBtn1));
        QCOMPARE(first, QList<int>({2, 30, 10, 1, 1, 1, 2, 0, 0, 0, 0}));
        inDialogOf(Form1->Generator1, [&] {
            first = shownShares();
            QTest::mouseClick(Form4->BitBtn2, Qt::LeftButton);
        });
        QCOMPARE(first, QList<int>({2, 55, 10, 1, 1, 1, 2, 0, 0, 0, 0}));
        QVERIFY(Stan->etap == stage);
        QCOMPARE(Stan->ZrodloLosowe.Ziarno, seed);
    }

    void generatorFillsTheCellsFromTheSeedAndTheShares() {
        QVERIFY(newStage(18, 10));
        leftClick(7, 9);
        Stan->ZrodloLosowe.Ziarno = 86399999;
        const krelwin::Udzialy shares{5, 20, 10, 5, 8, 8, 5, 5, 5, 5, 5};
        // Worked out from the fill rule one draw at a time, outside this code base.
        const QStringList expected{"&*/+.o*=+++o~.-\"*.",    ".+%+v%|*+&-\"\\.<+/.",
                                   "o#<#+\".#..%&~<v^.+",    "++~&%#-.&&=.&o>+-o",
                                   "\"%.*o+.\\+=+\\\"+.o.v", ".+..o<+-=>+=o\"%.+v",
                                   "o/=\\#=.ov\".#.+%#*o",   "o&.++.*<*~+\"=*\"+&.",
                                   "#\"..#>+o-%~++.\\#*=",   ">/>^|ooooo%+~.v~#\""};
        // At each paint: whether the busy cursor was up and the stage still unfilled.
        struct PaintWatcher : QObject {
            krelwin::Plansza before = Stan->etap.plansza;
            std::vector<bool> busyPaintsUnfilled;
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint &&
                    Form1->DG1->viewport()->cursor().shape() == Qt::WaitCursor)
                    busyPaintsUnfilled.push_back(Stan->etap.plansza == before);
                return false;
            }
        } watcher;
        Form1->DG1->viewport()->installEventFilter(&watcher);
        QVERIFY(inDialogOf(Form1->Generator1, [&] {
            for (std::size_t k = 0; k < shares.size(); ++k)
                Form4->SE[k]->setValue(shares[k]);
            QTest::mouseClick(Form4->BitBtn1, Qt::LeftButton);
        }));
        Form1->DG1->viewport()->removeEventFilter(&watcher);
        QStringList rows;
        for (int row = 1; row <= 10; ++row) {
            QString cellsOfRow;
            for (int column = 1; column <= 18; ++column)
                cellsOfRow += QLatin1Char(cell(column, row));
            rows << cellsOfRow;
        }
        QCOMPARE(rows, expected);
        QCOMPARE(Stan->ZrodloLosowe.Ziarno, 2792657768u);
        QCOMPARE(Form1->DG1->currentCell(), (MapView::Cell{1, 1}));
        QCOMPARE(Form1->DG1->viewport()->cursor().shape(), Qt::PointingHandCursor);
        // Painted at once before the fill under the busy cursor, and again after it.
        QVERIFY(watcher.busyPaintsUnfilled.size() >= 2);
        QVERIFY(watcher.busyPaintsUnfilled.front() && !watcher.busyPaintsUnfilled.back());
    }

private:
    EditorSession session_;
};

QTEST_MAIN(TestGeneratorCommand)
#include "test_generator_command.moc"
