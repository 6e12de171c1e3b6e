// Each command of krelwin-stage once through its happy path, byte for byte, and each way out:
// exit 0, 1 with the editor's message, 2 for a command line that does not parse.
#include "cli_runner.h"

#include <filesystem>

namespace krelwin::cli_test {
namespace {

using HelpAndUsage = CliTest;
using ListCommand = CliTest;
using ShowCommand = CliTest;
using CopyCommand = CliTest;
using GenerateCommand = CliTest;
using CheckCommand = CliTest;
using StatsCommand = CliTest;
using RearrangeCommands = CliTest;

// A stage without a start position: it may be appended but not written over a stage.
std::string noStart() {
    return exampleRecord("B", 4, "++++++o+++++*+++++");
}

// The example stage asking for the 5 diamonds it holds, of which check does not warn.
std::string fiveToCollect(const std::string& name) {
    return exampleRecord(name, 2, "18,10,005" + ExampleRecordLines[2].substr(9));
}

void expectSuccess(const Outcome& outcome, const std::string& out = "") {
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, out);
}

void expectFailure(const Outcome& outcome, const std::string& err) {
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, err);
}

TEST_F(HelpAndUsage, HelpGoesToStandardOutput) {
    const Outcome program = run({"--help"});
    EXPECT_EQ(program.exitCode, 0);
    EXPECT_TRUE(program.out.starts_with("Usage: krelwin-stage COMMAND [ARGUMENTS]\n"));
    for (const char* synopsis :
         {"\n  list FILE ", "\n  show FILE INDEX ",
          "\n  copy SRC INDEX DEST DEST_INDEX [--name NAME]\n",
          "\n  generate [--seed N] [--size WxH] [--shares U1,...,U11] [--name NAME]\n",
          "\n  check FILE ", "\n  stats FILE INDEX ", "\n  delete FILE INDEX ",
          "\n  move FILE FROM TO ", "\n  duplicate FILE INDEX [--name NAME]\n",
          "\n  rename FILE INDEX NAME\n", "\n  fix-line-ends FILE\n"})
        EXPECT_NE(program.out.find(synopsis), std::string::npos) << synopsis;
    const Outcome command = run({"show", "plik.map", "--help"}); // even among other arguments
    EXPECT_EQ(command.exitCode, 0);
    EXPECT_EQ(command.err, "");
    EXPECT_TRUE(command.out.starts_with("Usage: krelwin-stage show ")) << command.out;
}

TEST_F(HelpAndUsage, UsageErrorsExitWithTwoAndWriteNothingToStandardOutput) {
    write("a.map", exampleRecord("A"));
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{}, "no command given"},
        {{"lista", "a.map"}, "unknown command 'lista'"},
        {{"list", "a.map", "b.map"}, "too many arguments"},
        {{"list", "--all", "a.map"}, "unknown option --all"},
        {{"show", "a.map", "jeden"}, "INDEX 'jeden' is not an integer"},
        {{"show", "a.map", "1\x01"}, "INDEX '1\\x01' is not an integer"}, // shown escaped
        {{"copy", "a.map", "0", "b.map", "-2"}, "DEST_INDEX must be -1 or more, not -2"},
        {{"copy", "a.map", "0", "b.map", "0", "--name"}, "option --name needs a value"},
        {{"generate", "--seed", "1", "--seed=2"}, "option --seed given twice"},
        {{"generate", "--size", "20*20"}, "--size '20*20' is not WIDTHxHEIGHT"},
        {{"generate", "--shares", "1,2,3,4,5,6,7,8,9,10,100"},
         "--shares: share 11 '100' is not a number from 0 to 99"},
    };
    for (const auto& [arguments, message] : cases) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << message;
        EXPECT_EQ(outcome.out, "") << message;
        EXPECT_TRUE(outcome.err.starts_with("krelwin-stage: " + message + "\n")) << outcome.err;
        EXPECT_NE(outcome.err.find("--help"), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(run({"show", "a.map"}).err, "krelwin-stage: too few arguments\n"
                                          "Usage: krelwin-stage show FILE INDEX\n"
                                          "Run 'krelwin-stage show --help' for more.\n");
}

