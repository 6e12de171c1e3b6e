// The file workflow driven as the forms drive it, with the user's answers scripted: no load
// drops unsaved work without a question, and a step of the history that crosses a load brings
// its stage back where it came from, so that "Zapisz" afterwards writes it there and never over
// another stage. Files are compared byte for byte with records written out here.
#include "EditorState.h"
#include "FileWorkflow.h"
#include "PackBytes.h"
#include "ScriptedDialogue.h"
#include "editing.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace fixture;

namespace {

enum class Load { Otworz, WybierzEtap, WybierzEtapNr, Nowy, NowyEtap };

const QString DropQuestion = QStringLiteral("Etap „Alfa” ma niezapisane zmiany. Porzucić je?");
const QString ExitQuestion =
    QStringLiteral("Etap „Alfa” ma niezapisane zmiany. Zakończyć bez zapisywania?");

const std::string Pack = stageFile({"Alfa", "Beta", "Gamma"});
const std::string Other = record("Inny", 'd', 20, 12);

// Stage 0 of the pack with the diamond the tests paint at column 5, row 5.
std::string alfaPainted() {
    std::string bytes = record("Alfa", 'a');
    const std::size_t row5 = bytes.find("{\r\n") + 3 + 4 * (18 + 2);
    bytes[row5 + 4] = '*';
    return bytes;
}

// "Nowy etap" on the 18 x 10 stage, confirmed with 22 x 11: the cells within the old size are
// empty, the others rivets.
std::string deltaRecord() {
    std::vector<std::string> rows(10, std::string(18, '.') + "####");
    rows.push_back(std::string(22, '#'));
    return recordOfRows("Delta", 22, rows);
}

std::string nowaRecord() {
    return recordOfRows("Nowa", 20, std::vector<std::string>(12, std::string(20, '.')));
}

EnteredParameters entered(int szer, int wys, const char* name) {
    EnteredParameters parameters{krelwin::ParametryEtapu{}, QString::fromUtf8(name)};
    parameters.parametry.Szer = szer;
    parameters.parametry.Wys = wys;
    return parameters;
}

// The user's pack "alfa.map" (Alfa, Beta, Gamma) opened, in a working folder of its own, with
// a second file "inny.map" beside it.
struct Session {
    QTemporaryDir dir;
    QString previousFolder = QDir::currentPath();
    EditorState stan;
    ScriptedDialogue user;
    FileWorkflow workflow{stan, user};
    StageListModel& list = workflow.list();
    QString pack = dir.filePath(QStringLiteral("alfa.map"));
    QString other = dir.filePath(QStringLiteral("inny.map"));

    Session() {
        QDir::setCurrent(dir.path());
        writeBytes(pack, Pack);
        writeBytes(other, Other);
        workflow.start(entered(32, 20, "Etap 01"));
        workflow.otworz(pack);
    }
    ~Session() { QDir::setCurrent(previousFolder); }

    void paint(int column, int row, char code) {
        workflow.history().recordCellEdit([&] {
            const krelwin::Pole pole{column, row};
            return krelwin::paintCell(stan.etap, pole, code) ? krelwin::ZapisanePola{pole}
                                                             : krelwin::ZapisanePola{};
        });
    }

    // As the dialog does it: shown, item `index` clicked, confirmed.
    void chooseInList(int index) {
        list.rememberWhenShown();
        list.select(index);
        list.setNameField(list.name(index));
    }

    void load(Load kind) {
        switch (kind) {
        case Load::Otworz:
            workflow.otworz(other);
            break;
        case Load::WybierzEtap:
            chooseInList(1);
            workflow.wybierzEtap();
            break;
        case Load::WybierzEtapNr: // a double click in the overview of the pack
            workflow.wybierzEtapNr(1, QStringLiteral("Beta"));
            break;
        case Load::Nowy:
            workflow.nowy(entered(20, 12, "Nowa"), QStringLiteral("Nowy"));
            break;
        case Load::NowyEtap:
            workflow.nowyEtap(entered(22, 11, "Delta"));
            break;
        }
    }

    void zapisz() { workflow.zapisz(stan.BiezacyPlik()); }

    // Stage 0 painted, then `kind` loading another stage, agreed to.
    void paintThenLoad(Load kind) {
        paint(5, 5, '*');
        user.answers = {true};
        load(kind);
    }
};

} // namespace

Q_DECLARE_METATYPE(Load)

class TestFileWorkflow : public QObject {
    Q_OBJECT

private slots:
    void init() { session_ = std::make_unique<Session>(); }
    void cleanup() { session_.reset(); }

