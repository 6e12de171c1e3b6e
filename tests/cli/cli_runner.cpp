#include "cli_runner.h"

#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace krelwin::cli_test {

namespace fs = std::filesystem;

const std::string DefaultParameters =
    "18,10,010,010,010,010,010,100,Z,00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55,";

const std::vector<std::string> ExampleRows{
    "S+++++o+++++*+++++", "++++++o+++++++.+++", "+*+++++++o++++...+", "======\"\"\"=====%===",
    "++++o++++++++.>..+", "+*++o+++++++++...+", "+++++++#+++~~~++++", ".../..+++#+++&&+*+",
    "+++++++++#++o+++++", "+*+o++++++++++++W+"};

std::string record(const std::string& nameLine, const std::string& parameters,
                   const std::vector<std::string>& rows, const std::string& lineEnd) {
    std::string text = nameLine + lineEnd + "}" + lineEnd + parameters + lineEnd + "{" + lineEnd;
    for (const std::string& row : rows) {
        text += row + lineEnd;
    }
    return text;
}

std::string exampleRecord(const std::string& name) {
    return record("(" + name + ")", DefaultParameters, ExampleRows);
}

void CliTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    folder = fs::temp_directory_path() /
             ("krelwin-stage-cli-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
}

void CliTest::TearDown() {
    fs::remove_all(folder);
}

Outcome CliTest::run(const std::vector<std::string>& arguments) const {
    const fs::path outPath = folder / ".stdout";
    const fs::path errPath = folder / ".stderr";
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::chdir(folder.c_str()) != 0) {
            ::_exit(127);
        }
        std::vector<char*> argv{const_cast<char*>(KRELWIN_STAGE_PATH)};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(KRELWIN_STAGE_PATH, argv.data());
        ::_exit(127);
    }
    int status = 0;
    Outcome outcome;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        outcome.exitCode = WEXITSTATUS(status);
    }
    outcome.out = read(outPath.string());
    outcome.err = read(errPath.string());
    fs::remove(outPath);
    fs::remove(errPath);
    return outcome;
}

std::string CliTest::write(const std::string& fileName, const std::string& content) const {
    const fs::path path = folder / fileName;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

std::string CliTest::read(const std::string& path) const {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

} // namespace krelwin::cli_test
