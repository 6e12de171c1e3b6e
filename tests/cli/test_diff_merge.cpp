// krelwin-stage diff and merge: the designer's report of a change, exit statuses as diff and
// git expect them, the argument forms of git's drivers, and a merge through git itself.
#include "cli_runner.h"

#include <cstdlib>
#include <map>

namespace krelwin::cli_test {
namespace {

using DiffCommand = CliTest;
using MergeCommand = CliTest;
using GitDrivers = CliTest;

// The example record named `name`, with lines (0: the name line, 2: parameters, 4: row 1)
// replaced.
std::string record(const std::string& name, const std::map<std::size_t, std::string>& lines = {}) {
    std::vector<std::string> text = ExampleRecordLines;
    text[0] = "(" + name + ")";
    for (const auto& [index, line] : lines)
        text[index] = line;
    return joinLines(text);
}

const std::string MoreDiamonds =
    "18,10,012,010,010,010,010,100,Z,00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55,";

std::string oldPack() {
    return record("Jaskinia") + record("Las", {{5, "++++++o+++++++.++o"}}) +
           record("Grota", {{6, "+*+++++++o++++..*+"}}) +
           record("Stara", {{7, "======\"\"\"=====%==="}, {8, "++++o++++++++.>.++"}});
}

std::string newPack() {
    return record("Lasek", {{5, "++++++o+++++++.++o"}}) +
           record("Grota", {{2, MoreDiamonds}, {6, "+*+++++++o++++..o+"}}) + record("Jaskinia") +
           record("Nowa", {{8, "++++o++++++++.>.**"}});
}

const std::string Report = "Etap nr 1 „Las” (teraz nr 0) przemianowany na „Lasek”\n"
                           "Etap nr 2 „Grota” (teraz nr 1) zmieniony:\n"
                           "  Zmienione parametry: IleD 10 → 12\n"
                           "  Wiersz 3:\n"
                           "    było: +*+++++++o++++..*+\n"
                           "    jest: +*+++++++o++++..o+\n"
                           "                          ^\n"
                           "Etap nr 3 „Stara” usunięty\n"
                           "Etap nr 0 „Jaskinia” przeniesiony na pozycję nr 2\n"
                           "Etap nr 3 „Nowa” dodany\n";

TEST_F(DiffCommand, TellsStageByStageWhatChanged) {
    write("stary.map", oldPack());
    write("nowy.map", newPack());
    const Outcome outcome = run({"diff", "stary.map", "nowy.map"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, Report);
}

TEST_F(DiffCommand, ExitsAsDiffDoes) {
    std::string crOnly = oldPack();
    std::erase(crOnly, '\n');
    write("stary.map", oldPack());
    write("cr.map", crOnly);
    const std::vector<std::pair<std::vector<std::string>, int>> cases{
        {{"diff", "stary.map", "cr.map"}, 0}, // line ends the game reads alike
        {{"diff", "stary.map", "brak.map"}, 2},
        {{"diff", "stary.map"}, 2},
        {{"diff", "stary.map", "cr.map", "trzeci"}, 2},
    };
    for (const auto& [arguments, status] : cases) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, status) << arguments.back();
        EXPECT_EQ(outcome.out, "") << arguments.back();
    }
    EXPECT_EQ(run({"diff", "stary.map", "brak.map"}).err, "Brak pliku: brak.map...\n");
}

TEST_F(DiffCommand, TakesTheArgumentsOfGitsExternalDiff) {
    write("stary.map", oldPack());
    write("nowy.map", newPack());
    const std::string hex(40, 'a');
    const Outcome changed =
        run({"diff", "pakiet.map", "stary.map", hex, "100644", "nowy.map", hex, "100644"});
    EXPECT_EQ(changed.exitCode, 0);
    EXPECT_EQ(changed.out, "krelwin-stage diff a/pakiet.map b/pakiet.map\n" + Report);
    const Outcome added =
        run({"diff", "nowy.map", "/dev/null", ".", ".", "nowy.map", hex, "100644"});
    EXPECT_EQ(added.exitCode, 0);
    EXPECT_EQ(added.out, "krelwin-stage diff a/nowy.map b/nowy.map\n"
                         "Etap nr 0 „Lasek” dodany\nEtap nr 1 „Grota” dodany\n"
                         "Etap nr 2 „Jaskinia” dodany\nEtap nr 3 „Nowa” dodany\n");
    const Outcome renamed = run({"diff", "a.map", "stary.map", hex, "100644", "stary.map", hex,
                                 "100644", "b.map", "similarity index 100%"});
    EXPECT_EQ(renamed.exitCode, 0);
    EXPECT_EQ(renamed.out, "krelwin-stage diff a/a.map b/b.map\nEtapy bez zmian.\n");
    EXPECT_EQ(
        run({"diff", "p.map", "brak.map", hex, "100644", "stary.map", hex, "100644"}).exitCode, 2);
    // The lines that set the drivers up, in the program's help.
    const std::string help = run({"--help"}).out;
    for (const char* line :
         {"'*.map diff=krelwin merge=krelwin'",
          "git config diff.krelwin.command \"krelwin-stage diff\"\n",
          "git config merge.krelwin.driver \"krelwin-stage merge %O %A %B %P\"\n"})
        EXPECT_NE(help.find(line), std::string::npos) << line;
}

TEST_F(MergeCommand, WritesOursAndListsConflicts) {
    const std::string base = oldPack();
    write("baza.map", base);
    // Ours renames the first stage and changes "Grota"; theirs changes "Las" and "Grota".
    const std::string grotaOurs = record("Grota", {{6, "+*+++++++o++++..=+"}});
    const std::string grotaTheirs = record("Grota", {{6, "+*+++++++o++++..#+"}});
    const std::string lasTheirs = record("Las", {{5, "++++++o+++++++.+**"}});
    write("nasza.map",
          record("Jama") + record("Las", {{5, "++++++o+++++++.++o"}}) + grotaOurs +
              record("Stara", {{7, "======\"\"\"=====%==="}, {8, "++++o++++++++.>.++"}}));
    const std::string stara =
        record("Stara", {{7, "======\"\"\"=====%==="}, {8, "++++o++++++++.>.++"}});
    write("ich.map", record("Jaskinia") + lasTheirs + grotaTheirs + stara);
    const Outcome conflict = run({"merge", "baza.map", "nasza.map", "ich.map", "pakiet.map"});
    EXPECT_EQ(conflict.exitCode, 1);
    EXPECT_EQ(conflict.out, "");
    EXPECT_EQ(conflict.err,
              "Konflikt: etap nr 2 „Grota” zmieniony w obu wersjach, w każdej inaczej: zostaje "
              "nasza wersja, a ich stoi zaraz po niej jako etap nr 3 „Grota (konflikt)”.\n"
              "Konflikty: 1. Obie wersje są w pliku pakiet.map; zostaw właściwą (krelwin-stage "
              "delete, rename) przed zatwierdzeniem.\n");
    EXPECT_EQ(read("nasza.map"), record("Jama") + lasTheirs + grotaOurs +
                                     record("Grota (konflikt)", {{6, "+*+++++++o++++..#+"}}) +
                                     stara);
    // Merged again with its own result as ours and theirs: nothing left to merge.
    const std::string merged = read("nasza.map");
    write("ich.map", merged);
    EXPECT_EQ(run({"merge", "baza.map", "nasza.map", "ich.map"}).exitCode, 0);
    EXPECT_EQ(read("nasza.map"), merged);
}

TEST_F(MergeCommand, RefusesWhatItCannotMergeSafely) {
    write("baza.map", oldPack());
    write("nasza.map", "komentarz\r\n" + oldPack());
    write("ich.map", oldPack());
    const Outcome refused = run({"merge", "baza.map", "nasza.map", "ich.map"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "Nie można scalić: nasza wersja (nasza.map) ma wiersze przed pierwszym "
                           "etapem. Plik nasza.map nie został zmieniony.\n");
    EXPECT_EQ(read("nasza.map"), "komentarz\r\n" + oldPack());
    EXPECT_EQ(run({"merge", "baza.map", "brak.map", "ich.map"}).exitCode, 2);
    EXPECT_EQ(run({"merge", "baza.map", "nasza.map"}).exitCode, 2);
}

// Two branches of a repository change different stages of one pack, and one stage both; git
// merges them through the driver and shows a change through the diff driver.
TEST_F(GitDrivers, MergeTwoBranchesAndShowADiff) {
    const std::string a = record("A");
    const std::string b = record("B", {{5, "++++++o+++++++.++o"}});
    const std::string c = record("C", {{6, "+*+++++++o++++..*+"}});
    const std::string d = record("D", {{7, "=======\"\"=====%==="}});
    const std::string bTheirs = record("B", {{5, "++++++o+++++++.+oo"}});
    const std::string cOurs = record("C", {{6, "+*+++++++o++++.**+"}});
    const std::string dOurs = record("D", {{7, "=======\"\"=====%=.="}});
    const std::string dTheirs = record("D", {{7, "=======\"\"=====%=*="}});
    write("baza.map", a + b + c + d);
    write("nasza.map", a + b + cOurs + dOurs);
    write("ich.map", a + bTheirs + c + dTheirs);
    const std::string script =
        "set -e\n"
        "export HOME=\"$PWD\" GIT_CONFIG_NOSYSTEM=1 GIT_AUTHOR_NAME=Projektant "
        "GIT_AUTHOR_EMAIL=p@example.org GIT_COMMITTER_NAME=Projektant "
        "GIT_COMMITTER_EMAIL=p@example.org\n"
        "git init -q -b main repo && cd repo\n"
        "git config merge.krelwin.driver \"$TOOL merge %O %A %B %P\"\n"
        "git config diff.krelwin.command \"$TOOL diff\"\n"
        "echo '*.map diff=krelwin merge=krelwin' > .gitattributes\n"
        "cp ../baza.map pakiet.map && git add . && git commit -qm baza\n"
        "git checkout -qb ich && cp ../ich.map pakiet.map && git commit -qam ich\n"
        "git checkout -q main && cp ../nasza.map pakiet.map && git commit -qam nasza\n"
        "git diff main~1 main -- pakiet.map > ../diff.txt\n"
        "if git merge -q ich > ../merge.txt 2>&1; then echo clean; else echo conflict; fi\n"
        "cp pakiet.map ../wynik.map\n";
    ::setenv("TOOL", KRELWIN_STAGE_PATH, 1);
    const Outcome outcome = runProgram("/bin/sh", {"-c", script});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "conflict\n");
    EXPECT_EQ(read("wynik.map"),
              a + bTheirs + cOurs + dOurs + record("D (konflikt)", {{7, "=======\"\"=====%=*="}}));
    EXPECT_NE(read("merge.txt").find("Konflikt: etap nr 3 „D” zmieniony w obu wersjach"),
              std::string::npos)
        << read("merge.txt");
    EXPECT_EQ(read("diff.txt"), "krelwin-stage diff a/pakiet.map b/pakiet.map\n"
                                "Etap nr 2 „C” zmieniony:\n"
                                "  Wiersz 3:\n"
                                "    było: +*+++++++o++++..*+\n"
                                "    jest: +*+++++++o++++.**+\n"
                                "                         ^\n"
                                "Etap nr 3 „D” zmieniony:\n"
                                "  Wiersz 4:\n"
                                "    było: =======\"\"=====%===\n"
                                "    jest: =======\"\"=====%=.=\n"
                                "                          ^\n");
}

} // namespace
} // namespace krelwin::cli_test
