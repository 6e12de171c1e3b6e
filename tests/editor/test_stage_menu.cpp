// The context menu of the stage list's items: moving a stage up or down, duplicating it and
// deleting it, each on the file at once, through the real list of "Wybierz etap".
#include "EditorFixture.h"

#include <QContextMenuEvent>
#include <QUndoStack>

using namespace fixture;

namespace {

const std::vector<std::string> Names{"Alfa", "Beta", "Gamma", "Delta"};

// The file's records in this order of their first positions, each record as it was.
std::string recordsInOrder(const QList<int>& order) {
    std::string bytes;
    for (const int position : order)
        bytes += record(Names[std::size_t(position)], char('a' + position));
    return bytes;
}

QStringList namesInOrder(const QList<int>& order) {
    QStringList names;
    for (const int position : order)
        names << QString::fromStdString(Names[std::size_t(position)]);
    return names;
}

QMenu* openMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QStringList enabledItems(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->text() + (action->isEnabled() ? "+" : "-");
    return items;
}

// Opens the menu with `open` and, once it is up, hands it to `inMenu`, which must close it.
// Returns the menu's items as they were offered ("+" enabled, "-" disabled), empty when no
// menu came up.
QStringList withMenu(const std::function<void()>& open, const std::function<void(QMenu*)>& inMenu) {
    QStringList offered;
    QTimer::singleShot(0, [&] {
        QMenu* menu = openMenu();
        if (menu == nullptr)
            return;
        offered = enabledItems(menu);
        inMenu(menu);
        if (menu->isVisible())
            menu->close();
    });
    open();
    return offered;
}

// A right click on item `row`: the press selects it, then the window system asks for the menu
// where the mouse is.
void rightClickItem(int row) {
    QWidget* viewport = Form3->ListBox1->viewport();
    const QPoint at = row >= 0 ? centreOfItem(row) : QPoint(5, viewport->height() - 5);
    QTest::mousePress(viewport, Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
}

// The Menu key on the focused list.
void menuKey() {
    Form3->ListBox1->setFocus();
    QTest::keyClick(Form3->ListBox1, Qt::Key_Menu);
}

// The window system's keyboard request for the focused list's context menu (X11 sends it
// ahead of the Menu key).
void keyboardMenuRequest() {
    Form3->ListBox1->setFocus();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1),
                            Form3->ListBox1->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(Form3->ListBox1, &event);
}

// Chooses the item as the user does, with a click on it.
void choose(QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions())
        if (action->text() == caption) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            return;
        }
    QFAIL(qPrintable("no item " + caption));
}

void chooseOnItem(int row, const QString& caption) {
    withMenu([row] { rightClickItem(row); }, [&](QMenu* menu) { choose(menu, caption); });
}

} // namespace

class TestStageMenu : public QObject {
    Q_OBJECT

private slots:
    // "Gamma" (position 2) is the stage in memory, so the dialog remembers position 2.
    void init() {
        QVERIFY(session_.start());
        path_ = session_.folder->path(QStringLiteral("pakiet.map"));
        writeBytes(path_, stageFile(Names));
        QVERIFY(openFile(path_));
        QVERIFY(chooseStage(2));
        QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Gamma"));
    }
    void cleanup() { session_.stop(); }

    void menuOnItemsOnlyWithTheEndsDisabled() {
        QVERIFY(inDialogOf(Form1->Wybierzetap1, [] {
            const QStringList first = withMenu([] { rightClickItem(0); }, [](QMenu*) {});
            QCOMPARE(first, QStringList({"Przesuń wyżej-", "Przesuń niżej+", "Powiel+", "Usuń…+"}));
            QCOMPARE(Form3->selectedIndex(), 0);
            QCOMPARE(Form3->EEtap->text(), QStringLiteral("Alfa")); // the click's own handler
            const QStringList last = withMenu([] { rightClickItem(3); }, [](QMenu*) {});
            QCOMPARE(last, QStringList({"Przesuń wyżej+", "Przesuń niżej-", "Powiel+", "Usuń…+"}));
            // The Menu key opens it on the selected item.
            Form3->selectIndex(1);
            const QStringList middle{"Przesuń wyżej+", "Przesuń niżej+", "Powiel+", "Usuń…+"};
            QCOMPARE(withMenu(menuKey, [](QMenu*) {}), middle);
            QCOMPARE(withMenu(keyboardMenuRequest, [](QMenu*) {}), middle);
            // Below the items, or with nothing selected, there is no menu.
            QVERIFY(withMenu([] { rightClickItem(-1); }, [](QMenu*) {}).isEmpty());
            Form3->selectIndex(-1);
            QVERIFY(withMenu(menuKey, [](QMenu*) {}).isEmpty());
            QVERIFY(withMenu(keyboardMenuRequest, [](QMenu*) {}).isEmpty());
            QTest::mouseClick(Form3->BitBtn2, Qt::LeftButton);
        }));
        QCOMPARE(readBytes(path_), stageFile(Names));
        QVERIFY(session_.boxes->shown.empty());
    }