TEST_F(ListCommand, PrintsTheNamesAsStored) {
    write("etapy.map", exampleRecord("Etap 01") + exampleRecord("") + exampleRecord("Etap (2)") +
                           exampleRecord(" Za\xb3\xf3g "));
    expectSuccess(run({"list", "etapy.map"}), "Etap 01\n\nEtap (2)\n Za\xb3\xf3g \n");
}

TEST_F(ListCommand, AndShowReportAMissingFileInTheEditorsWords) {
    expectFailure(run({"list", "brak.map"}), "Brak pliku: brak.map...\n");
    expectFailure(run({"show", "brak.map", "0"}), "Brak pliku: brak.map...\n");
}

TEST_F(ShowCommand, PrintsTheRecordTheEditorWouldWrite) {
    std::string crOnly = exampleRecord("Druga");
    std::erase(crOnly, '\n');
    write("etapy.map", exampleRecord("Etap 01") + crOnly);
    expectSuccess(run({"show", "etapy.map", "1"}), exampleRecord("Druga"));
    ASSERT_EQ(exampleRecord("Etap 01").size(), 305u);
    expectSuccess(run({"show", "etapy.map", "0"}), exampleRecord("Etap 01"));
}

TEST_F(CopyCommand, AppendsAndReplacesByteForByte) {
    write("zrodlo.map", exampleRecord("A") + noStart());
    // An append keeps the stage's own name; the start-and-exit rule does not stop it.
    write("cel.map", exampleRecord("X") + exampleRecord("Y") + exampleRecord("Z"));
    expectSuccess(run({"copy", "zrodlo.map", "1", "cel.map", "-1"}));
    expectSuccess(run({"copy", "zrodlo.map", "0", "cel.map", "1", "--name=Nowa nazwa"}));
    EXPECT_EQ(read("cel.map"),
              exampleRecord("X") + exampleRecord("Nowa nazwa") + exampleRecord("Z") + noStart());
    expectSuccess(run({"copy", "zrodlo.map", "0", "nowy.map", "-1", "--name", "Nowa"}));
    EXPECT_EQ(read("nowy.map"), exampleRecord("Nowa"));
}

TEST_F(CopyCommand, RefusedWritesLeaveTheDestinationAsItWas) {
    // Stage 2 has a "(" in row 5, which would make later records be located wrongly.
    write("zrodlo.map",
          exampleRecord("A") + noStart() + exampleRecord("C", 8, "+++(o++++++++.>..+"));
    const std::string openingCell = "Pole w wierszu 5, kolumnie 4 nie może zawierać znaku „(”: "
                                    "przesunąłby on położenie wszystkich dalszych etapów w "
                                    "pliku.\n";
    expectFailure(run({"show", "zrodlo.map", "2"}), openingCell);
    const std::string before = exampleRecord("X") + exampleRecord("Y");
    write("cel.map", before);
    const std::vector<std::pair<std::vector<std::string>, std::string>> refusals{
        {{"copy", "zrodlo.map", "1", "cel.map", "0"},
         "Plansza musi mieć jedną pozycje startową\noraz jedno wyjście...\n"},
        {{"copy", "zrodlo.map", "0", "cel.map", "2"}, ""},
        {{"copy", "zrodlo.map", "0", "cel.map", "-1", "--name", "a}b"}, ""},
        {{"copy", "zrodlo.map", "0", "cel.map", "0", "--name", "a\rb"}, ""},
        {{"copy", "brak.map", "0", "cel.map", "-1"}, "Brak pliku: brak.map...\n"},
        {{"copy", "zrodlo.map", "5", "cel.map", "-1"}, "'' is not a valid integer value.\n"},
        {{"copy", "zrodlo.map", "2", "cel.map", "-1"}, openingCell},
    };
    for (const auto& [arguments, message] : refusals) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments[1] << " " << arguments[4];
        EXPECT_EQ(outcome.out, "");
        EXPECT_FALSE(outcome.err.empty());
        if (!message.empty()) {
            EXPECT_EQ(outcome.err, message);
        }
        EXPECT_EQ(read("cel.map"), before);
        // A refused write leaves no temporary file either.
        EXPECT_EQ(folder.entries(), (std::vector<std::string>{"cel.map", "zrodlo.map"}));
    }
}

