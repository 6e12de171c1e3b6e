// "Cofnij" and "Ponów" driven through the real menus, toolbar and view, and the questions asked
// before unsaved work is lost, by a load or on exit, answered as the user answers them.
#include "EditorFixture.h"

#include <iterator>

using namespace fixture;

namespace {

// Two stages of different sizes, so that a load also changes the view's size.
std::string twoStages() {
    return record("Alfa", 'a') + record("Beta", 'b', 24, 14);
}

// What the user sees of the stage in memory.
struct Shown {
    QByteArray cells; // all 82 x 82 codes, column by column
    krelwin::ParametryEtapu parametry;
    QString nazwa;
    QSize viewCells;
};

Shown shown() {
    Shown now{{},
              Stan->etap.parametry,
              Stan->BiezacyEtap(),
              QSize(Form1->DG1->columnCount(), Form1->DG1->rowCount())};
    for (int column = 0; column < krelwin::RozmiarPlanszy; ++column)
        for (int row = 0; row < krelwin::RozmiarPlanszy; ++row)
            now.cells += Stan->etap.plansza.at(column, row);
    return now;
}

void compareShown(const Shown& actual, const Shown& expected) {
    QCOMPARE(actual.cells, expected.cells);
    QVERIFY(actual.parametry == expected.parametry);
    QCOMPARE(actual.nazwa, expected.nazwa);
    QCOMPARE(actual.viewCells, expected.viewCells);
}

struct Question {
    bool asked = false;
    QString text;
    QStringList buttons;
    QString defaultButton;
};

// Runs `command`, answering the question it asks, if one comes, by `answer`: a click on the
// button of that text, or a key press on the box (a plain letter or Alt with it).
Question answering(const std::function<void()>& command, const QString& answer,
                   QKeyCombination key = {}) {
    Question question;
    question.asked = withModalDialog(command, [&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box != nullptr);
        question.text = box->text();
        for (QAbstractButton* button : box->buttons())
            question.buttons << button->text();
        question.buttons.sort();
        if (box->defaultButton() != nullptr)
            question.defaultButton = box->defaultButton()->text();
        if (key.key() != Qt::Key_unknown) {
            QApplication::setActiveWindow(box); // shortcuts (Alt + letter) act in the active one
            QVERIFY(QTest::qWaitForWindowActive(box));
            QTest::keyClick(box, key.key(), key.keyboardModifiers());
            QTRY_VERIFY(!box->isVisible()); // the box presses its button a moment later
            return;
        }
        for (QAbstractButton* button : box->buttons())
            if (button->text() == answer)
                button->click();
    });
    return question;
}

const QString DropQuestion = QStringLiteral("Etap „Alfa” ma niezapisane zmiany. Porzucić je?");

} // namespace

