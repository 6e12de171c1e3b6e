// Shared by the stage file tests: a private temporary folder, whole-file bytes, and the example
// stage "Etap 01" with its 305-byte record.
#pragma once

#include "plansza.h"

#include <filesystem>
#include <string>
#include <vector>

namespace krelwin::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // The names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    std::filesystem::path path_;
};

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// Lines joined, each followed by `lineEnd`.
std::string joinLines(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n");

// The 18 x 10 example stage: default parameters, start at (1,1), exit at (17,10).
Etap exampleEtap();
extern const std::vector<std::string> ExampleRecordLines; // the record "(Etap 01)" of 14 lines

// A small valid record with one start and one exit, its rows filled with `fill`, built
// independently of the writer so tests can compose files from it.
std::string simpleRecord(const std::string& name, int szer, int wys, char fill,
                         const std::string& lineEnd = "\r\n");
// The stage `simpleRecord` describes, as a load gives it.
Etap simpleEtap(int szer, int wys, char fill);

} // namespace krelwin::testing