TEST_F(GenerateCommand, SeedZeroAndDefaultSharesGiveTheKnownFirstColumn) {
    const Outcome outcome = run({"generate", "--seed", "0"});
    EXPECT_EQ(outcome.exitCode, 0);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = outcome.out.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lines.push_back(outcome.out.substr(start, end - start));
    ASSERT_EQ(lines.size(), 4u + 20u);
    EXPECT_EQ(joinLines(lines), outcome.out);
    EXPECT_EQ(lines[2], "32,20" + ExampleRecordLines[2].substr(5));
    std::string firstColumn;
    for (std::size_t row = 4; row < 12; ++row)
        firstColumn += lines[row].at(0);
    EXPECT_EQ(firstColumn, "*++#++.o");
    for (std::size_t row = 4; row < lines.size(); ++row)
        EXPECT_EQ(lines[row].size(), 32u);
}

TEST_F(GenerateCommand, OptionsShapeTheRecordAndABadNameIsRefused) {
    std::vector<std::string> empty = ExampleRecordLines;
    empty[0] = "(Pusta)";
    std::fill(empty.begin() + 4, empty.end(), std::string(18, '.'));
    expectSuccess(run({"generate", "--seed", "7", "--size", "18x10", "--shares",
                       "0,0,0,0,0,0,0,0,0,0,0", "--name", "Pusta"}),
                  joinLines(empty));
    const Outcome first = run({"generate", "--seed", "4294967295", "--size", "40x30"});
    EXPECT_EQ(first.out, run({"generate", "--seed=4294967295", "--size=40x30"}).out);
    EXPECT_NE(first.out, run({"generate", "--seed", "4294967294", "--size", "40x30"}).out);
    EXPECT_EQ(run({"generate"}).exitCode, 0); // the clock seeds it
    const Outcome refused = run({"generate", "--seed", "0", "--name", "Etap }"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
}

// A backup that a write killed midway left beside the file, under the name the user's guide
// gives: every command that reads the file says where it is, and check lists it.
TEST_F(CheckCommand, ABackupOfAnInterruptedWriteIsToldOfAndListed) {
    write("p.map", fiveToCollect("A"));
    write(".p.map.krelwin-kopia-Ab12Cd", fiveToCollect("A"));
    const std::string backup =
        std::filesystem::canonical(folder.path()).string() + "/.p.map.krelwin-kopia-Ab12Cd";
    const Outcome list = run({"list", "p.map"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "A\n");
    EXPECT_EQ(list.err, "Zapis do pliku p.map został przerwany, więc plik może zawierać częściowo "
                        "zapisany etap. Jego zawartość sprzed tego zapisu jest w całości w kopii "
                        "zapasowej: " +
                            backup +
                            ". Kopii nie usuwa żaden program; usuń ją sam, gdy nie będzie już "
                            "potrzebna.\n");
    const Outcome check = run({"check", "p.map"});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_EQ(check.err, "");
    EXPECT_EQ(check.out, "plik: zapis do pliku został przerwany, więc plik może zawierać częściowo "
                         "zapisany etap; jego zawartość sprzed tego zapisu jest w całości w kopii "
                         "zapasowej: " +
                             backup + "\n");
    EXPECT_EQ(read(".p.map.krelwin-kopia-Ab12Cd"), fiveToCollect("A"));
}

TEST_F(CheckCommand, CleanFileIsSilentWarningsLeaveTheStatusAndProblemsAreListed) {
    write("czysty.map", fiveToCollect("A") + fiveToCollect("B") + "\x1a");
    expectSuccess(run({"check", "czysty.map"}));
    // The example stage holds 5 diamonds and asks for 10: a warning, and exit status 0.
    write("ostrzezenie.map", fiveToCollect("A") + exampleRecord("B"));
    expectSuccess(run({"check", "ostrzezenie.map"}),
                  "1: ostrzeżenie: mniej diamentów na planszy (5) niż do zebrania (10)\n");
    write("etapy.map", fiveToCollect("A") + exampleRecord("B", 4, std::string(18, '+')) + "\x1a" +
                           exampleRecord("C"));
    const Outcome outcome = run({"check", "etapy.map"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out,
              "1: wymagana dokładnie jedna pozycja startowa i jedno wyjście, a jest S: 0, W: 1\n"
              "1: ostrzeżenie: mniej diamentów na planszy (4) niż do zebrania (10)\n"
              "plik: dane po bajcie 26 (Ctrl-Z) są pomijane przy czytaniu i giną przy zapisie\n");
    expectFailure(run({"check", "brak.map"}), "Brak pliku: brak.map...\n");
}

TEST_F(StatsCommand, ListsEachCodeInToolbarOrderThenTheDiamonds) {
    // Row 3 with every creature, a blank, a control byte, an "x" and a code-page letter.
    write("etapy.map", exampleRecord("A") + exampleRecord("B", 6, "<v^|-\\x \x01\xb3++++...+"));
    expectSuccess(run({"stats", "etapy.map", "1"}), "S\t1\tPozycja startowa\n"
                                                    "*\t4\tDiament\n"
                                                    "+\t115\tZiemia\n"
                                                    "o\t6\tKamień\n"
                                                    "#\t3\tNit\n"
                                                    "<\t1\tMotyl\n"
                                                    ">\t1\tMotyl\n"
                                                    "^\t1\tMotyl\n"
                                                    "v\t1\tMotyl\n"
                                                    "/\t1\tPotwór\n"
                                                    "-\t1\tPotwór\n"
                                                    "|\t1\tPotwór\n"
                                                    "\\\t1\tPotwór\n"
                                                    "=\t14\tMur\n"
                                                    "\"\t3\tDiamentowy mur\n"
                                                    "%\t1\tMur rozszerzalny\n"
                                                    "&\t2\tLawa rosnąca\n"
                                                    "~\t3\tLawa przepuszczająca\n"
                                                    "W\t1\tWyjście\n"
                                                    ".\t15\tPuste pole\n"
                                                    "\\x01\t1\tNieznane pole\n"
                                                    "\\x20\t1\tNieznane pole\n"
                                                    "x\t1\tNieznane pole\n"
                                                    "\\xB3\t1\tNieznane pole\n"
                                                    "Diamenty: 4/10\n");
    expectFailure(run({"stats", "etapy.map", "2"}), "'' is not a valid integer value.\n");
    expectFailure(run({"stats", "brak.map", "0"}), "Brak pliku: brak.map...\n");
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"stats", "etapy.map"}, {"stats", "etapy.map", "-1"}, {"stats", "etapy.map", "x"}}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments.size();
        EXPECT_EQ(outcome.out, "");
    }
}

TEST_F(RearrangeCommands, EachWritesTheFileAndPrintsNothing) {
    const std::string a = exampleRecord("A");
    const std::string b = exampleRecord("B");
    const std::string c = exampleRecord("C");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"delete", "p.map", "1"}, a + c},
        {{"move", "p.map", "0", "2"}, b + c + a},
        {{"move", "p.map", "2", "0"}, c + a + b},
        {{"duplicate", "p.map", "2"}, a + b + c + c},
        {{"duplicate", "p.map", "0", "--name", "Kopia"}, a + exampleRecord("Kopia") + b + c},
        {{"rename", "p.map", "1", "Nowa (2)"}, a + exampleRecord("Nowa (2)") + c},
    };
    for (const auto& [arguments, after] : cases) {
        write("p.map", a + b + c);
        expectSuccess(run(arguments));
        EXPECT_EQ(read("p.map"), after) << arguments[0];
    }
}

