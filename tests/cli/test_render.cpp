// krelwin-stage render: picture sizes, known pixels of marks, fills and tiles, scaling, the
// grid, whole packs and the failures.
#include "cli_runner.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <filesystem>

namespace krelwin::cli_test {
namespace {

const QColor Silver(192, 192, 192);
const QColor Black(0, 0, 0);

class RenderCommand : public CliTest {
protected:
    std::string example;

    void SetUp() override {
        CliTest::SetUp();
        example = write("Plan01.map", exampleRecord());
    }

    QImage rendered(const std::vector<std::string>& options = {}) const {
        std::vector<std::string> arguments{"render", example, "0", pathOf("out.png")};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(outcome.err, "");
        return QImage(QString::fromStdString(pathOf("out.png")));
    }
};

QColor at(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

// The pixels of the cell at (column, row) of a picture with cells `pitch` pixels apart.
QImage cellOf(const QImage& image, int column, int row, int pitch) {
    return image.copy(column * pitch, row * pitch, 28, 28);
}

TEST_F(RenderCommand, PictureSizeFollowsTheStageTheGridAndTheScale) {
    struct Case {
        std::vector<std::string> options;
        QSize size;
    };
    // The example stage is 18 x 10: 20 x 12 cells with its border ring.
    const std::vector<Case> cases{
        {{}, {20 * 28, 12 * 28}},
        {{"--grid"}, {20 * 29, 12 * 29}},
        {{"--scale", "3"}, {3 * 20 * 28, 3 * 12 * 28}},
        {{"--grid", "--scale=2"}, {2 * 20 * 29, 2 * 12 * 29}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rendered(c.options).size(), c.size) << c.options.size();
    }
}

TEST_F(RenderCommand, MarksStandOnTheSideTheCreatureFaces) {
    const QImage picture = rendered();
    // ">" at column 15, row 5: the third pixel column from the right edge, the whole height.
    for (int y = 5 * 28; y < 6 * 28; ++y) {
        EXPECT_EQ(at(picture, 15 * 28 + 25, y), Silver) << y;
    }
    // "/" at column 4, row 8: the second pixel column from the left edge.
    for (int y = 8 * 28; y < 9 * 28; ++y) {
        EXPECT_EQ(at(picture, 4 * 28 + 1, y), Silver) << y;
    }
    // No mark on the other side of either.
    EXPECT_NE(at(picture, 15 * 28 + 1, 5 * 28 + 14), Silver);
    EXPECT_NE(at(picture, 4 * 28 + 25, 8 * 28 + 14), Silver);
}

TEST_F(RenderCommand, EmptyCellsAreBlackAndLikeCodesLookAlike) {
    const QImage picture = rendered();
    // Row 8 starts with three empty cells.
    const QImage empty = cellOf(picture, 2, 8, 28);
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 28; ++x)
            ASSERT_EQ(empty.pixelColor(x, y), Black) << x << "," << y;
    // The border ring and the interior rivet at column 8, row 7 show the same tile, and it is
    // a picture, not a plain square.
    const QImage rivet = cellOf(picture, 8, 7, 28);
    EXPECT_EQ(cellOf(picture, 0, 0, 28), rivet);
    EXPECT_EQ(cellOf(picture, 19, 11, 28), rivet);
    bool moreThanOneColour = false;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 28; ++x)
            moreThanOneColour |= rivet.pixel(x, y) != rivet.pixel(0, 0);
    EXPECT_TRUE(moreThanOneColour);
    // Start and exit differ from the rivet and from each other.
    EXPECT_NE(cellOf(picture, 1, 1, 28), rivet);
    EXPECT_NE(cellOf(picture, 17, 10, 28), cellOf(picture, 1, 1, 28));
}

TEST_F(RenderCommand, GridLinesFollowEveryColumnAndRow) {
    const QImage plain = rendered();
    const QImage grid = rendered({"--grid"});
    for (int column = 0; column < 20; ++column) {
        EXPECT_EQ(at(grid, column * 29 + 28, 100), Silver) << column;
        // The cells themselves are the same pictures, 29 pixels apart.
        EXPECT_EQ(cellOf(grid, column, 5, 29), cellOf(plain, column, 5, 28)) << column;
    }
    for (int row = 0; row < 12; ++row) {
        EXPECT_EQ(at(grid, 100, row * 29 + 28), Silver) << row;
    }
    EXPECT_EQ(at(grid, 20 * 29 - 1, 12 * 29 - 1), Silver);
    EXPECT_EQ(at(grid, 15 * 29 + 25, 5 * 29 + 3), Silver); // the ">" mark moved with its cell
}

TEST_F(RenderCommand, ScaleRepeatsEveryPixelWithoutSmoothing) {
    const QImage plain = rendered();
    const QImage big = rendered({"--scale", "3"});
    ASSERT_EQ(big.size(), plain.size() * 3);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            ASSERT_EQ(big.pixel(x, y), plain.pixel(x / 3, y / 3)) << x << "," << y;
}

TEST_F(RenderCommand, AllDrawsOnePictureNamedByIndexPerStage) {
    const std::string small = record("(Drugi)", DefaultParameters, ExampleRows);
    std::string wide = DefaultParameters;
    wide.replace(0, 5, "20,11");
    std::vector<std::string> rows(11, std::string(20, '+'));
    const std::string pack = write("pack.map", small + exampleRecord() + record("(T)", wide, rows));
    const Outcome outcome = run({"render", pack, "--all", pathOf("pictures")});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const auto picture = [this](const char* name) {
        return QImage(QString::fromStdString(pathOf("pictures/" + std::string(name))));
    };
    EXPECT_EQ(picture("000.png").size(), QSize(20 * 28, 12 * 28));
    EXPECT_EQ(picture("000.png"), rendered());
    EXPECT_EQ(picture("002.png").size(), QSize(22 * 28, 13 * 28));
    EXPECT_FALSE(std::filesystem::exists(pathOf("pictures/003.png")));
}

TEST_F(RenderCommand, FailuresSayWhyAndWriteNothing) {
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string errorStart;
    };
    const std::vector<Case> cases{
        {{"render", "missing.map", "0", "out.png"}, 1, "Brak pliku: missing.map..."},
        {{"render", "missing.map", "--all", "pictures"}, 1, "Brak pliku: missing.map..."},
        {{"render", "Plan01.map", "1", "out.png"}, 1, "'' is not a valid integer value."},
        {{"render", "Plan01.map", "0", "no-such-folder/out.png"},
         1,
         "Nie można zapisać obrazu: no-such-folder/out.png"},
        {{"render", "Plan01.map", "0", "out.png", "--scale", "0"}, 2, "krelwin-stage: --scale"},
        {{"render", "Plan01.map", "0", "out.png", "--scale", "9"}, 2, "krelwin-stage: --scale"},
        {{"render", "Plan01.map", "0", "out.png", "--all"}, 2, "krelwin-stage: --all"},
        {{"render", "Plan01.map", "0"}, 2, "krelwin-stage: FILE INDEX OUT.png"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = run(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments[2] << " " << outcome.err;
        EXPECT_EQ(outcome.err.substr(0, c.errorStart.size()), c.errorStart) << outcome.err;
        EXPECT_FALSE(std::filesystem::exists(pathOf("out.png")));
        EXPECT_FALSE(std::filesystem::exists(pathOf("pictures")));
    }
}

} // namespace
} // namespace krelwin::cli_test