    // Undone, the load gives the painted stage 0 back in its own file and place: "Zapisz" writes
    // it there, whatever was loaded meanwhile.
    void zapiszAfterUndoingALoadWritesTheStageWhereItCameFrom_data() { loadsTable(); }
    void zapiszAfterUndoingALoadWritesTheStageWhereItCameFrom() {
        QFETCH(Load, load);
        Session& s = *session_;
        s.paintThenLoad(load);
        s.workflow.history().undo();
        QCOMPARE(s.stan.BiezacyPlik(), s.pack);
        QCOMPARE(s.stan.BiezacyEtap(), QStringLiteral("Alfa"));
        QCOMPARE(s.list.selected(), 0);
        s.zapisz();
        QCOMPARE(s.user.messages, QStringList());
        const std::string appended = load == Load::NowyEtap ? deltaRecord() : std::string();
        QCOMPARE(readBytes(s.pack),
                 alfaPainted() + record("Beta", 'b') + record("Gamma", 'c') + appended);
        QCOMPARE(readBytes(s.other), Other);
        QVERIFY(!QFile::exists(s.dir.filePath(QStringLiteral("Nowy.map"))));
    }

    // Redone, the loaded stage comes back in the context it was undone in, and goes where it
    // belongs.
    void zapiszAfterRedoingALoadWritesTheLoadedStage_data() { loadsTable(); }
    void zapiszAfterRedoingALoadWritesTheLoadedStage() {
        QFETCH(Load, load);
        Session& s = *session_;
        s.paintThenLoad(load);
        s.workflow.history().undo();
        s.workflow.history().redo();
        s.zapisz();
        const QString nowy = s.dir.filePath(QStringLiteral("Nowy.map"));
        switch (load) {
        case Load::Otworz:
        case Load::WybierzEtap:
        case Load::WybierzEtapNr:
            QCOMPARE(s.user.messages, QStringList());
            break;
        case Load::Nowy: // nothing listed: the stage is appended to the new file
            QCOMPARE(readBytes(nowy), nowaRecord());
            break;
        case Load::NowyEtap: // written over its own record, which needs a start and an exit
            QCOMPARE(s.user.messages, QStringList({"Plansza musi mieć jedną pozycje startową\r"
                                                   "oraz jedno wyjście..."}));
            break;
        }
        const std::string appended = load == Load::NowyEtap ? deltaRecord() : std::string();
        QCOMPARE(readBytes(s.pack), Pack + appended);
        QCOMPARE(readBytes(s.other), Other);
        QCOMPARE(QFile::exists(nowy), load == Load::Nowy);
    }

    // "Nie" ends the load with nothing changed, and the work is still unsaved at the exit.
    // "Tak" loads; the dropped stage is one "Cofnij" away, unsaved again.
    void aLoadAsksBeforeDroppingUnsavedChanges_data() {
        QTest::addColumn<Load>("load");
        QTest::addColumn<bool>("drop");
        for (const auto& [load, name] : {std::pair{Load::Otworz, "Otwórz"},
                                         {Load::WybierzEtap, "Wybierz etap"},
                                         {Load::WybierzEtapNr, "a stage of the overview"},
                                         {Load::Nowy, "Nowy"},
                                         {Load::NowyEtap, "Nowy etap"}}) {
            QTest::addRow("%s, Tak", name) << load << true;
            QTest::addRow("%s, Nie", name) << load << false;
        }
    }
    void aLoadAsksBeforeDroppingUnsavedChanges() {
        QFETCH(Load, load);
        QFETCH(bool, drop);
        Session& s = *session_;
        s.paint(5, 5, '*');
        const krelwin::Etap painted = s.stan.etap;
        const EditingContext before = s.workflow.currentContext();
        s.user.answers = {drop};
        s.load(load);
        QCOMPARE(s.user.questions, QStringList({DropQuestion}));
        if (!drop) {
            QVERIFY(s.stan.etap == painted);
            QVERIFY(s.workflow.currentContext() == before);
            QCOMPARE(s.list.count(), 3);
            QCOMPARE(readBytes(s.pack), Pack);
            QVERIFY(!s.workflow.mayClose());
            QCOMPARE(s.user.questions.last(), ExitQuestion);
            return;
        }
        QVERIFY(!(s.stan.etap == painted));
        QVERIFY(s.workflow.mayClose());
        QCOMPARE(s.user.questions.size(), 1);
        s.workflow.history().undo();
        QVERIFY(s.stan.etap == painted);
        QVERIFY(!s.workflow.mayClose());
        QCOMPARE(s.user.questions.last(), ExitQuestion);
    }

    // Without unsaved changes nothing is asked; a file that cannot be read is told, not asked
    // about, and changes nothing.
    void noQuestionWithoutUnsavedWorkNorBeforeAFailedRead() {
        Session& s = *session_;
        s.load(Load::WybierzEtap);
        QCOMPARE(s.stan.BiezacyEtap(), QStringLiteral("Beta"));
        s.paint(5, 5, '*');
        const EditingContext before = s.workflow.currentContext();
        s.workflow.otworz(s.dir.filePath(QStringLiteral("brak.map")));
        QCOMPARE(s.user.questions, QStringList());
        QCOMPARE(s.user.messages.size(), 1);
        QVERIFY(s.user.messages.front().startsWith(QStringLiteral("Brak pliku: ")));
        QVERIFY(s.workflow.currentContext() == before);
    }

