// The map view on a display of device pixel ratio 2: tiles are enlarged without smoothing, so
// every tile pixel becomes an exact 2x2 block, and grid lines and direction marks stay one
// device-independent pixel (two device pixels) wide.
#include "CellRenderer.h"
#include "MapView.h"
#include "TileSet.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

namespace {

const QRgb Silver = qRgb(192, 192, 192);
const QRgb Black = qRgb(0, 0, 0);
constexpr int Ratio = 2;
constexpr int Pitch = 29;

// A tile pixel as the view shows it over its black fill (the masks are all or nothing).
QRgb overBlack(QRgb tilePixel) {
    return qAlpha(tilePixel) == 0 ? Black : (tilePixel | 0xff000000u);
}

} // namespace

class TestHiDpi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void tilePixelsBecomeExactBlocks_data();
    void tilePixelsBecomeExactBlocks();
    void gridLinesAndMarksStayOnePixel();

private:
    MapView view;
    QImage grabbed;
    // Column 1: butterfly facing right; column 2: earth; column 3: stone; elsewhere rivets.
    static char codeAt(int column, int row) {
        if (row != 1)
            return '#';
        return column == 1 ? '>' : column == 2 ? '+' : column == 3 ? 'o' : '#';
    }
};

void TestHiDpi::initTestCase() {
    view.setRowCount(3);
    view.setColumnCount(5);
    view.setPenColor(Qt::black);
    view.setDrawCellHandler([this](int column, int row, const QRect& rect, int) {
        krelwin::render::drawCell(*view.canvas(), krelwin::render::TileSet::builtIn(),
                                  codeAt(column, row), rect);
    });
    // The current cell (0, 0) is a rivet in the border corner; nothing below looks at it.
    view.resize(250, 150);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.devicePixelRatio(), qreal(Ratio));
    const QPixmap pixmap = view.viewport()->grab();
    QCOMPARE(pixmap.devicePixelRatio(), qreal(Ratio));
    grabbed = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

void TestHiDpi::tilePixelsBecomeExactBlocks_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("tile");
    QTest::newRow("earth") << 2 << 2;
    QTest::newRow("stone") << 3 << 3;
}

void TestHiDpi::tilePixelsBecomeExactBlocks() {
    QFETCH(int, column);
    QFETCH(int, tile);
    const QImage image = krelwin::render::TileSet::builtIn().image(tile);
    const QPoint origin = QPoint(column * Pitch, 1 * Pitch) * Ratio;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 28; ++x) {
            const QRgb expected = overBlack(image.pixel(x, y));
            for (int dy = 0; dy < Ratio; ++dy)
                for (int dx = 0; dx < Ratio; ++dx) {
                    const QPoint device = origin + QPoint(x * Ratio + dx, y * Ratio + dy);
                    if (grabbed.pixel(device) != expected)
                        QFAIL(qPrintable(QString("tile pixel %1,%2 at device %3,%4: %5, not %6")
                                             .arg(x)
                                             .arg(y)
                                             .arg(device.x())
                                             .arg(device.y())
                                             .arg(grabbed.pixel(device), 8, 16)
                                             .arg(expected, 8, 16)));
                }
        }
}

void TestHiDpi::gridLinesAndMarksStayOnePixel() {
    // The line after column 2 is device columns 2 * (2 * 29 + 28) and the next one; the pixels
    // either side belong to the earth tile and to the stone cell.
    const int line = (2 * Pitch + 28) * Ratio;
    const int y = (1 * Pitch + 14) * Ratio;
    QCOMPARE(grabbed.pixel(line, y), Silver);
    QCOMPARE(grabbed.pixel(line + 1, y), Silver);
    QVERIFY(grabbed.pixel(line + 2, y) != Silver);
    // The ">" mark: the third pixel column from the cell's right edge, two device pixels wide.
    const int mark = (1 * Pitch + 25) * Ratio;
    for (int row = (1 * Pitch) * Ratio; row < (1 * Pitch + 28) * Ratio; ++row) {
        QCOMPARE(grabbed.pixel(mark, row), Silver);
        QCOMPARE(grabbed.pixel(mark + 1, row), Silver);
    }
    QVERIFY(grabbed.pixel(mark - 1, y) != Silver);
    QVERIFY(grabbed.pixel(mark + 2, y) != Silver);
}

int main(int argc, char** argv) {
    // Ratio 2 must be in force before the application starts.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(Ratio));
    QApplication application(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
