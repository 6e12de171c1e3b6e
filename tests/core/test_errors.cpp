#include "errors.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace krelwin {
namespace {

struct ErrnoCase {
    int errnoValue;
    int code;
    const char* text;
};

class ErrnoMapping : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(ErrnoMapping, GivesTheCodeAndTextTheEditorReports) {
    const ErrnoCase& c = GetParam();
    const InOutError error = InOutError::fromErrno(c.errnoValue);
    EXPECT_EQ(error.code(), c.code);
    EXPECT_STREQ(error.what(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    AllKnown, ErrnoMapping,
    ::testing::Values(
        ErrnoCase{ENOENT, 2, "File not found"}, ErrnoCase{ENOTDIR, 3, "Invalid filename"},
        ErrnoCase{ENAMETOOLONG, 3, "Invalid filename"}, ErrnoCase{EINVAL, 3, "Invalid filename"},
        ErrnoCase{ELOOP, 3, "Invalid filename"}, ErrnoCase{EMFILE, 4, "Too many open files"},
        ErrnoCase{ENFILE, 4, "Too many open files"}, ErrnoCase{EACCES, 5, "File access denied"},
        ErrnoCase{EPERM, 5, "File access denied"}, ErrnoCase{EROFS, 5, "File access denied"},
        ErrnoCase{EISDIR, 5, "File access denied"}, ErrnoCase{ENOSPC, 101, "Disk full"},
        ErrnoCase{EDQUOT, 101, "Disk full"}, ErrnoCase{EFBIG, 101, "Disk full"},
        ErrnoCase{EIO, 5, "I/O error 5"}, ErrnoCase{EBUSY, EBUSY, "I/O error 16"},
        // An errno equal to one of the text-file layer's own codes keeps its plain number.
        ErrnoCase{100, 100, "I/O error 100"}, ErrnoCase{106, 106, "I/O error 106"}));

TEST(InOutErrorCodes, KnownCodesHaveTheirTexts) {
    const std::pair<int, const char*> known[] = {
        {2, "File not found"},
        {3, "Invalid filename"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {100, "Read beyond end of file"},
        {101, "Disk full"},
        {106, "Invalid numeric input"},
        {32, "I/O error 32"},
    };
    for (const auto& [code, text] : known) {
        EXPECT_STREQ(InOutError::fromCode(code).what(), text) << code;
        EXPECT_EQ(InOutError::fromCode(code).code(), code);
    }
}

TEST(Messages, ProgramMessagesReadExactly) {
    EXPECT_STREQ(StartExitMessage().what(),
                 "Plansza musi mieć jedną pozycje startową\roraz jedno wyjście...");
    EXPECT_STREQ(MissingFileMessage("/x/Plan01.map").what(), "Brak pliku: /x/Plan01.map...");
    EXPECT_STREQ(ConversionError("").what(), "'' is not a valid integer value");
    EXPECT_STREQ(ConversionError("x5").what(), "'x5' is not a valid integer value");
}

TEST(Messages, EachShowsInTheBoxOfItsKind) {
    EXPECT_THROW(throw StartExitMessage(), PlainMessage);
    EXPECT_THROW(throw MissingFileMessage("a"), PlainMessage);
    EXPECT_THROW(throw WriteRefused("a"), PlainMessage);
    EXPECT_THROW(throw InOutError::fromCode(2), RuntimeError);
    EXPECT_THROW(throw ConversionError("a"), RuntimeError);
}

TEST(ErrorBoxText, AppendsAFullStopUnlessTheTextEndsAtOrBeforeIt) {
    EXPECT_EQ(errorBoxText("Disk full"), "Disk full.");
    EXPECT_EQ(errorBoxText("'' is not a valid integer value"), "'' is not a valid integer value.");
    EXPECT_EQ(errorBoxText("done."), "done.");
    EXPECT_EQ(errorBoxText("wait,"), "wait,");              // "," sorts before "."
    EXPECT_EQ(errorBoxText("I/O error 5"), "I/O error 5."); // "5" sorts after "."
    EXPECT_EQ(errorBoxText("x)"), "x)");
    EXPECT_EQ(errorBoxText(""), "");
}

} // namespace
} // namespace krelwin