    // The stage brought back expects its record to carry the name it was listed under: changed
    // meanwhile by another program, the write is refused and nothing is written.
    void theRestoredStageIsWrittenThroughTheNameGuard() {
        Session& s = *session_;
        s.paintThenLoad(Load::WybierzEtap);
        const std::string changed = stageFile({"Obcy", "Beta", "Gamma"});
        writeBytes(s.pack, changed);
        s.workflow.history().undo();
        QCOMPARE(s.list.selected(), 0);
        s.zapisz();
        QCOMPARE(s.user.messages.size(), 1);
        QVERIFY2(s.user.messages.front().contains(QStringLiteral("zmieniony przez inny program")),
                 qPrintable(s.user.messages.front()));
        QCOMPARE(readBytes(s.pack), changed);
        QCOMPARE(s.list.selected(), -1);
    }

    // A file gone since: the stage comes back alone, and the status line says why.
    void aRestoredContextWhoseFileIsGoneComesBackWithAnEmptyList() {
        Session& s = *session_;
        s.paintThenLoad(Load::Otworz);
        QVERIFY(QFile::remove(s.pack));
        s.workflow.history().undo();
        QCOMPARE(s.stan.etap.plansza.at(5, 5), '*');
        QCOMPARE(s.list.count(), 0);
        QCOMPARE(s.list.selected(), -1);
        QCOMPARE(s.user.notes.size(), 1);
        QVERIFY2(s.user.notes.front().contains(QStringLiteral("Brak pliku: ") + s.pack),
                 qPrintable(s.user.notes.front()));
        s.zapisz(); // nothing listed: appended, into the file made anew
        QCOMPARE(readBytes(s.pack), alfaPainted());
    }

    // Another program's change noticed while a command waits (here on its question) is read
    // once the command has ended, not in its middle.
    void anOutsideChangeIsReadAfterTheCommand() {
        Session& s = *session_;
        const std::string extended = Pack + record("Obcy", 'd');
        QStringList listWhileAsking;
        s.user.whileAsking = [&] {
            writeBytes(s.pack, extended);
            s.workflow.plikZmienionyZZewnatrz();
            for (int i = 0; i < s.list.count(); ++i)
                listWhileAsking << s.list.name(i);
        };
        s.user.answers = {false};
        s.chooseInList(2);
        s.list.setNameField(QStringLiteral("beta")); // "Zapisz jako" a name stage 1 has
        s.workflow.zapiszJako();
        QCOMPARE(listWhileAsking, QStringList({"Alfa", "Beta", "Gamma"}));
        QTRY_COMPARE(s.list.count(), 4);
        QCOMPARE(s.list.name(3), QStringLiteral("Obcy"));
        QCOMPARE(s.list.selected(), 0); // "Nie" cancelled the dialog, the item shown on stands
    }

    // The re-read rule keeps the selection only where the same name stands at the same place,
    // and says when it did not, also for the first item.
    void aRereadTellsWhenTheSelectedStageIsGone_data() {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("said");
        QTest::newRow("first item lost") << 0
                                         << QStringLiteral("Na pozycji nr 1 nie ma już "
                                                           "etapu „Alfa”");
        QTest::newRow("kept") << 1 << QString();
        QTest::newRow("none selected") << -1 << QString();
    }
    void aRereadTellsWhenTheSelectedStageIsGone() {
        QFETCH(int, selected);
        QFETCH(QString, said);
        Session& s = *session_;
        s.list.select(selected);
        writeBytes(s.pack, stageFile({"Obcy", "Beta", "Gamma"}));
        s.workflow.plikZmienionyZZewnatrz();
        QCOMPARE(s.list.name(0), QStringLiteral("Obcy"));
        QCOMPARE(s.list.selected(), said.isEmpty() ? selected : -1);
        if (said.isEmpty()) {
            QCOMPARE(s.user.messages, QStringList());
            return;
        }
        QCOMPARE(s.user.messages.size(), 1);
        QVERIFY2(s.user.messages.front().startsWith(
                     QStringLiteral("Plik %1 został zmieniony przez inny program. ").arg(s.pack)) &&
                     s.user.messages.front().contains(said),
                 qPrintable(s.user.messages.front()));
    }

private:
    static void loadsTable() {
        QTest::addColumn<Load>("load");
        QTest::newRow("Otwórz") << Load::Otworz;
        QTest::newRow("Wybierz etap") << Load::WybierzEtap;
        QTest::newRow("a stage of the overview") << Load::WybierzEtapNr;
        QTest::newRow("Nowy") << Load::Nowy;
        QTest::newRow("Nowy etap") << Load::NowyEtap;
    }

    std::unique_ptr<Session> session_;
};

QTEST_GUILESS_MAIN(TestFileWorkflow)
#include "test_file_workflow.moc"
