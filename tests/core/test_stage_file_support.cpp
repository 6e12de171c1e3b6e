#include "test_stage_file_support.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace krelwin::stagetest {

namespace fs = std::filesystem;

namespace {

// Writes that fall back to the user's cache folder, here or in a krelwin-stage the test starts,
// use one inside a temporary folder of the test program's own, never the real ~/.cache.
class PrivateCacheHome : public ::testing::Environment {
public:
    void SetUp() override {
        home_ = std::make_unique<TempFolder>();
        ::setenv("XDG_CACHE_HOME", home_->path().c_str(), 1);
    }
    void TearDown() override { home_.reset(); }

private:
    std::unique_ptr<TempFolder> home_;
};

[[maybe_unused]] const ::testing::Environment* const privateCacheHome =
    ::testing::AddGlobalTestEnvironment(new PrivateCacheHome);

} // namespace

std::string programCacheFolder() {
    return std::string(std::getenv("XDG_CACHE_HOME")) + "/krelwin-konstruktor";
}

bool programCacheFolderIsEmpty() {
    return !fs::exists(programCacheFolder()) || fs::is_empty(programCacheFolder());
}

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("krelwin-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::vector<std::string> TempFolder::entriesOf(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& lineEnd) {
    std::string joined;
    for (const std::string& line : lines) {
        joined += line + lineEnd;
    }
    return joined;
}

const std::vector<std::string> ExampleRecordLines = {
    "(Etap 01)",
    "}",
    "18,10,010,010,010,010,010,100,Z,00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55,",
    "{",
    "S+++++o+++++*+++++",
    "++++++o+++++++.+++",
    "+*+++++++o++++...+",
    "======\"\"\"=====%===",
    "++++o++++++++.>..+",
    "+*++o+++++++++...+",
    "+++++++#+++~~~++++",
    ".../..+++#+++&&+*+",
    "+++++++++#++o+++++",
    "+*+o++++++++++++W+",
};

Etap exampleEtap() {
    Etap etap = etapOfSize(18, 10);
    for (int row = 1; row <= 10; ++row) {
        for (int column = 1; column <= 18; ++column) {
            etap.plansza.at(column, row) = ExampleRecordLines[3 + row][column - 1];
        }
    }
    return etap;
}

// Built on first use: other files' statics may read it before this file's are initialised.
const std::string& exampleRecord() {
    static const std::string record = joinLines(ExampleRecordLines);
    return record;
}

Etap etapOfSize(int szer, int wys) {
    Etap etap;
    etap.parametry.Szer = szer;
    etap.parametry.Wys = wys;
    return etap;
}

std::string rowText(const Etap& etap, int row, int from, int to) {
    std::string text;
    for (int column = from; column <= to; ++column) {
        text += etap.plansza.at(column, row);
    }
    return text;
}

std::vector<std::string> interiorRows(const Etap& etap) {
    std::vector<std::string> rows;
    for (int row = 1; row <= etap.parametry.Wys; ++row) {
        rows.push_back(rowText(etap, row, 1, etap.parametry.Szer));
    }
    return rows;
}

namespace {

std::string parameterLine(int szer, int wys) {
    char line[128];
    std::snprintf(line, sizeof line,
                  "%02d,%02d,010,010,010,010,010,100,Z,00,00,00,20,40,00,10,30,40,20,61,40,05,35,"
                  "05,10,10,55,",
                  szer, wys);
    return line;
}

char simpleCell(int column, int row, int szer, int wys, char fill) {
    if (column == 1 && row == 1) {
        return 'S';
    }
    if (column == szer && row == wys) {
        return 'W';
    }
    return fill;
}

} // namespace

std::string simpleRecord(const std::string& name, int szer, int wys, char fill,
                         const std::string& lineEnd) {
    std::vector<std::string> lines = {"(" + name + ")", "}", parameterLine(szer, wys), "{"};
    for (int row = 1; row <= wys; ++row) {
        std::string cells;
        for (int column = 1; column <= szer; ++column) {
            cells += simpleCell(column, row, szer, wys, fill);
        }
        lines.push_back(cells);
    }
    return joinLines(lines, lineEnd);
}

Etap simpleEtap(int szer, int wys, char fill) {
    Etap etap = etapOfSize(szer, wys);
    for (int row = 1; row <= wys; ++row) {
        for (int column = 1; column <= szer; ++column) {
            etap.plansza.at(column, row) = simpleCell(column, row, szer, wys, fill);
        }
    }
    return etap;
}

} // namespace krelwin::stagetest