class TestUndo : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QApplication::setQuitOnLastWindowClosed(false); // the exit tests close the window
        // The exit question is answered by each test itself.
        QVERIFY(session_.start(EditorSession::Boxes::LeftToTheTest));
        path_ = session_.folder->path(QStringLiteral("plan.map"));
        writeBytes(path_, twoStages());
    }
    void cleanup() { session_.stop(); }

    void menuItemsAndShortcuts() {
        const QList<QAction*> items = Form1->Edycja1->actions();
        QStringList captions;
        for (const QAction* item : items)
            captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
        QCOMPARE(captions,
                 QStringList({"Cofnij", "Ponów", "-", "Wytnij", "Kopiuj", "Wklej", "Skasuj"}));
        QCOMPARE(Form1->Cofnij1->shortcuts(), QList<QKeySequence>({QKeySequence("Ctrl+Z")}));
        QCOMPARE(Form1->Ponw1->shortcuts(),
                 QList<QKeySequence>({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
        for (const QAction* block : items.mid(3))
            QVERIFY(block->shortcuts().isEmpty());
        QVERIFY(!Form1->Cofnij1->isEnabled() && !Form1->Ponw1->isEnabled());

        QVERIFY(openFile(path_)); // the first file replaces a stage nobody saw: no step
        QVERIFY(!Form1->Cofnij1->isEnabled() && !Form1->Ponw1->isEnabled());
        paint(2, 3, 3);
        QVERIFY(Form1->Cofnij1->isEnabled() && !Form1->Ponw1->isEnabled());
        QApplication::setActiveWindow(Form1); // the file dialog was the active one
        QTest::keyClick(Form1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(cell(3, 3), 'a');
        QVERIFY(!Form1->Cofnij1->isEnabled() && Form1->Ponw1->isEnabled());
        QTest::keyClick(Form1, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(cell(3, 3), '*');
        QTest::keyClick(Form1, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(Form1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(cell(3, 3), '*');
    }

    // Each kind of change to the stage where it stands: undone, the stage is as before it;
    // redone, as after it.
    void eachChangeUndoneAndRedone_data() {
        QTest::addColumn<int>("kind");
        for (int kind = 0; kind < int(std::size(Kinds)); ++kind)
            QTest::newRow(Kinds[kind].name) << kind;
    }
    void eachChangeUndoneAndRedone() {
        QFETCH(int, kind);
        QVERIFY(openFile(path_));
        paint(2, 5, 5); // an unsaved edit that a replaced stage must bring back
        Kinds[kind].prepare();
        const Shown before = shown();
        Kinds[kind].act();
        QApplication::processEvents();
        const Shown after = shown();
        QVERIFY(after.cells != before.cells || !(after.parametry == before.parametry) ||
                after.nazwa != before.nazwa);

        Form1->Cofnij1->trigger();
        compareShown(shown(), before);
        Form1->Ponw1->trigger();
        compareShown(shown(), after);
    }

    // An undone edit redraws the cells it changed and no other.
    void undoRedrawsOnlyTheChangedCells() {
        QVERIFY(openFile(path_));
        paint(2, 4, 4);
        std::vector<MapView::Cell> drawn = cellsDrawnBy([] { Form1->Cofnij1->trigger(); });
        QVERIFY(drawn == (std::vector<MapView::Cell>{{4, 4}}));
        // A fill of six cells of which two held the tool already changes four.
        paint(8, 3, 3);
        rightPress(3, 4);
        QTest::mouseClick(Form1->ToolButtons[13], Qt::LeftButton); // so that "Mur" is chosen anew
        select(2, 3, 4, 4);
        drawn = cellsDrawnBy([] { QTest::mouseClick(Form1->ToolButtons[7], Qt::LeftButton); });
        QCOMPARE(drawn.size(), std::size_t(6));
        drawn = cellsDrawnBy([] { Form1->Cofnij1->trigger(); });
        QVERIFY(drawn == (std::vector<MapView::Cell>{{2, 3}, {4, 3}, {2, 4}, {4, 4}})); // by rows
        QCOMPARE(cells({{2, 3}, {3, 3}, {3, 4}, {4, 4}}), QStringLiteral("a==a"));
    }

    // Through the menus: "Wybierz etap" over a painted stage asks first ("Nie" keeps
    // everything); agreed to, "Cofnij" brings the painted stage back with its place in the file,
    // and "Zapisz" writes it there, not over the stage loaded meanwhile.
    void aLoadAsksAndItsUndoWritesTheStageWhereItCameFrom() {
        QVERIFY(openFile(path_));
        paint(2, 5, 5);
        const Shown painted = shown();
        {
            MessageBoxCatcher declining;
            declining.replaceAnswer = QMessageBox::No;
            QVERIFY(chooseStage(1));
            QCOMPARE(declining.texts(), QStringList({DropQuestion}));
            QCOMPARE(declining.shown.front().defaultButton, QStringLiteral("&Nie"));
        }
        compareShown(shown(), painted);
        QCOMPARE(Form3->selectedIndex(), 0);
        {
            MessageBoxCatcher agreeing;
            QVERIFY(chooseStage(1));
            QCOMPARE(agreeing.texts(), QStringList({DropQuestion}));
        }
        QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Beta"));
        QCOMPARE(Form3->selectedIndex(), 1);
        Form1->Cofnij1->trigger();
        compareShown(shown(), painted);
        QCOMPARE(Form3->selectedIndex(), 0);
        {
            MessageBoxCatcher noErrors;
            QVERIFY(save());
            QVERIFY(noErrors.shown.empty());
        }
        std::string edited = record("Alfa", 'a');
        edited[edited.find("{\r\n") + 3 + 4 * (18 + 2) + 4] = '*';
        QCOMPARE(readBytes(path_), edited + record("Beta", 'b', 24, 14));
    }

    // Every question answers to its buttons' letters, alone or with Alt, as Qt's own Polish
    // boxes do.
    void questionsAnswerToTheirKeys_data() {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<bool>("closed");
        QTest::newRow("T") << QKeyCombination(Qt::Key_T) << true;
        QTest::newRow("N") << QKeyCombination(Qt::Key_N) << false;
        QTest::newRow("Alt+T") << QKeyCombination(Qt::AltModifier, Qt::Key_T) << true;
        QTest::newRow("Alt+N") << QKeyCombination(Qt::AltModifier, Qt::Key_N) << false;
    }
    void questionsAnswerToTheirKeys() {
        QFETCH(QKeyCombination, key);
        QFETCH(bool, closed);
        QVERIFY(openFile(path_));
        paint(2, 5, 5);
        QVERIFY(answering([] { Form1->Koniec1->trigger(); }, QString(), key).asked);
        QCOMPARE(Form1->isVisible(), !closed);
    }

    void exitQuestion_data() {
        QTest::addColumn<int>("history");
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<bool>("asked");
        QTest::newRow("opened, no change") << 0 << false << false;
        QTest::newRow("painted, Wyjście") << 1 << false << true;
        QTest::newRow("painted, close box") << 1 << true << true;
        QTest::newRow("painted and undone") << 2 << false << false;
        QTest::newRow("painted and saved") << 3 << true << false;
        QTest::newRow("saved, then undone past the save") << 4 << false << true;
        QTest::newRow("after Nowy") << 5 << false << false;
        QTest::newRow("Parametry etapu") << 6 << false << true;
    }
    void exitQuestion() {
        QFETCH(int, history);
        QFETCH(bool, closeBox);
        QFETCH(bool, asked);
        QVERIFY(openFile(path_));
        if (history >= 1 && history <= 4)
            paint(2, 5, 5);
        if (history == 2)
            Form1->Cofnij1->trigger();
        if (history >= 3 && history <= 4) {
            MessageBoxCatcher noErrors;
            QVERIFY(save());
            QVERIFY(noErrors.shown.empty());
        }
        if (history == 4)
            Form1->Cofnij1->trigger();
        if (history == 5)
            QVERIFY(newStage());
        if (history == 6)
            QVERIFY(setSize(Form1->Parametryetapu1, 20, 12));

        const auto close = [closeBox] {
            if (closeBox)
                Form1->close(); // what the window's close box does
            else
                Form1->Koniec1->trigger();
        };
        const Shown before = shown();
        Question question = answering(close, QStringLiteral("&Nie"));
        QCOMPARE(question.asked, asked);
        QCOMPARE(Form1->isVisible(), asked);
        if (!asked)
            return;
        QCOMPARE(question.text,
                 QStringLiteral("Etap „Alfa” ma niezapisane zmiany. Zakończyć bez zapisywania?"));
        QCOMPARE(question.buttons, QStringList({"&Nie", "&Tak"}));
        QCOMPARE(question.defaultButton, QStringLiteral("&Nie"));
        compareShown(shown(), before);
        question = answering(close, QStringLiteral("&Tak"));
        QVERIFY(question.asked);
        QVERIFY(!Form1->isVisible());
    }

private:
    struct Kind {
        const char* name;
        void (*prepare)();
        void (*act)();
    };
    static constexpr Kind Kinds[] = {
        {"right-press paint", [] { QTest::mouseClick(Form1->ToolButtons[3], Qt::LeftButton); },
         [] { rightPress(7, 2); }},
        {"fill by a tool click", [] { select(2, 2, 4, 3); },
         [] { QTest::mouseClick(Form1->ToolButtons[7], Qt::LeftButton); }},
        {"fill by a right press", [] { select(4, 3, 2, 2); }, [] { rightPress(12, 9); }},
        {"turn by double click",
         [] {
             paint(6, 6, 6);
             leftClick(6, 6);
         },
         [] { QTest::mouseDClick(Form1->DG1->viewport(), Qt::LeftButton, {}, centreOf(6, 6)); }},
        {"Wytnij", [] { select(0, 0, 3, 3); }, [] { Form1->Wytnij1->trigger(); }},
        {"Wklej",
         [] {
             select(4, 4, 6, 5);
             Form1->Kopiuj1->trigger();
             leftClick(16, 9);
         },
         [] { Form1->Wklej1->trigger(); }},
        {"Skasuj", [] { select(1, 1, 5, 5); }, [] { Form1->Skasuj1->trigger(); }},
        {"Generator map", [] {},
         [] {
             QVERIFY(inDialogOf(Form1->Generator1,
                                [] { QTest::mouseClick(Form4->BitBtn1, Qt::LeftButton); }));
         }},
        {"Parametry etapu", [] {},
         [] {
             QVERIFY(confirmParameters(Form1->Parametryetapu1, [] {
                 enterSize(30, 15);
                 Form2->SEIleD->setValue(77);
                 Form2->EEtap->setText(QStringLiteral("Gamma"));
                 Form2->EKolory->setText(QStringLiteral("01,02"));
             }));
         }},
    };

    EditorSession session_;
    QString path_;
};

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
