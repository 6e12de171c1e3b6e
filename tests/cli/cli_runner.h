// Runs krelwin-stage as a separate process in a temporary folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace krelwin::cli_test {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The records the tests build files from.
extern const std::string DefaultParameters; // 18 x 10, every other value its default
extern const std::vector<std::string> ExampleRows;

// The lines of a record, each ended by `lineEnd`.
std::string record(const std::string& nameLine, const std::string& parameters,
                   const std::vector<std::string>& rows, const std::string& lineEnd = "\r\n");
// The 305-byte example stage: 18 x 10, one start, one exit.
std::string exampleRecord(const std::string& name = "Etap 01");

class CliTest : public ::testing::Test {
protected:
    std::filesystem::path folder;

    void SetUp() override;
    void TearDown() override;

    // Runs the tool with the arguments, the temporary folder as its working directory.
    Outcome run(const std::vector<std::string>& arguments) const;
    // Writes a file into the folder and returns its path.
    std::string write(const std::string& fileName, const std::string& content) const;
    std::string read(const std::string& path) const;
    std::string pathOf(const std::string& fileName) const { return (folder / fileName).string(); }
};

} // namespace krelwin::cli_test