TEST_F(RearrangeCommands, RefusalsLeaveTheFileAsItWas) {
    const std::string before = exampleRecord("A") + exampleRecord("B");
    write("p.map", before);
    const std::string noStage = "Plik p.map nie zawiera etapu o numerze 2 (liczba etapów w pliku: "
                                "2). Plik nie został zmieniony.\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> refusals{
        {{"delete", "p.map", "2"}, noStage},
        {{"move", "p.map", "2", "0"}, noStage},
        {{"move", "p.map", "0", "2"}, noStage},
        {{"duplicate", "p.map", "2"}, noStage},
        {{"rename", "p.map", "2", "x"}, noStage},
        {{"duplicate", "p.map", "0", "--name", "a}b"},
         "Nazwa etapu nie może zawierać znaku „}”: przesunąłby on położenie wszystkich "
         "dalszych etapów w pliku.\n"},
        {{"rename", "p.map", "0", "a\rb"}, "Nazwa etapu nie może zawierać znaku końca wiersza.\n"},
        {{"delete", "brak.map", "0"}, "Brak pliku: brak.map...\n"},
        {{"fix-line-ends", "p.map"},
         "Plik p.map zawiera już znaki CR (13), więc jego wiersze nie "
         "kończą się samym znakiem LF. Plik nie został zmieniony.\n"},
    };
    for (const auto& [arguments, message] : refusals) {
        expectFailure(run(arguments), message);
        EXPECT_EQ(read("p.map"), before) << arguments[0];
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"p.map"});
    }
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"delete", "p.map", "-1"},
                                               {"move", "p.map", "0", "x"},
                                               {"move", "p.map", "0"},
                                               {"rename", "p.map", "0"},
                                               {"duplicate", "p.map", "0", "--nazwa", "x"}}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments[0];
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(read("p.map"), before);
    }
}

