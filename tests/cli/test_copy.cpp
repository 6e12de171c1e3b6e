#include "cli_runner.h"

namespace krelwin::cli_test {
namespace {

namespace fs = std::filesystem;

class CopyCommand : public CliTest {
protected:
    // A stage without a start position: it may be appended but not written over a stage.
    std::string noStartRecord(const std::string& name) {
        std::vector<std::string> rows = ExampleRows;
        rows[0][0] = '+';
        return record("(" + name + ")", DefaultParameters, rows);
    }

    void expectSuccess(const Outcome& outcome) {
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "");
    }

    // Only the files the test wrote are left: a refused write leaves no temporary file.
    void expectOnlyFiles(std::vector<std::string> expected) {
        std::vector<std::string> present;
        for (const auto& entry : fs::directory_iterator(folder)) {
            present.push_back(entry.path().filename().string());
        }
        std::sort(present.begin(), present.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(present, expected);
    }
};

TEST_F(CopyCommand, AppendsUnderTheStagesOwnName) {
    write("zrodlo.map", exampleRecord("A") + noStartRecord("B"));
    const std::string destination = write("cel.map", exampleRecord("Cel"));
    expectSuccess(run({"copy", "zrodlo.map", "1", "cel.map", "-1"}));
    EXPECT_EQ(read(destination), exampleRecord("Cel") + noStartRecord("B"));
}

TEST_F(CopyCommand, AppendingToAMissingFileCreatesIt) {
    write("zrodlo.map", exampleRecord("A"));
    expectSuccess(run({"copy", "zrodlo.map", "0", "nowy.map", "-1", "--name", "Nowa"}));
    EXPECT_EQ(read(pathOf("nowy.map")), exampleRecord("Nowa"));
}

TEST_F(CopyCommand, ReplacesTheFirstMiddleAndLastStage) {
    write("zrodlo.map", exampleRecord("A"));
    const std::vector<std::string> names{"X", "Y", "Z"};
    for (std::size_t index = 0; index < names.size(); ++index) {
        const std::string destination =
            write("cel.map", exampleRecord("X") + exampleRecord("Y") + exampleRecord("Z"));
        expectSuccess(run(
            {"copy", "zrodlo.map", "0", "cel.map", std::to_string(index), "--name=Nowa nazwa"}));
        std::string expected;
        for (std::size_t i = 0; i < names.size(); ++i) {
            expected += exampleRecord(i == index ? "Nowa nazwa" : names[i]);
        }
        EXPECT_EQ(read(destination), expected) << index;
    }
}

TEST_F(CopyCommand, RefusedWritesLeaveTheDestinationAsItWas) {
    write("zrodlo.map", exampleRecord("A") + noStartRecord("B"));
    const std::string before = exampleRecord("X") + exampleRecord("Y");
    const std::string destination = write("cel.map", before);
    struct Refusal {
        std::vector<std::string> arguments;
        std::string message; // empty: any message
    };
    const std::vector<Refusal> refusals{
        {{"copy", "zrodlo.map", "1", "cel.map", "0"},
         "Plansza musi mieć jedną pozycje startową\noraz jedno wyjście...\n"},
        {{"copy", "zrodlo.map", "0", "cel.map", "2"}, ""},
        {{"copy", "zrodlo.map", "0", "cel.map", "-1", "--name", "a}b"}, ""},
        {{"copy", "zrodlo.map", "0", "cel.map", "0", "--name", "a\rb"}, ""},
    };
    for (const Refusal& refusal : refusals) {
        const Outcome outcome = run(refusal.arguments);
        EXPECT_EQ(outcome.exitCode, 1) << refusal.arguments[4];
        EXPECT_EQ(outcome.out, "");
        if (refusal.message.empty()) {
            EXPECT_FALSE(outcome.err.empty());
        } else {
            EXPECT_EQ(outcome.err, refusal.message);
        }
        EXPECT_EQ(read(destination), before);
        expectOnlyFiles({"zrodlo.map", "cel.map"});
    }
}

TEST_F(CopyCommand, TheStartAndExitRuleDoesNotStopAnAppend) {
    write("zrodlo.map", noStartRecord("B"));
    const std::string destination = write("cel.map", exampleRecord("X"));
    expectSuccess(run({"copy", "zrodlo.map", "0", "cel.map", "-1"}));
    EXPECT_EQ(read(destination), exampleRecord("X") + noStartRecord("B"));
}

TEST_F(CopyCommand, AFailedLoadWritesNothing) {
    write("zrodlo.map", exampleRecord("A"));
    Outcome outcome = run({"copy", "brak.map", "0", "cel.map", "-1"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "Brak pliku: brak.map...\n");
    outcome = run({"copy", "zrodlo.map", "5", "cel.map", "-1"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "'' is not a valid integer value.\n");
    expectOnlyFiles({"zrodlo.map"});
}

} // namespace
} // namespace krelwin::cli_test