    // Each action on the file, the list and its selection after it, the selection "&Anuluj"
    // brings back (the stage in memory, wherever it went), and what a "Zapisz" then writes.
    void eachActionChangesTheFileAndTheSelectionFollows_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("yes"); // the answer to "Usuń…"
        QTest::addColumn<QList<int>>("order");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("confirm"); // closes with "&Zatwierdź" rather than "&Anuluj"
        QTest::addColumn<int>("selectedAfter");
        QTest::addColumn<bool>("saveAppends");
        QTest::newRow("up") << 2 << "Przesuń wyżej" << true << QList<int>{0, 2, 1, 3} << 1 << false
                            << 1 << false;
        QTest::newRow("down") << 1 << "Przesuń niżej" << true << QList<int>{0, 2, 1, 3} << 2
                              << false << 1 << false;
        QTest::newRow("duplicate")
            << 0 << "Powiel" << true << QList<int>{0, 0, 1, 2, 3} << 1 << false << 3 << false;
        QTest::newRow("delete another")
            << 1 << "Usuń…" << true << QList<int>{0, 2, 3} << -1 << false << 1 << false;
        QTest::newRow("delete the loaded")
            << 2 << "Usuń…" << true << QList<int>{0, 1, 3} << -1 << false << -1 << true;
        QTest::newRow("delete, confirmed")
            << 1 << "Usuń…" << true << QList<int>{0, 2, 3} << -1 << true << -1 << true;
        QTest::newRow("delete declined")
            << 1 << "Usuń…" << false << QList<int>{0, 1, 2, 3} << 1 << false << 2 << false;
    }
    void eachActionChangesTheFileAndTheSelectionFollows() {
        QFETCH(int, row);
        QFETCH(QString, caption);
        QFETCH(bool, yes);
        QFETCH(QList<int>, order);
        QFETCH(int, selected);
        QFETCH(bool, confirm);
        QFETCH(int, selectedAfter);
        QFETCH(bool, saveAppends);
        session_.boxes->replaceAnswer = yes ? QMessageBox::Yes : QMessageBox::No;
        const krelwin::Etap inMemory = Stan->etap;
        const int steps = Workflow->history().stack().count();
        QVERIFY(inDialogOf(Form1->Wybierzetap1, [&] {
            chooseOnItem(row, caption);
            QCOMPARE(readBytes(path_), recordsInOrder(order));
            QCOMPARE(listItems(), namesInOrder(order));
            QCOMPARE(Form3->selectedIndex(), selected);
            QTest::mouseClick(confirm ? Form3->BitBtn1 : Form3->BitBtn2, Qt::LeftButton);
        }));
        QCOMPARE(Form3->selectedIndex(), selectedAfter);
        if (caption == QStringLiteral("Usuń…")) {
            QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
            const MessageBoxCatcher::Shown& question = session_.boxes->shown.front();
            QCOMPARE(question.text, QStringLiteral("Usunąć etap nr %1 „%2” z pliku? Tej operacji "
                                                   "nie można cofnąć.")
                                        .arg(row + 1)
                                        .arg(QString::fromStdString(Names[std::size_t(row)])));
            QCOMPARE(question.title, QStringLiteral("Krelwin Konstruktor"));
            QCOMPARE(question.buttons, QStringList({"&Tak", "&Nie"}));
            QCOMPARE(question.defaultButton, QStringLiteral("&Nie"));
        } else {
            QVERIFY2(session_.boxes->shown.empty(), qPrintable(session_.boxes->texts().join('|')));
        }
        // The stage in memory, its name and the history are as they were.
        QVERIFY(Stan->etap == inMemory);
        QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Gamma"));
        QCOMPARE(Workflow->history().stack().count(), steps);
        // "Zapisz" writes "Gamma" where it now stands, or appends it where it is gone from the
        // selection: never over another stage.
        QVERIFY(save());
        QCOMPARE(readBytes(path_),
                 recordsInOrder(order) + (saveAppends ? record("Gamma", 'c') : std::string()));
    }

    // A refusal is shown as the list's other writes show it; the file stays as it was.
    void refusalsAreShownAndTheFileKept() {
        const auto quiet = quietFileWatcher();
        // Another program put another stage where "Beta" is listed.
        const std::string changed =
            record("Alfa", 'a') + record("Inny", 'x') + record("Gamma", 'c') + record("Delta", 'd');
        writeBytes(path_, changed);
        QVERIFY(inDialogOf(Form1->Wybierzetap1, [&] {
            chooseOnItem(1, QStringLiteral("Powiel"));
            QCOMPARE(readBytes(path_), changed);
            QCOMPARE(listItems(), QStringList({"Alfa", "Inny", "Gamma", "Delta"}));
            QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
            const QString message = session_.boxes->texts().front();
            QVERIFY2(message.startsWith(QStringLiteral("Plik %1 został w międzyczasie zmieniony "
                                                       "przez inny program: etap nr 2 ")
                                            .arg(path_)) &&
                         message.contains(QStringLiteral(
                             "\n\nLista etapów została odczytana z pliku ponownie.")),
                     qPrintable(message));
            // The file is gone.
            QVERIFY(QFile::remove(path_));
            chooseOnItem(0, QStringLiteral("Przesuń niżej"));
            QCOMPARE(session_.boxes->texts().last(), "Brak pliku: " + path_ + "...");
            QCOMPARE(listItems(), QStringList({"Alfa", "Inny", "Gamma", "Delta"}));
            QVERIFY(!QFile::exists(path_));
            QTest::mouseClick(Form3->BitBtn2, Qt::LeftButton);
        }));
        QCOMPARE(session_.boxes->shown.size(), std::size_t(2));
    }

private:
    EditorSession session_;
    QString path_;
};

QTEST_MAIN(TestStageMenu)
#include "test_stage_menu.moc"