TEST_F(RearrangeCommands, CheckReportsLineFeedLineEndsAndFixLineEndsMendsThem) {
    const std::string crLf = fiveToCollect("A") + fiveToCollect("B");
    std::string lineFeeds = crLf;
    std::erase(lineFeeds, '\r');
    write("lf.map", lineFeeds);
    const Outcome check = run({"check", "lf.map"});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_EQ(check.out, "plik: wiersze kończą się samym znakiem LF (bez CR), więc edytor i gra "
                         "widzą cały plik jako jeden wiersz i nie znajdują w nim żadnego etapu; "
                         "naprawa: krelwin-stage fix-line-ends PLIK\n");
    expectSuccess(run({"list", "lf.map"}));
    expectSuccess(run({"fix-line-ends", "lf.map"}));
    EXPECT_EQ(read("lf.map"), crLf);
    expectSuccess(run({"check", "lf.map"}));
    expectSuccess(run({"list", "lf.map"}), "A\nB\n");
    write("bez.map", "brak wierszy");
    expectSuccess(run({"fix-line-ends", "bez.map"}));
    EXPECT_EQ(read("bez.map"), "brak wierszy");
    write("cr.map", "(a)\n}\r\nx\n"); // a CR after the first LF
    expectFailure(run({"fix-line-ends", "cr.map"}),
                  "Plik cr.map zawiera już znaki CR (13), więc jego wiersze nie kończą się samym "
                  "znakiem LF. Plik nie został zmieniony.\n");
    EXPECT_EQ(read("cr.map"), "(a)\n}\r\nx\n");
    write("koniec.map", "(a)\n}\nx");
    expectSuccess(run({"fix-line-ends", "koniec.map"}));
    EXPECT_EQ(read("koniec.map"), "(a)\r\n}\r\nx");
}

} // namespace
} // namespace krelwin::cli_test
