#include "CellRenderer.h"
#include "TileSet.h"

#include <QPainter>
#include <QTest>

using krelwin::render::TileSet;

namespace {

const QColor Fill(10, 20, 200);
const QColor Mark(250, 0, 0);

// Draws one code into a 60x40 image whose background is green, with a blue brush and a red pen.
QImage drawn(const TileSet& tiles, char code, const QRect& cell) {
    QImage image(60, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::green);
    QPainter painter(&image);
    painter.setBrush(Fill);
    painter.setPen(QPen(Mark, 1));
    krelwin::render::drawCell(painter, tiles, code, cell);
    return image;
}

TileSet withoutImages() {
    return TileSet(TileSet::Images{});
}

} // namespace

class TestCellRenderer : public QObject {
    Q_OBJECT

private slots:
    void everyTileIs28Square();
    void marksFollowTheCellsActualSize_data();
    void marksFollowTheCellsActualSize();
    void codeWithoutImageIsAPlainSquare();
    void missingTileImageIsAPlainSquareWithItsMark();
    void tileKeepsItsSizeInANarrowOrWideColumn();
};

void TestCellRenderer::everyTileIs28Square() {
    const TileSet& tiles = TileSet::builtIn();
    for (int index = 0; index < krelwin::TileCount; ++index) {
        QVERIFY2(tiles.hasImage(index), qPrintable(QString::number(index)));
        QCOMPARE(tiles.image(index).size(), QSize(28, 28));
    }
    // The empty tool's button is solid black; the monster has a transparent centre.
    const QImage empty = tiles.image(krelwin::EmptyToolTile);
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 28; ++x)
            QCOMPARE(empty.pixelColor(x, y), QColor(Qt::black));
    QCOMPARE(qAlpha(tiles.image(6).pixel(14, 14)), 0);
}

void TestCellRenderer::marksFollowTheCellsActualSize_data() {
    QTest::addColumn<char>("code");
    QTest::addColumn<QRect>("cell");
    QTest::addColumn<QRect>("mark");
    const QRect square(2, 3, 28, 28);
    const QRect wide(2, 3, 40, 28);
    QTest::newRow("left") << '<' << square << QRect(3, 3, 1, 28);
    QTest::newRow("up") << '|' << square << QRect(2, 4, 28, 1);
    QTest::newRow("right") << '>' << square << QRect(27, 3, 1, 28);
    QTest::newRow("down") << '\\' << square << QRect(2, 28, 28, 1);
    QTest::newRow("right, wide column") << '-' << wide << QRect(39, 3, 1, 28);
    QTest::newRow("up, wide column") << '^' << wide << QRect(2, 4, 40, 1);
    QTest::newRow("no mark for a diamond") << '*' << square << QRect();
}

void TestCellRenderer::marksFollowTheCellsActualSize() {
    QFETCH(char, code);
    QFETCH(QRect, cell);
    QFETCH(QRect, mark);
    QCOMPARE(krelwin::render::directionMark(code, cell), mark);
    const QImage image = drawn(withoutImages(), code, cell);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor expected =
                mark.contains(x, y) ? Mark : (cell.contains(x, y) ? Fill : QColor(Qt::green));
            QCOMPARE(image.pixelColor(x, y), expected);
        }
}

void TestCellRenderer::codeWithoutImageIsAPlainSquare() {
    for (char code : {'.', 'x', '\x7f', 'Q'}) {
        const QImage image = drawn(TileSet::builtIn(), code, QRect(0, 0, 28, 28));
        QCOMPARE(image.pixelColor(0, 0), Fill);
        QCOMPARE(image.pixelColor(27, 27), Fill);
        QCOMPARE(image.pixelColor(25, 10), Fill);
        QCOMPARE(image.pixelColor(28, 10), QColor(Qt::green));
    }
}

void TestCellRenderer::missingTileImageIsAPlainSquareWithItsMark() {
    const QImage image = drawn(withoutImages(), '>', QRect(0, 0, 28, 28));
    QCOMPARE(image.pixelColor(10, 10), Fill);
    QCOMPARE(image.pixelColor(25, 10), Mark);
}

void TestCellRenderer::tileKeepsItsSizeInANarrowOrWideColumn() {
    const TileSet& tiles = TileSet::builtIn();
    const QImage rivet = tiles.image(4);
    const QImage narrow = drawn(tiles, '#', QRect(0, 0, 20, 28));
    QCOMPARE(narrow.pixelColor(24, 14), rivet.pixelColor(24, 14)); // beyond the 20 pixels
    const QImage wide = drawn(tiles, '#', QRect(0, 0, 40, 28));
    QCOMPARE(wide.pixelColor(10, 10), rivet.pixelColor(10, 10));
    QCOMPARE(wide.pixelColor(33, 10), QColor(Qt::green)); // the fill is the tile's, not the cell's
}

QTEST_MAIN(TestCellRenderer)
#include "test_cellrenderer.moc"
