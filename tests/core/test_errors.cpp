#include "errors.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krelwin {
namespace {

TEST(InOutError, EachErrnoGivesTheCodeAndTextTheEditorReports) {
    struct Case {
        int errnoValue, code;
        const char* text;
    };
    const Case cases[] = {
        {ENOENT, 2, "File not found"},
        {ENOTDIR, 3, "Invalid filename"},
        {ENAMETOOLONG, 3, "Invalid filename"},
        {EINVAL, 3, "Invalid filename"},
        {ELOOP, 3, "Invalid filename"},
        {EMFILE, 4, "Too many open files"},
        {ENFILE, 4, "Too many open files"},
        {EACCES, 5, "File access denied"},
        {EPERM, 5, "File access denied"},
        {EROFS, 5, "File access denied"},
        {EISDIR, 5, "File access denied"},
        {ENOSPC, 101, "Disk full"},
        {EDQUOT, 101, "Disk full"},
        {EFBIG, 101, "Disk full"},
        {EIO, 5, "I/O error 5"},
        {EBUSY, EBUSY, "I/O error 16"},
        // An errno equal to one of the text-file layer's own codes keeps its plain number.
        {100, 100, "I/O error 100"},
        {106, 106, "I/O error 106"}};
    for (const Case& c : cases) {
        const InOutError error = InOutError::fromErrno(c.errnoValue);
        EXPECT_EQ(error.code(), c.code) << c.errnoValue;
        EXPECT_STREQ(error.what(), c.text) << c.errnoValue;
    }
    EXPECT_STREQ(InOutError::fromCode(100).what(), "Read beyond end of file");
    EXPECT_STREQ(InOutError::fromCode(106).what(), "Invalid numeric input");
    EXPECT_STREQ(InOutError::fromCode(32).what(), "I/O error 32");
}

TEST(Messages, ReadExactlyAndTheErrorBoxAddsAFullStopUnlessTheTextEndsAtOrBeforeIt) {
    EXPECT_STREQ(StartExitMessage().what(),
                 "Plansza musi mieć jedną pozycje startową\roraz jedno wyjście...");
    EXPECT_STREQ(MissingFileMessage("/x/Plan01.map").what(), "Brak pliku: /x/Plan01.map...");
    EXPECT_STREQ(ConversionError("x5").what(), "'x5' is not a valid integer value");
    const std::pair<const char*, const char*> boxes[] = {{"Disk full", "Disk full."},
                                                         {"done.", "done."},
                                                         {"wait,", "wait,"}, // "," sorts before "."
                                                         {"I/O error 5", "I/O error 5."},
                                                         {"x)", "x)"},
                                                         {"", ""}};
    for (const auto& [text, shown] : boxes) {
        EXPECT_EQ(errorBoxText(text), shown);
    }
}

TEST(Messages, ControlBytesOfAFilesTextAreShownEscapedEverywhere) {
    const std::pair<std::string, std::string> shown[] = {
        {std::string("1\0", 2), "1\\x00"},
        {"a\rb\nc\x1a", "a\\x0Db\\x0Ac\\x1A"},
        {"\x7f\x1f ", "\\x7F\\x1F "},
        {"\xb9\xea \\x41 ~", "\xb9\xea \\x41 ~"}}; // other bytes stand as they are
    for (const auto& [text, expected] : shown) {
        EXPECT_EQ(shownText(text), expected);
    }
    EXPECT_STREQ(ConversionError(std::string("1\0", 2)).what(),
                 "'1\\x00' is not a valid integer value");
    // Every message that names a file.
    const std::string path = "a\nb.map";
    for (const std::string& message : std::vector<std::string>{
             MissingFileMessage(path).what(), FileChangedMessage(path, 0).what(),
             FileBusyMessage(path).what(), NotRegularFileMessage(path, "potokiem (FIFO)").what(),
             BackupKeptMessage(path, path, "Disk full").what()}) {
        EXPECT_NE(message.find("a\\x0Ab.map"), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
    EXPECT_STREQ(MissingFileMessage(path).what(), "Brak pliku: a\\x0Ab.map...");
}

} // namespace
} // namespace krelwin
