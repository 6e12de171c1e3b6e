// Runs krelwin-stage as a separate process in a temporary folder of the test's own.
#pragma once

#include "test_stage_file_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace krelwin::cli_test {

using namespace krelwin::stagetest;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The example record's 14 lines (name, "}", parameters, "{", 10 rows), named `name`, with
// line `index` replaced by `line` when `index` is given.
std::string exampleRecord(const std::string& name, std::size_t index = 0,
                          const std::string& line = {});

class CliTest : public ::testing::Test {
protected:
    TempFolder folder;

    // Runs the tool with the arguments, the temporary folder as its working directory.
    Outcome run(const std::vector<std::string>& arguments) const;
    // The same with another program, such as a copy of the tool.
    Outcome runProgram(const std::string& program, const std::vector<std::string>& arguments) const;
    std::string write(const std::string& name, const std::string& content) const {
        writeBytes(folder.file(name), content);
        return folder.file(name);
    }
    std::string read(const std::string& name) const { return readBytes(folder.file(name)); }
};

} // namespace krelwin::cli_test
