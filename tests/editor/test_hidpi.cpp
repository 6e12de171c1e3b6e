// The map view on a display of device pixel ratio 2: tiles are enlarged without smoothing, so
// every tile pixel becomes an exact 2x2 block, and grid lines and direction marks stay one
// device-independent pixel (two device pixels) wide.
#include "CellRenderer.h"
#include "MapView.h"
#include "TileSet.h"

#include <QApplication>
#include <QTest>

namespace {

const QRgb Silver = qRgb(192, 192, 192);
constexpr int Ratio = 2;
constexpr int Pitch = 29;

} // namespace

class TestHiDpi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Row 1: a butterfly facing right, earth and stone in columns 1 to 3; rivets elsewhere.
        view.setRowCount(3);
        view.setColumnCount(5);
        view.setPenColor(Qt::black);
        view.setDrawCellHandler([this](QPainter& canvas, int column, int row, const QRect& rect) {
            const char code = row == 1 && column >= 1 && column <= 3 ? ">+o"[column - 1] : '#';
            krelwin::render::drawCell(canvas, view.tiles(), code, rect);
        });
        view.resize(250, 150);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QPixmap pixmap = view.viewport()->grab();
        QCOMPARE(pixmap.devicePixelRatio(), qreal(Ratio));
        grabbed = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    }

    void tilePixelsBecomeExactBlocks() {
        for (const int column : {2, 3}) { // earth and stone, tiles 2 and 3
            const QImage tile = krelwin::render::TileSet::builtIn().image(column);
            const QPoint origin = QPoint(column * Pitch, 1 * Pitch) * Ratio;
            for (int y = 0; y < 28; ++y)
                for (int x = 0; x < 28; ++x) {
                    const QRgb pixel = tile.pixel(x, y); // over the black fill: all or nothing
                    const QRgb expected = qAlpha(pixel) == 0 ? qRgb(0, 0, 0) : pixel | 0xff000000u;
                    for (int d = 0; d < Ratio * Ratio; ++d) {
                        const QPoint device = origin + QPoint(x, y) * Ratio + QPoint(d % 2, d / 2);
                        if (grabbed.pixel(device) != expected)
                            QFAIL(qPrintable(QString("tile %1: %2,%3").arg(column).arg(x).arg(y)));
                    }
                }
        }
    }

    void gridLinesAndMarksStayOnePixel() {
        // The line after column 2, between the earth tile and the stone cell.
        const int line = (2 * Pitch + 28) * Ratio;
        const int y = (1 * Pitch + 14) * Ratio;
        QCOMPARE(grabbed.pixel(line, y), Silver);
        QCOMPARE(grabbed.pixel(line + 1, y), Silver);
        QVERIFY(grabbed.pixel(line + 2, y) != Silver);
        // The ">" mark: the third pixel column from the cell's right edge, two device pixels.
        const int mark = (1 * Pitch + 25) * Ratio;
        for (int row = Pitch * Ratio; row < (Pitch + 28) * Ratio; ++row) {
            QCOMPARE(grabbed.pixel(mark, row), Silver);
            QCOMPARE(grabbed.pixel(mark + 1, row), Silver);
        }
        QVERIFY(grabbed.pixel(mark - 1, y) != Silver);
        QVERIFY(grabbed.pixel(mark + 2, y) != Silver);
    }

private:
    MapView view;
    QImage grabbed;
};

int main(int argc, char** argv) {
    // Ratio 2 must be in force before the application starts.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(Ratio));
    QApplication application(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
