// The commands of the overview of a pack, which reach every stage of the file, past the
// hundredth too, by its position and the name shown there. A stage chosen there is loaded only
// where the file still holds that name, and the stage list's selection, where "Zapisz" writes,
// stays on its own stage or goes, with a word to the user: never onto another stage. Files are
// compared byte for byte with records written out here.
#include "EditorState.h"
#include "FileWorkflow.h"
#include "PackBytes.h"
#include "ScriptedDialogue.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace fixture;

namespace {

constexpr int StageCount = 103; // the stage list names the first 100

QString nameOf(int index) {
    return QStringLiteral("Etap %1").arg(index + 1);
}

std::string recordAt(int index) {
    static constexpr char Fills[] = {'+', 'o', '.', '*'};
    return record(nameOf(index).toStdString(), Fills[index % 4]);
}

// The records of the pack in the order given by their first positions.
std::string packOf(const QList<int>& order) {
    std::string bytes;
    for (const int index : order)
        bytes += recordAt(index);
    return bytes;
}

QList<int> inFileOrder() {
    QList<int> order;
    for (int index = 0; index < StageCount; ++index)
        order << index;
    return order;
}

const QString PastTheList =
    QStringLiteral(": żaden etap nie jest zaznaczony, a „Zapisz” dopisze etap na końcu pliku.");

struct Session {
    QTemporaryDir dir;
    EditorState stan;
    ScriptedDialogue user;
    FileWorkflow workflow{stan, user};
    StageListModel& list = workflow.list();
    QString pack = dir.filePath(QStringLiteral("zestaw.map"));

    Session() {
        writeBytes(pack, packOf(inFileOrder()));
        workflow.start({krelwin::ParametryEtapu{}, QStringLiteral("Etap 01")});
        workflow.otworz(pack);
    }
};

enum class Command { MoveToFront, MoveSelectedPastTheList, Duplicate, Delete, DeleteDeclined };

} // namespace

Q_DECLARE_METATYPE(Command)

class TestOverviewCommands : public QObject {
    Q_OBJECT

private slots:
    // Past the list nothing is selected, so that "Zapisz" appends the stage rather than writing
    // it over whatever the selection held; the user is told so.
    void aStagePastTheListIsLoadedWithNothingSelectedAndZapiszAppendsIt() {
        Session s;
        QVERIFY(s.workflow.wybierzEtapNr(101, nameOf(101)));
        QCOMPARE(s.user.questions, QStringList());
        QCOMPARE(s.stan.BiezacyEtap(), nameOf(101));
        QCOMPARE(s.list.nameField(), nameOf(101));
        QCOMPARE(s.list.selected(), -1);
        QCOMPARE(s.user.notes,
                 QStringList({QStringLiteral("Wczytano etap nr 102 „Etap 102”. Lista etapów "
                                             "sięga tylko do etapu nr 100, więc żaden etap nie "
                                             "jest zaznaczony: „Zapisz” dopisze ten etap na "
                                             "końcu pliku.")}));
        s.workflow.zapisz(s.pack);
        QCOMPARE(readBytes(s.pack), packOf(inFileOrder()) + recordAt(101));
    }

    // Another program has put another stage there since the overview read the file.
    void aStageIsLoadedOnlyWhereTheFileStillHoldsTheNameShown() {
        Session s;
        QList<int> order = inFileOrder();
        order.swapItemsAt(1, 2);
        writeBytes(s.pack, packOf(order));
        const krelwin::Etap shown = s.stan.etap;
        QVERIFY(!s.workflow.wybierzEtapNr(1, nameOf(1)));
        QCOMPARE(s.user.messages,
                 QStringList({QStringLiteral("Plik %1 został w międzyczasie zmieniony przez inny "
                                             "program: etap nr 2 nie jest już etapem „Etap 2”. "
                                             "Nic nie zostało wczytane.")
                                  .arg(s.pack)}));
        QVERIFY(s.stan.etap == shown);
        QCOMPARE(s.stan.BiezacyEtap(), nameOf(0));
        QCOMPARE(s.list.selected(), 0);
    }

