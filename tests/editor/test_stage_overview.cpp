// The dialog "Przegląd etapów" through the real window: a double click chooses a stage as
// "Wybierz etap" does, question about unsaved changes included; a picture dragged to another
// place, or moved by its context menu, moves its stage in the file (compared byte for byte with
// records written out here), its picture with it; and the overview follows the file when
// krelwin-stage, run as another program, changes it.
#include "EditorFixture.h"
#include "StageOverview.h"
#include "StageOverviewModel.h"
#include "StageOverviewView.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QProcess>

using namespace fixture;

namespace {

const std::string Alfa = record("Alfa", '+');
const std::string Beta = record("Beta", 'o');
const std::string Gamma = record("Gamma", '*');

StageOverview* overview() {
    return Form1->PrzegladEtapow;
}

StageOverviewModel* model() {
    return overview()->model();
}

QStringList shownNames() {
    QStringList names;
    for (int row = 0; row < model()->rowCount(); ++row)
        names << model()->index(row).data(Qt::DisplayRole).toString();
    return names;
}

bool everyPictureDrawn() {
    for (int row = 0; row < model()->rowCount(); ++row)
        if (!model()->hasPicture(row))
            return false;
    return model()->rowCount() > 0;
}

QImage pictureOf(int row) {
    return model()->index(row).data(StageOverviewModel::PictureRole).value<QPixmap>().toImage();
}

QPoint pictureCentre(int row) {
    return overview()->Obrazy->visualRect(model()->index(row)).center();
}

// A double click as the window system delivers it: a click, then the second press.
void doubleClickPicture(int row) {
    QWidget* viewport = overview()->Obrazy->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, pictureCentre(row));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, pictureCentre(row));
}

// The picture of `from` dragged over the view and dropped at `point`, as the drag delivers it.
void dropPicture(int from, QPoint point) {
    StageOverviewView* view = overview()->Obrazy;
    const std::unique_ptr<QMimeData> data(view->dragData(from));
    QDragEnterEvent enter(point, Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &enter);
    QDragMoveEvent move(point, Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &move);
    QDropEvent drop(point, Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &drop);
}

bool stageTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(KRELWIN_STAGE_PATH), arguments);
    return tool.waitForFinished() && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

} // namespace

class TestStageOverview : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(session_.start());
        path_ = session_.folder->path(QStringLiteral("trzy.map"));
        writeBytes(path_, Alfa + Beta + Gamma);
        QVERIFY(openFile(path_));
    }
    void cleanup() { session_.stop(); }

    void aDoubleClickChoosesTheStageAfterTheQuestion_data() {
        QTest::addColumn<bool>("drop");
        QTest::newRow("Tak") << true;
        QTest::newRow("Nie") << false;
    }
    void aDoubleClickChoosesTheStageAfterTheQuestion() {
        QFETCH(bool, drop);
        paint(3, 5, 5); // earth on earth changes nothing
        paint(4, 6, 6);
        session_.boxes->replaceAnswer = drop ? QMessageBox::Yes : QMessageBox::No;
        QVERIFY(inDialogOf(Form1->Przegldetapw1, [&] {
            QTRY_VERIFY(everyPictureDrawn());
            QCOMPARE(shownNames(), QStringList({"1. Alfa", "2. Beta", "3. Gamma"}));
            doubleClickPicture(2);
            QTRY_COMPARE(session_.boxes->shown.size(), std::size_t(1));
            QCOMPARE(overview()->isVisible(), !drop);
        }));
        QCOMPARE(session_.boxes->texts(),
                 QStringList({QStringLiteral("Etap „Alfa” ma niezapisane zmiany. Porzucić je?")}));
        QCOMPARE(Stan->BiezacyEtap(), drop ? QStringLiteral("Gamma") : QStringLiteral("Alfa"));
        QCOMPARE(Form1->LEtap->text(), Stan->BiezacyEtap());
        QCOMPARE(Form3->selectedIndex(), drop ? 2 : 0);
        QCOMPARE(cell(6, 6), drop ? '*' : 'o');
        QCOMPARE(readBytes(path_), Alfa + Beta + Gamma);
        if (drop) { // the load is one step, which brings Alfa back with its stone
            Form1->Cofnij1->trigger();
            QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Alfa"));
            QCOMPARE(cell(6, 6), 'o');
        }
    }

    // The selected stage (Alfa, where "Zapisz" writes) goes where it is dropped, and stays
    // selected; a copy made from the context menu becomes the current picture.
    void aPictureDraggedOrMovedByItsMenuMovesItsStage() {
        QVERIFY(inDialogOf(Form1->Przegldetapw1, [&] {
            QTRY_VERIFY(everyPictureDrawn());
            const QImage alfa = pictureOf(0);
            // On the right half of Gamma's picture: after it.
            dropPicture(0, pictureCentre(2) + QPoint(10, 0));
            QTRY_COMPARE(shownNames(), QStringList({"1. Beta", "2. Gamma", "3. Alfa"}));
            QCOMPARE(overview()->Obrazy->currentIndex().row(), 2);
            QTRY_VERIFY(everyPictureDrawn());
            QCOMPARE(pictureOf(2), alfa);
            // On the left half of Beta's: before it, where it stands: nothing happens.
            dropPicture(0, pictureCentre(0) - QPoint(10, 0));
            overview()->Obrazy->setCurrentIndex(model()->index(1));
            overview()->Przesuwyej1->trigger();
            QTRY_COMPARE(shownNames(), QStringList({"1. Gamma", "2. Beta", "3. Alfa"}));
            overview()->Powiel1->trigger();
            QTRY_COMPARE(shownNames(), QStringList({"1. Gamma", "2. Gamma", "3. Beta", "4. Alfa"}));
            QCOMPARE(overview()->Obrazy->currentIndex().row(), 1);
        }));
        QCOMPARE(readBytes(path_), Gamma + Gamma + Beta + Alfa);
        QCOMPARE(Form3->selectedIndex(), 3);
        QCOMPARE(listItems(), QStringList({"Gamma", "Gamma", "Beta", "Alfa"}));
        QVERIFY(session_.boxes->shown.empty());
    }

    void theOverviewFollowsAnOutsideChange() {
        QVERIFY(inDialogOf(Form1->Przegldetapw1, [&] {
            QTRY_VERIFY(everyPictureDrawn());
            const QImage gamma = pictureOf(2);
            QCOMPARE(overview()->LLiczba->text(), QStringLiteral("Etapów w pliku: 3"));
            QVERIFY(stageTool(
                {QStringLiteral("move"), path_, QStringLiteral("2"), QStringLiteral("0")}));
            QTRY_COMPARE(shownNames(), QStringList({"1. Gamma", "2. Alfa", "3. Beta"}));
            QTRY_VERIFY(everyPictureDrawn());
            QCOMPARE(pictureOf(0), gamma);
            QVERIFY(stageTool({QStringLiteral("delete"), path_, QStringLiteral("1")}));
            QTRY_COMPARE(shownNames(), QStringList({"1. Gamma", "2. Beta"}));
            QCOMPARE(overview()->LLiczba->text(), QStringLiteral("Etapów w pliku: 2"));
        }));
    }

private:
    EditorSession session_;
    QString path_;
};

QTEST_MAIN(TestStageOverview)
#include "test_stage_overview.moc"
