// The quick pass of the file check takes a pack only when every record stands as the editor
// writes it; one thing out of place anywhere and it leaves the file to the full check.
#include "clean_pack.h"
#include "file_system.h"
#include "stage_check.h"
#include "test_stage_file_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

struct Pack {
    const char* what;
    std::string bytes;
    std::optional<long> stages; // nothing: not a clean pack
    bool bytesAfterEndMark = false;
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(CleanPack, TakesOnlyRecordsAsTheEditorWritesThem) {
    const std::string a = simpleRecord("a", 18, 10, '+');
    const std::string b = simpleRecord("b (2)", 80, 80, 'o');
    std::string many; // 200 records of 80 x 80: records lie across the reading blocks
    for (int i = 0; i < 200; ++i) {
        many += simpleRecord("s", 80, 80, '+');
    }
    const std::string row = std::string(17, '+') + "W"; // a's last row
    const std::vector<Pack> packs = {
        {"two records", a + b, 2},
        {"many records", many, 200},
        {"a byte 26 at the end", a + "\x1a", 1},
        {"data after a byte 26", a + "\x1a" + "x", 1, true},
        {"empty", "", std::nullopt},
        {"a line before the first stage", "\r\n" + a, std::nullopt},
        {"an empty line after the last", a + "\r\n", std::nullopt},
        {"a last line without its line end", a.substr(0, a.size() - 2), std::nullopt},
        {"a record cut short by a byte 26", a + b.substr(0, 500) + "\x1a", std::nullopt},
        {"CR-only line ends", replaced(a, "}\r\n", "}\r"), std::nullopt},
        {"LF-only line ends", replaced(a, "(a)\r\n", "(a)\n"), std::nullopt},
        {"a name line without parentheses", replaced(a, "(a)", "a"), std::nullopt},
        {"a } in a name", replaced(a, "(a)", "(a})"), std::nullopt},
        {"a } after the colours", replaced(a, ",55,", ",55,}"), std::nullopt},
        {"a ( in the colours", replaced(a, ",55,", ",5(,"), std::nullopt},
        {"a short colour text", replaced(a, ",55,", ","), std::nullopt},
        {"a width out of range", replaced(a, "18,10,", "17,10,"), std::nullopt},
        {"a number that does not convert", replaced(a, "18,10,010", "18,10,0x0"), std::nullopt},
        {"a type other than Z or B", replaced(a, ",Z,", ",X,"), std::nullopt},
        {"an extra row", a + row + "\r\n", std::nullopt},
        {"a row too short", replaced(a, row + "\r\n", row.substr(1) + "\r\n"), std::nullopt},
        {"a row too long, the next short", replaced(a, "+\r\n+", "++\r\n"), std::nullopt},
        {"a ( in a row", replaced(a, row, "(" + row.substr(1)), std::nullopt},
        {"an LF in a row", replaced(a, row, "\n" + row.substr(1)), std::nullopt},
        {"two exits", replaced(a, row, "W" + row.substr(1)), std::nullopt},
        {"no exit", replaced(a, row, std::string(18, '+')), std::nullopt},
        {"a { line with more", replaced(a, "\r\n{\r\n", "\r\n{ \r\n"), std::nullopt},
    };
    TempFolder folder;
    for (const Pack& pack : packs) {
        writeBytes(folder.file("f"), pack.bytes);
        const FileDescriptor fd = openFile(folder.file("f"), O_RDONLY);
        const std::optional<CleanPack> clean = readCleanPack(fd.get());
        EXPECT_EQ(clean.has_value(), pack.stages.has_value()) << pack.what;
        if (clean && pack.stages) {
            EXPECT_EQ(clean->stages, *pack.stages) << pack.what;
            EXPECT_EQ(clean->bytesAfterEndMark, pack.bytesAfterEndMark) << pack.what;
        }
        // Whatever the quick pass said, the check reports a clean pack's stages only for their
        // number and a byte 26 with data after it.
        if (pack.stages) {
            EXPECT_EQ(findStageProblems(folder.file("f")).size(),
                      static_cast<std::size_t>(*pack.stages > 100) + pack.bytesAfterEndMark)
                << pack.what;
        }
    }
}

} // namespace
} // namespace krelwin::stagetest
