// A stage file named on the command line is opened through the real main window exactly as
// "Otwórz" opens the file its dialog returns: the same state and the same messages, for a good,
// a missing and a broken file. Also the window's icon, drawn from whole pixel squares.
#include "EditorFixture.h"

#include "PixelIcon.h"

#include <memory>

using namespace fixture;

namespace {

// Everything an open can change or report.
struct Outcome {
    QStringList names{Stan->BiezacyPlik(), Stan->BiezacyEtap()};
    QStringList items = listItems();
    int selected = Form3->selectedIndex();
    bool viewShown = Form1->DG1->isVisible();
    bool statusShown = Form1->LPlik->isVisible();
    bool zapiszEnabled = Form1->Zapisz1->isEnabled();
    krelwin::Etap stage = Stan->etap;
    QString nextDialogStart = Form1->OpenDialog1->fileName();
    bool unsaved = Workflow->history().hasUnsavedChanges();
    QStringList messages;
    bool operator==(const Outcome&) const = default;
};

enum class Way { Dialog, CommandLine };

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<WorkingFolder>();
        QVERIFY(folder_->isValid());
        writeBytes(folder_->path(QStringLiteral("dobry.map")), stageFile({"Alfa", "Beta"}));
        // A parameter line whose numbers do not convert.
        writeBytes(folder_->path(QStringLiteral("zepsuty.map")),
                   "(Zly)\r\n}\r\nabc,10,010,010,010,010,010,100,Z,\r\n{\r\n");
    }
    void cleanup() { folder_.reset(); }

    void opensAsOtworzDoes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QString>("message");
        QTest::newRow("good") << "dobry.map" << true << QString();
        QTest::newRow("missing") << "brak.map" << false << "Brak pliku: %1...";
        // The width is read from the first two characters of its field.
        QTest::newRow("broken") << "zepsuty.map" << false << "'ab' is not a valid integer value.";
    }
    void opensAsOtworzDoes() {
        QFETCH(QString, name);
        QFETCH(bool, opened);
        QFETCH(QString, message);
        const QString path = folder_->path(name);
        const Outcome byDialog = openedBy(Way::Dialog, path);
        // A relative name, as typed in a shell, ends up as the dialog's absolute one.
        const Outcome byCommandLine = openedBy(Way::CommandLine, name);
        QCOMPARE(byCommandLine.messages, byDialog.messages); // the likeliest difference, shown
        QVERIFY(byCommandLine == byDialog);

        QCOMPARE(byCommandLine.viewShown, opened);
        QCOMPARE(byCommandLine.statusShown, opened); // a failed open leaves the welcome screen
        QCOMPARE(byCommandLine.nextDialogStart, path);
        if (opened) {
            QCOMPARE(byCommandLine.names, QStringList({path, "Alfa"}));
            QCOMPARE(byCommandLine.items, QStringList({"Alfa", "Beta"}));
            QVERIFY(byCommandLine.messages.isEmpty());
        } else {
            QCOMPARE(byCommandLine.messages,
                     QStringList(message.contains("%1") ? message.arg(path) : message));
        }
    }

    void theIconIsMadeOfWholePixelSquares_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("square");
        QTest::addColumn<int>("margin");
        QTest::newRow("16") << 16 << 1 << 0;
        QTest::newRow("24, padded") << 24 << 1 << 4;
        QTest::newRow("48") << 48 << 3 << 0;
        QTest::newRow("128") << 128 << 8 << 0;
    }
    void theIconIsMadeOfWholePixelSquares() {
        QFETCH(int, size);
        QFETCH(int, square);
        QFETCH(int, margin);
        // Four coloured pixels in a 16-pixel drawing: each must come out a square of one colour.
        QImage drawing(16, 16, QImage::Format_ARGB32);
        drawing.fill(Qt::transparent);
        const std::vector<std::pair<QPoint, QRgb>> dots{{{0, 0}, 0xFFFF0000},
                                                        {{15, 0}, 0xFF00FF00},
                                                        {{7, 8}, 0xFF0000FF},
                                                        {{15, 15}, 0xFFFFFF00}};
        for (const auto& [at, colour] : dots)
            drawing.setPixel(at, colour);
        const QImage icon = krelwin::pixelIconAt(drawing, size);
        QCOMPARE(icon.size(), QSize(size, size));
        for (const auto& [at, colour] : dots) {
            const QPoint corner = at * square + QPoint(margin, margin);
            QCOMPARE(icon.pixel(corner), colour);
            QCOMPARE(icon.pixel(corner + QPoint(square - 1, square - 1)), colour);
        }
        // Right of and below the middle dot's square the drawing is transparent: no blur.
        const QPoint afterMiddle = QPoint(8, 9) * square + QPoint(margin, margin);
        QCOMPARE(icon.pixel(afterMiddle.x(), afterMiddle.y() - 1), QRgb(0));
        QCOMPARE(icon.pixel(afterMiddle.x() - 1, afterMiddle.y()), QRgb(0));
        if (margin > 0)
            QCOMPARE(icon.pixel(margin - 1, margin), QRgb(0));
    }

    void theApplicationIconHasEveryThemeSize() {
        QList<QSize> expected;
        for (const int size : {16, 24, 32, 48, 64, 96, 128})
            expected << QSize(size, size);
        QCOMPARE(krelwin::applicationIcon().availableSizes(), expected);
    }

private:
    Outcome openedBy(Way way, const QString& path) {
        startEditor();
        MessageBoxCatcher boxes;
        if (way == Way::Dialog)
            openFile(path);
        else
            Form1->otworzZWierszaPolecen(path);
        QApplication::processEvents();
        Outcome outcome;
        outcome.messages = boxes.texts();
        stopEditor();
        return outcome;
    }

    std::unique_ptr<WorkingFolder> folder_;
};

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
