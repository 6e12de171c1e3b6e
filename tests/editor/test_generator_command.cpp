// "Generator map": the dialog's shares, kept after "&Anuluj", and a run that fills the stage
// exactly as the core's generator does from the same seed.
#include "CommandDriving.h"

#include "generator.h"

#include <QCursor>

using fixture::withModalDialog;

namespace {

// Records, at each paint of the map view, the cursor and whether the fill has happened yet.
class PaintWatcher : public QObject {
public:
    struct Paint {
        Qt::CursorShape cursor;
        bool stageUnchanged;
    };
    krelwin::Plansza before;
    std::vector<Paint> paints;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            paints.push_back(
                {Form1->DG1->viewport()->cursor().shape(), Form1->etap.plansza == before});
        return false;
    }
};

QList<int> shownValues() {
    QList<int> values;
    for (NumberField* field : Form4->SE)
        values << field->value();
    return values;
}

} // namespace

class TestGeneratorCommand : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<commands::WorkingFolder>();
        fixture::startEditor();
    }
    void cleanup() {
        fixture::stopEditor();
        folder_.reset();
    }

    void dialogStartsWithTheDefaults();
    void cancelKeepsTheValuesAndTheStage();
    void runFillsTheCellsTheCoreGivesFromTheSameSeed();

private:
    std::unique_ptr<commands::WorkingFolder> folder_;
};

void TestGeneratorCommand::dialogStartsWithTheDefaults() {
    QVERIFY(!Form1->Generator1->isEnabled());
    QVERIFY(fixture::newStage());
    QVERIFY(Form1->Generator1->isEnabled());
    QWidget* focused = nullptr;
    QVERIFY(withModalDialog([] { Form1->Generator1->trigger(); },
                            [&](QWidget* dialog) {
                                QCOMPARE(dialog, static_cast<QWidget*>(Form4));
                                QCOMPARE(Form4->windowTitle(),
                                         QStringLiteral("Generator map losowych"));
                                focused = Form4->focusWidget();
                                QTest::mouseClick(Form4->BitBtn2, Qt::LeftButton);
                            }));
    QCOMPARE(shownValues(), QList<int>({2, 30, 10, 1, 1, 1, 2, 0, 0, 0, 0}));
    QCOMPARE(focused, static_cast<QWidget*>(Form4->BitBtn1));
}

void TestGeneratorCommand::cancelKeepsTheValuesAndTheStage() {
    QVERIFY(fixture::newStage());
    const krelwin::Etap stage = Form1->etap;
    const uint32_t seed = Form1->ZrodloLosowe.Ziarno;
    withModalDialog([] { Form1->Generator1->trigger(); },
                    [](QWidget*) {
                        Form4->SE[1]->setValue(55);
                        QTest::mouseClick(Form4->BitBtn2, Qt::LeftButton);
                    });
    QList<int> seen;
    withModalDialog([] { Form1->Generator1->trigger(); },
                    [&](QWidget*) {
                        seen = shownValues();
                        QTest::mouseClick(Form4->BitBtn2, Qt::LeftButton);
                    });
    QCOMPARE(seen, QList<int>({2, 55, 10, 1, 1, 1, 2, 0, 0, 0, 0}));
    QVERIFY(Form1->etap == stage);
    QCOMPARE(Form1->ZrodloLosowe.Ziarno, seed);
    QCOMPARE(Form1->DG1->viewport()->cursor().shape(), Qt::PointingHandCursor);
}

void TestGeneratorCommand::runFillsTheCellsTheCoreGivesFromTheSameSeed() {
    QVERIFY(fixture::newStage(40, 25));
    fixture::leftClick(7, 9);
    Form1->ZrodloLosowe.Ziarno = 20240229;
    krelwin::Etap expected = Form1->etap;
    krelwin::ZrodloLosowe source;
    source.Ziarno = 20240229;
    const krelwin::Udzialy shares{5, 20, 10, 3, 2, 2, 4, 1, 1, 1, 1};
    krelwin::GenerujPlansze(expected, source, shares);

    PaintWatcher watcher;
    watcher.before = Form1->etap.plansza;
    Form1->DG1->viewport()->installEventFilter(&watcher);
    QVERIFY(withModalDialog([] { Form1->Generator1->trigger(); },
                            [&](QWidget*) {
                                for (std::size_t k = 0; k < shares.size(); ++k)
                                    Form4->SE[k]->setValue(shares[k]);
                                QTest::mouseClick(Form4->BitBtn1, Qt::LeftButton);
                            }));
    Form1->DG1->viewport()->removeEventFilter(&watcher);

    QVERIFY(Form1->etap.plansza == expected.plansza);
    QCOMPARE(Form1->ZrodloLosowe.Ziarno, source.Ziarno);
    QCOMPARE(Form1->DG1->currentRow(), 1);
    QCOMPARE(Form1->DG1->currentColumn(), 1);
    QCOMPARE(Form1->DG1->viewport()->cursor().shape(), Qt::PointingHandCursor);
    // The view was painted at once before the fill, under the busy cursor (with the notice),
    // and again at once after it.
    std::vector<bool> busyPaints; // whether the stage was still unfilled, for each busy paint
    for (const PaintWatcher::Paint& paint : watcher.paints)
        if (paint.cursor == Qt::WaitCursor)
            busyPaints.push_back(paint.stageUnchanged);
    QVERIFY(busyPaints.size() >= 2);
    QVERIFY(busyPaints.front());
    QVERIFY(!busyPaints.back());
}

QTEST_MAIN(TestGeneratorCommand)
#include "test_generator_command.moc"
