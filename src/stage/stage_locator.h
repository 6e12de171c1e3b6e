// Finds the stages of a stage file the way every operation on it numbers them:
//  - stage k is the one whose "}" line is the (k+1)-th line holding "}" (a line with several
//    "}" counts once);
//  - its name line is the line directly before that "}" line;
//  - its record runs from the name line to the first line after the "}" line that holds "("
//    (the next stage's name line), or to the end of the file. Taking the first such line, not
//    the (k+2)-th, keeps a "}" or "(" where it does not belong (in a name, a colour text or a
//    row of a file from elsewhere) from making a write skip or repeat whole stages.
//
// The file is read in large blocks, and each block is searched for the marker it needs
// (memchr, memrchr), never line by line, so locating the last stage of a file of many megabytes
// costs about one read of it. The line-end rule is the one of line_splitter.h; nothing at or
// after the first byte 26 is seen.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace krelwin {

// The editor's stage list holds the names of at most this many stages.
inline constexpr int MaxListedStages = 100;

// Where one stage stands, in byte offsets from the start of the file.
struct StageSpan {
    long index = 0;
    off_t nameLine = 0;       // the line before the "}" line; the "}" line when it is the first
    off_t braceLine = 0;      // the stage's "}" line
    off_t afterBraceLine = 0; // the start of the next line, or the end of the file
    bool moreFollows = false; // whether any byte follows the "}" line

    bool hasNameLine() const { return nameLine < braceLine; }
};

class StageLocator {
public:
    // Reads a descriptor that stays the caller's, from the start of the file, wherever its
    // offset stands (it is moved). Throws InOutError on a read failure.
    explicit StageLocator(int fd);
    // Walks a file's text already in memory, cut at its end mark.
    explicit StageLocator(std::string_view text);
    ~StageLocator();
    StageLocator(const StageLocator&) = delete;
    StageLocator& operator=(const StageLocator&) = delete;

    // The next stage in file order; nullopt once the file has ended.
    std::optional<StageSpan> next();
    // Walks on to stage `index` (which must not lie behind the walk); nullopt when the file
    // ends first, with stagesFound() telling how many it holds.
    std::optional<StageSpan> find(long index);
    // Walks to the end; returns how many stages the file holds.
    long countAll();
    long stagesFound() const;

    // The name line of a stage found by this locator, without its line end; empty when the
    // stage has none (its "}" line is the file's first).
    std::string nameLineText(const StageSpan& span);
    // Where a replace takes the stage's record to end: the first line after its "}" line that
    // holds "(", or nullopt when the record runs to the end of the file.
    std::optional<off_t> recordEnd(const StageSpan& span);
    // Where the stage last returned ends as a whole, for moving it: the name line of the stage
    // after it, or nullopt at the end of the file. So the records of a file's stages follow
    // each other without gap or overlap, whatever stray markers they hold, and each stands
    // where the stage list puts its name. The next call of next() returns that stage.
    std::optional<off_t> nextStageStart();

    // Called with every block of the file's bytes as the walk reads it, in order, from the
    // start, as stored (line ends untouched, up to the end mark): a copy that also needs the
    // stage count reads the file once.
    void onBlock(std::function<void(std::string_view)> observer);
    // After the walk reached the end: whether the file held a byte 26 with bytes after it.
    bool hasBytesAfterEndMark() const;

private:
    class Scanner;
    std::optional<StageSpan> walkOn();

    std::unique_ptr<Scanner> walk_;
    long found_ = 0;
    std::optional<StageSpan> lookahead_; // found by nextStageStart, not yet returned
};

// The editor's name for a stage (the stage list's, and what a write's name guard compares):
// all but the first and last characters of its name line, or empty when it has none or its
// name line holds "}" itself.
std::string listedName(StageLocator& stages, const StageSpan& span);

// How many stages the file at `path` holds, past the hundredth too.
// Throws NotRegularFileMessage, InOutError ("File not found" when nothing is there).
long countStages(const std::string& path);

} // namespace krelwin
