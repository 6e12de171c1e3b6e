// A picture of a stage, as krelwin-stage render draws and writes it, and the editor's map view
// showing the same stage agree pixel for pixel. The view's current cell (0, 0) is left out:
// it alone carries the selection highlight and the focus rectangle, which a picture never has.
#include "EditorFixture.h"

#include "StagePicture.h"
#include "stage_file.h"

#include <QTemporaryDir>

#include <fstream>

namespace {

// 18 x 10 with every kind of cell, all four directions of both creatures and a byte outside
// the alphabet ("?"), so that every tile, mark and plain square is compared.
const char* const StageText = "(Wszystko)\r\n}\r\n"
                              "18,10,010,010,010,010,010,100,Z,00,00,00,20,40,00,10,30,40,20,"
                              "61,40,05,35,05,10,10,55,\r\n{\r\n"
                              "S+++++o+++++*+++++\r\n"
                              "<>^v/-|\\.?++++.+++\r\n"
                              "+*+++++++o++++...+\r\n"
                              "======\"\"\"=====%===\r\n"
                              "++++o++++++++.>..+\r\n"
                              "+*++o+++++++++...+\r\n"
                              "+++++++#+++~~~++++\r\n"
                              ".../..+++#+++&&+*+\r\n"
                              "+++++++++#++o+++++\r\n"
                              "+*+o++++++++++++W+\r\n";

} // namespace

class TestRenderVsView : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pictureMatchesTheView_data();
    void pictureMatchesTheView();

private:
    QTemporaryDir folder;
    std::string stagePath;
};

void TestRenderVsView::initTestCase() {
    QVERIFY(folder.isValid());
    stagePath = folder.filePath("stage.map").toStdString();
    std::ofstream(stagePath, std::ios::binary) << StageText;
    fixture::startEditor();
    QVERIFY(fixture::newStage(18, 10));
    krelwin::CzytajEtap(stagePath, 0, Form1->etap);
    // Large enough to show every cell with grid lines.
    Form1->resize(900, 700);
    Form1->DG1->setCurrentRow(0);
    Form1->DG1->setCurrentColumn(0);
    QApplication::processEvents();
}

void TestRenderVsView::cleanupTestCase() {
    fixture::stopEditor();
}

void TestRenderVsView::pictureMatchesTheView_data() {
    QTest::addColumn<bool>("grid");
    QTest::newRow("grid lines") << true;
    QTest::newRow("no grid lines") << false;
}

void TestRenderVsView::pictureMatchesTheView() {
    QFETCH(bool, grid);
    if (Form1->Siatka1->isChecked() != grid)
        Form1->Siatka1->trigger();
    QCOMPARE(Form1->DG1->gridLineWidth(), grid ? 1 : 0);
    Form1->DG1->repaintAll();
    QApplication::processEvents();
    const QImage view =
        Form1->DG1->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // The picture the render command writes: loaded as show loads it, through a PNG file.
    krelwin::Etap etap;
    krelwin::CzytajEtap(stagePath, 0, etap);
    const QString png = folder.filePath("stage.png");
    QVERIFY(krelwin::render::pictureOfStage(etap, {grid, 1}).save(png, "PNG"));
    const QImage picture = QImage(png).convertToFormat(QImage::Format_RGB32);

    const int pitch = grid ? 29 : 28;
    QCOMPARE(picture.size(), QSize(20 * pitch, 12 * pitch));
    QVERIFY2(view.width() >= picture.width() && view.height() >= picture.height(),
             "the view must show the whole stage");
    const QRect currentCell(0, 0, 28, 28);
    int compared = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            if (currentCell.contains(x, y))
                continue;
            if (view.pixel(x, y) != picture.pixel(x, y))
                QFAIL(qPrintable(QString("pixel %1,%2: view %3, picture %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(view.pixel(x, y), 8, 16)
                                     .arg(picture.pixel(x, y), 8, 16)));
            ++compared;
        }
    QCOMPARE(compared, picture.width() * picture.height() - 28 * 28);
}

QTEST_MAIN(TestRenderVsView)
#include "test_render_vs_view.moc"