    void theSelectionStaysOnItsStage_data() {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QList<int>>("order");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("note");
        QList<int> moved = inFileOrder();
        moved.move(102, 0);
        QTest::newRow("the last stage moved to the front")
            << Command::MoveToFront << moved << 1 << QString();
        moved = inFileOrder();
        moved.move(0, 102);
        QTest::newRow("the selected stage moved past the list")
            << Command::MoveSelectedPastTheList << moved << -1
            << QStringLiteral("Zaznaczony etap „Etap 1” stoi teraz na pozycji nr 103, dokąd lista "
                              "etapów nie sięga") +
                   PastTheList;
        QList<int> duplicated = inFileOrder();
        duplicated.insert(102, 101);
        QTest::newRow("a stage past the list duplicated")
            << Command::Duplicate << duplicated << 0 << QString();
        QTest::newRow("the selected stage deleted")
            << Command::Delete << inFileOrder().mid(1) << -1
            << QStringLiteral("Usunięty etap „Etap 1” był zaznaczony na liście etapów") +
                   PastTheList;
        QTest::newRow("the delete declined")
            << Command::DeleteDeclined << inFileOrder() << 0 << QString();
    }
    void theSelectionStaysOnItsStage() {
        QFETCH(Command, command);
        QFETCH(QList<int>, order);
        QFETCH(int, selected);
        QFETCH(QString, note);
        Session s;
        PackCommands& pack = s.workflow.pack();
        s.user.answers = {command != Command::DeleteDeclined};
        switch (command) {
        case Command::MoveToFront:
            QVERIFY(pack.przesunEtap({102, nameOf(102)}, 0));
            break;
        case Command::MoveSelectedPastTheList:
            QVERIFY(pack.przesunEtap({0, nameOf(0)}, 102));
            break;
        case Command::Duplicate:
            QVERIFY(pack.powielEtap({101, nameOf(101)}));
            break;
        case Command::Delete:
        case Command::DeleteDeclined:
            QVERIFY(pack.usunEtap({0, nameOf(0)}));
            QCOMPARE(s.user.questions, QStringList({QStringLiteral(
                                           "Usunąć etap nr 1 „Etap 1” z pliku? Tej operacji nie "
                                           "można cofnąć.")}));
            break;
        }
        QCOMPARE(readBytes(s.pack), packOf(order));
        QCOMPARE(s.list.selected(), selected);
        if (selected >= 0)
            QCOMPARE(s.list.name(selected), nameOf(0));
        QCOMPARE(s.user.notes, note.isEmpty() ? QStringList() : QStringList({note}));
        QCOMPARE(s.user.messages, QStringList());
    }

    // The name guard takes the name the overview shows, also past the list.
    void aCommandOnAStageTheFileNoLongerHoldsThereWritesNothing() {
        Session s;
        QList<int> order = inFileOrder();
        order.swapItemsAt(101, 102);
        const std::string changed = packOf(order);
        writeBytes(s.pack, changed);
        QVERIFY(!s.workflow.pack().przesunEtap({102, nameOf(102)}, 0));
        QCOMPARE(readBytes(s.pack), changed);
        QCOMPARE(s.user.messages.size(), 1);
        QVERIFY2(s.user.messages.front().startsWith(
                     QStringLiteral("Plik %1 został w międzyczasie zmieniony przez inny program: "
                                    "etap nr 103 nie jest już etapem „Etap 103”, który pokazuje "
                                    "przegląd. Plik nie został zmieniony.\n\n")
                         .arg(s.pack)),
                 qPrintable(s.user.messages.front()));
    }
};

QTEST_GUILESS_MAIN(TestOverviewCommands)
#include "test_overview_commands.moc"
