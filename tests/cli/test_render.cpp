// krelwin-stage render and thumbnail: picture sizes, known pixels of marks, tiles and grid
// lines, scaling, whole packs, thumbnails of the sample pack and the failures.
#include "cli_runner.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <filesystem>

namespace krelwin::cli_test {
namespace {

const QColor Silver(192, 192, 192);

class RenderCommand : public CliTest {
protected:
    void SetUp() override { write("Plan01.map", exampleRecord("Etap 01")); }

    QImage picture(const std::string& name) const {
        return QImage(QString::fromStdString(folder.file(name)));
    }
    QImage rendered(const std::vector<std::string>& options = {}) const {
        std::vector<std::string> arguments{"render", "Plan01.map", "0", "out.png"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(outcome.err, "");
        return picture("out.png");
    }
};

// The pixels of the cell at (column, row) of a picture with cells `pitch` pixels apart.
QImage cellOf(const QImage& image, int column, int row, int pitch) {
    return image.copy(column * pitch, row * pitch, 28, 28);
}

TEST_F(RenderCommand, PictureSizeFollowsTheStageTheGridAndTheScale) {
    // The example stage is 18 x 10: 20 x 12 cells with its border ring.
    EXPECT_EQ(rendered().size(), QSize(20 * 28, 12 * 28));
    EXPECT_EQ(rendered({"--grid"}).size(), QSize(20 * 29, 12 * 29));
    EXPECT_EQ(rendered({"--grid", "--scale=2"}).size(), QSize(2 * 20 * 29, 2 * 12 * 29));
}

TEST_F(RenderCommand, MarksTilesAndGridLinesStandAtTheirPixels) {
    const QImage plain = rendered();
    // ">" at column 15, row 5: the third pixel column from the right edge, the whole height;
    // "/" at column 4, row 8: the second from the left. Nothing on the other side.
    for (int y = 0; y < 28; ++y) {
        EXPECT_EQ(plain.pixelColor(15 * 28 + 25, 5 * 28 + y), Silver) << y;
        EXPECT_EQ(plain.pixelColor(4 * 28 + 1, 8 * 28 + y), Silver) << y;
    }
    EXPECT_NE(plain.pixelColor(15 * 28 + 1, 5 * 28 + 14), Silver);
    EXPECT_NE(plain.pixelColor(4 * 28 + 25, 8 * 28 + 14), Silver);
    // Empty cells are black; the ring and an interior rivet show the same tile, a picture.
    const QImage empty = cellOf(plain, 2, 8, 28);
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 28; ++x)
            ASSERT_EQ(empty.pixelColor(x, y), QColor(Qt::black)) << x << "," << y;
    const QImage rivet = cellOf(plain, 8, 7, 28);
    EXPECT_EQ(cellOf(plain, 0, 0, 28), rivet);
    EXPECT_NE(cellOf(plain, 1, 1, 28), rivet);
    const QImage grid = rendered({"--grid"});
    for (int column = 0; column < 20; ++column) {
        EXPECT_EQ(grid.pixelColor(column * 29 + 28, 100), Silver) << column;
        EXPECT_EQ(cellOf(grid, column, 5, 29), cellOf(plain, column, 5, 28)) << column;
    }
    for (int row = 0; row < 12; ++row)
        EXPECT_EQ(grid.pixelColor(100, row * 29 + 28), Silver) << row;
}

// The tile as the program's resources hold it, drawn on the black of an empty cell.
QImage tileOnBlack(int index) {
    const QImage tile =
        QImage(QString(KRELWIN_TILES_DIR "/tile%1.xpm").arg(index, 2, 10, QLatin1Char('0')))
            .convertToFormat(QImage::Format_ARGB32);
    QImage cell(tile.size(), QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            cell.setPixel(x, y, qAlpha(tile.pixel(x, y)) == 0 ? qRgb(0, 0, 0) : tile.pixel(x, y));
    return cell;
}

TEST_F(RenderCommand, PicturesAreIndexedOnSixteenColoursAndShowTheTilesPixels) {
    for (const QImage& plain : {rendered(), rendered({"--grid", "--scale", "2"})}) {
        EXPECT_EQ(plain.format(), QImage::Format_Indexed8);
        EXPECT_LE(plain.colorCount(), 16);
    }
    const QImage plain = rendered().convertToFormat(QImage::Format_RGB32);
    // The ring is rivets (tile 4), the start stands at (1, 1) (tile 0).
    ASSERT_FALSE(tileOnBlack(4).isNull());
    EXPECT_EQ(cellOf(plain, 0, 0, 28), tileOnBlack(4));
    EXPECT_EQ(cellOf(plain, 1, 1, 28), tileOnBlack(0));
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
    write("pack.map", exampleRecord("A") + exampleRecord("B") + simpleRecord("C", 20, 11, '+'));
    ASSERT_EQ(run({"render", "pack.map", "--all", "pictures"}).exitCode, 0);
    EXPECT_EQ(picture("pictures/000.png"), rendered());
    EXPECT_EQ(picture("pictures/002.png").size(), QSize(22 * 28, 13 * 28));
    EXPECT_TRUE(picture("pictures/003.png").isNull());
}

TEST_F(RenderCommand, ThumbnailFitsStageZeroOfTheSamplePackIntoTheSize) {
    // Stage 0 of the sample pack is 20 x 10 cells: a picture of 616 x 336 pixels.
    const std::pair<std::string, QSize> sizes[] = {
        {"128", {128, 69}}, {"1232", {1232, 672}}, {"1", {1, 1}}, {"4096", {4096, 2234}}};
    for (const auto& [size, expected] : sizes) {
        const Outcome outcome = run({"thumbnail", KRELWIN_SAMPLE_PACK, size + ".png", size});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(picture(size + ".png").size(), expected) << size;
    }
    // Row 8 holds five empty cells, columns 9 to 13: black also once reduced.
    EXPECT_EQ(picture("128.png").pixelColor(67, 48), QColor(Qt::black));
    // An enlargement repeats pixels: at twice the size it is render's --scale 2.
    ASSERT_EQ(run({"render", KRELWIN_SAMPLE_PACK, "0", "twice.png", "--scale", "2"}).exitCode, 0);
    EXPECT_EQ(picture("1232.png").convertToFormat(QImage::Format_RGB32),
              picture("twice.png").convertToFormat(QImage::Format_RGB32));
}

TEST_F(RenderCommand, DiffWithPngFramesTheChangedCellsOfEachChangedStage) {
    write("stary.map", exampleRecord("A") + exampleRecord("B"));
    write("nowy.map", exampleRecord("A") + exampleRecord("B", 6, "+*++o++++o++++...+"));
    const Outcome outcome = run({"diff", "--png", "obrazy", "stary.map", "nowy.map"});
    EXPECT_EQ(outcome.exitCode, 1) << outcome.err;
    EXPECT_TRUE(outcome.out.starts_with("Etap nr 1 „B” zmieniony:\n")) << outcome.out;
    EXPECT_EQ(TempFolder::entriesOf(folder.path() / "obrazy"), std::vector<std::string>{"001.png"});
    const QImage framed = picture("obrazy/001.png");
    ASSERT_EQ(framed.size(), QSize(20 * 28, 12 * 28));
    // The cell at column 5, row 3 changed: a red frame on its edge, its tile inside.
    const QColor red(255, 0, 0);
    EXPECT_EQ(framed.pixelColor(5 * 28, 3 * 28 + 14), red);
    EXPECT_EQ(framed.pixelColor(5 * 28 + 27, 3 * 28 + 27), red);
    EXPECT_NE(framed.pixelColor(5 * 28 + 14, 3 * 28 + 14), red);
    ASSERT_EQ(run({"render", "nowy.map", "1", "b.png"}).exitCode, 0);
    const QImage plain = picture("b.png").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(cellOf(framed.convertToFormat(QImage::Format_RGB32), 4, 3, 28),
              cellOf(plain, 4, 3, 28));
    // krelwin-stage without its picture program draws nothing and says why.
    const std::string lonely = folder.file("krelwin-stage");
    std::filesystem::copy_file(KRELWIN_STAGE_PATH, lonely);
    const Outcome alone = runProgram(lonely, {"diff", "stary.map", "nowy.map", "--png=inne"});
    EXPECT_EQ(alone.exitCode, 2);
    EXPECT_TRUE(alone.err.starts_with("diff --png is not available")) << alone.err;
}

TEST_F(RenderCommand, FailuresSayWhyAndWriteNothing) {
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases{
        {{"render", "missing.map", "0", "out.png"}, 1, "Brak pliku: missing.map..."},
        {{"render", "missing.map", "--all", "pictures"}, 1, "Brak pliku: missing.map..."},
        {{"render", "Plan01.map", "0", "no-such-folder/out.png"},
         1,
         "Nie można zapisać obrazu: no-such-folder/out.png"},
        {{"render", "Plan01.map", "0", "out.png", "--scale", "9"}, 2, "krelwin-stage: --scale"},
        {{"render", "Plan01.map", "0", "out.png", "--all"}, 2, "krelwin-stage: --all"},
        {{"thumbnail", "missing.map", "out.png", "128"}, 1, "Brak pliku: missing.map..."},
        {{"thumbnail", "Plan01.map", "out.png", "0"}, 2, "krelwin-stage: SIZE"},
        {{"thumbnail", "Plan01.map", "out.png", "4097"}, 2, "krelwin-stage: SIZE"},
    };
    for (const auto& [arguments, exitCode, errorStart] : cases) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, exitCode) << arguments[1] << " " << outcome.err;
        EXPECT_TRUE(outcome.err.starts_with(errorStart)) << outcome.err;
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"Plan01.map"});
    }
}

TEST_F(RenderCommand, KrelwinStageWithoutItsPictureProgramSaysSoAndDrawsNothing) {
    // A copy of krelwin-stage alone in a folder: no libexec folder beside, no program beside it.
    const std::string lonely = folder.file("krelwin-stage");
    std::filesystem::copy_file(KRELWIN_STAGE_PATH, lonely);
    for (const std::string command : {"render", "thumbnail"}) {
        const std::vector<std::string> arguments =
            command == "render" ? std::vector<std::string>{command, "Plan01.map", "0", "out.png"}
                                : std::vector<std::string>{command, "Plan01.map", "out.png", "64"};
        const Outcome outcome = runProgram(lonely, arguments);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_TRUE(outcome.err.starts_with(command + " is not available: krelwin-stage-pictures"))
            << outcome.err;
    }
    EXPECT_EQ(runProgram(lonely, {"list", "Plan01.map"}).out, "Etap 01\n");
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.png")));
}

} // namespace
} // namespace krelwin::cli_test
