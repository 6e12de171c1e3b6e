// Shared by the core and robustness tests: a private temporary folder, whole-file bytes, the
// example stage "Etap 01" with its 305-byte record, and small records built independently of
// the writer so tests can compose files from them.
#pragma once

#include "plansza.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krelwin::stagetest {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::vector<std::string> entries() const { return entriesOf(path_); }
    static std::vector<std::string> entriesOf(const std::filesystem::path& folder); // sorted

private:
    std::filesystem::path path_;
};

// The program's cache folder during the tests: inside a temporary folder of the test program's
// own (XDG_CACHE_HOME is set for every test and every process a test starts).
std::string programCacheFolder();
// No backup or scratch copy stays there (the folder may not even exist).
bool programCacheFolderIsEmpty();

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
// Lines joined, each followed by `lineEnd`.
std::string joinLines(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n");

// The 18 x 10 example stage: default parameters, start at (1,1), exit at (17,10).
Etap exampleEtap();
extern const std::vector<std::string> ExampleRecordLines; // "(Etap 01)" and its 13 lines
const std::string& exampleRecord();                       // those lines as the 305 stored bytes

// A valid record with a start at (1,1), an exit at (szer,wys) and every other cell `fill`.
std::string simpleRecord(const std::string& name, int szer, int wys, char fill,
                         const std::string& lineEnd = "\r\n");
Etap simpleEtap(int szer, int wys, char fill); // the stage that record loads as

Etap etapOfSize(int szer, int wys);
// The cells of `row` from column `from` to `to`; the interior rows of the whole stage.
std::string rowText(const Etap& etap, int row, int from, int to);
std::vector<std::string> interiorRows(const Etap& etap);

// A stage file "stages.map" in a fresh folder and three records to compose it from.
class StageFileTest : public ::testing::Test {
protected:
    void write(const std::string& content) const { writeBytes(path, content); }
    std::string bytes() const { return readBytes(path); }
    // No temporary file is left beside the stage file.
    void expectOnlyTheStageFile() const {
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
    }

    TempFolder folder;
    std::string path = folder.file("stages.map");
    const std::string a = simpleRecord("a", 18, 10, '+');
    const std::string b = simpleRecord("bb", 25, 12, 'o');
    const std::string c = simpleRecord("c", 18, 11, '.');
};

} // namespace krelwin::stagetest
