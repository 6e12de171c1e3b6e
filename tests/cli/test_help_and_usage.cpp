#include "cli_runner.h"

namespace krelwin::cli_test {
namespace {

using HelpAndUsage = CliTest;

TEST_F(HelpAndUsage, ProgramHelpListsEveryCommand) {
    for (const char* asking : {"--help", "-h"}) {
        const Outcome outcome = run({asking});
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.err, "");
        EXPECT_TRUE(outcome.out.starts_with("Usage: krelwin-stage COMMAND [ARGUMENTS]\n"));
        for (const char* command :
             {"\n  list FILE ", "\n  show FILE INDEX ",
              "\n  copy SRC INDEX DEST DEST_INDEX [--name NAME]\n",
              "\n  generate [--seed N] [--size WxH] [--shares U1,...,U11] [--name NAME]\n",
              "\n  check FILE ", "\"plik: text\""}) {
            EXPECT_NE(outcome.out.find(command), std::string::npos) << command;
        }
    }
}

TEST_F(HelpAndUsage, CommandHelpGoesToStandardOutputEvenAmongOtherArguments) {
    const std::vector<std::vector<std::string>> askings{{"list", "--help"},
                                                        {"show", "plik.map", "--help"},
                                                        {"copy", "-h"},
                                                        {"generate", "--help"},
                                                        {"check", "--help"}};
    for (const auto& asking : askings) {
        const Outcome outcome = run(asking);
        EXPECT_EQ(outcome.exitCode, 0) << asking[0];
        EXPECT_EQ(outcome.err, "") << asking[0];
        EXPECT_TRUE(outcome.out.starts_with("Usage: krelwin-stage " + asking[0] + " "))
            << outcome.out;
    }
}

TEST_F(HelpAndUsage, UsageErrorsExitWithTwoAndWriteNothingToStandardOutput) {
    write("a.map", exampleRecord());
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{}, "krelwin-stage: no command given\n"},
        {{"lista", "a.map"}, "krelwin-stage: unknown command 'lista'\n"},
        {{"list"}, "krelwin-stage: too few arguments\n"},
        {{"list", "a.map", "b.map"}, "krelwin-stage: too many arguments\n"},
        {{"list", "--all", "a.map"}, "krelwin-stage: unknown option --all\n"},
        {{"show", "a.map", "jeden"}, "krelwin-stage: INDEX 'jeden' is not an integer\n"},
        {{"show", "a.map", "-1"}, "krelwin-stage: INDEX must be 0 or more, not -1\n"},
        {{"show", "a.map", "99999999999"},
         "krelwin-stage: INDEX '99999999999' is not an integer\n"},
        {{"copy", "a.map", "0", "b.map", "-2"},
         "krelwin-stage: DEST_INDEX must be -1 or more, not -2\n"},
        {{"copy", "a.map", "0", "b.map", "0", "--name"},
         "krelwin-stage: option --name needs a value\n"},
        {{"generate", "--seed", "1", "--seed=2"}, "krelwin-stage: option --seed given twice\n"},
        {{"generate", "--seed", "-1"},
         "krelwin-stage: --seed '-1' is not a number from 0 to 4294967295\n"},
        {{"generate", "--size", "20*20"}, "krelwin-stage: --size '20*20' is not WIDTHxHEIGHT\n"},
        {{"generate", "--shares", "1,2,3"},
         "krelwin-stage: --shares needs 11 numbers separated by commas, not '1,2,3'\n"},
        {{"generate", "--shares", "1,2,3,4,5,6,7,8,9,10,100"},
         "krelwin-stage: --shares: share 11 '100' is not a number from 0 to 99\n"},
        {{"generate", "extra"}, "krelwin-stage: too many arguments\n"},
    };
    for (const auto& [arguments, firstLine] : cases) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << firstLine;
        EXPECT_EQ(outcome.out, "") << firstLine;
        EXPECT_TRUE(outcome.err.starts_with(firstLine)) << outcome.err;
        EXPECT_NE(outcome.err.find("--help"), std::string::npos) << outcome.err;
    }
}

TEST_F(HelpAndUsage, UsageErrorNamesTheCommandsSynopsis) {
    const Outcome outcome = run({"show", "a.map"});
    EXPECT_EQ(outcome.err, "krelwin-stage: too few arguments\n"
                           "Usage: krelwin-stage show FILE INDEX\n"
                           "Run 'krelwin-stage show --help' for more.\n");
}

} // namespace
} // namespace krelwin::cli_test
