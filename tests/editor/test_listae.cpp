#include "ListaE.h"

#include "TextCodec.h"
#include "errors.h"
#include "stage_file.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const std::vector<std::string> StageNames{"Alfa", "Beta", "Gamma", "Delta", "Epsilon", "Zeta"};

// A small record; its rows differ from stage to stage so that a record moved or rewritten shows.
std::string record(const std::string& name, char fill) {
    const std::string row(18, fill);
    return "(" + name + ")\r\n}\r\n18,10,010,010,010,010,010,100,Z," +
           "00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55,\r\n{\r\n" + row + "\r\n" + row +
           "\r\n";
}

std::string stageFile(const std::vector<std::string>& names) {
    std::string bytes;
    for (std::size_t i = 0; i < names.size(); ++i) {
        bytes += record(names[i], static_cast<char>('a' + i));
    }
    return bytes;
}

struct ShownBox {
    QString text = QStringLiteral("<no message box>");
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

} // namespace

class TestListaE : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void cancelRestoresTheRememberedSelectionButNotTheName();
    void keyboardMovesRunTheClickHandler();
    void doubleClickClosesWithOk();
    void enterAndEscapeInTheNameFieldPressNothing();
    void renameWithEnterRewritesOnlyTheNameLineAndSurvivesCancel();
    void renameThenConfirmKeepsTheNameOfTheClickedItem();
    void renameButtonWithoutSelectionDoesNothing();
    void refusedRenameLeavesTheListMatchingTheFile();
    void cancelOnAnEmptyListShowsTheIndexError();
    void closeBoxLeavesThePanelShownForTheNextShowing();
    void listHelpersKeepTheSelection();

private:
    // Shows the dialog modally and runs `whileOpen` inside it; a dialog left open is cancelled.
    int runDialog(const std::function<void()>& whileOpen);
    void clickItem(int row);
    void startRename(const QString& newName);
    // The next message box is read and closed with OK as soon as it opens.
    void answerNextMessageBox(ShownBox& box);
    // Types the text one key press at a time, letters outside ASCII included.
    static void typeText(QWidget* widget, const QString& text);
    std::string fileBytes() const;
    void writeFile(const std::string& bytes) const;

    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
    std::unique_ptr<TForm3> form_;
    QString biezacyEtap_;
    bool leftOpen_ = false;
};

void TestListaE::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    path_ = dir_->filePath(QStringLiteral("Plan01.map"));
    writeFile(stageFile(StageNames));
    form_ = std::make_unique<TForm3>();
    form_->biezacyPlik = [this] { return path_; };
    form_->setBiezacyEtap = [this](const QString& name) { biezacyEtap_ = name; };
    biezacyEtap_ = QStringLiteral("unchanged");
    form_->appendFileNames(krelwin::CzytajListeEtapow(path_.toStdString()));
    leftOpen_ = false;
}

void TestListaE::cleanup() {
    form_.reset();
    dir_.reset();
}

int TestListaE::runDialog(const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, form_.get(), [this, whileOpen] {
        if (QApplication::activeModalWidget() == form_.get() &&
            QTest::qWaitForWindowActive(form_.get())) {
            whileOpen();
        }
        if (form_->isVisible()) {
            leftOpen_ = true;
            form_->reject();
        }
    });
    return form_->exec();
}

void TestListaE::clickItem(int row) {
    QListWidget* list = form_->ListBox1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

void TestListaE::startRename(const QString& newName) {
    QTest::mouseClick(form_->BitBtn3, Qt::LeftButton);
    form_->Edit1->selectAll();
    typeText(form_->Edit1, newName);
}

void TestListaE::answerNextMessageBox(ShownBox& box) {
    QTimer::singleShot(0, form_.get(), [&box] {
        if (auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box.text = shown->text();
            box.icon = shown->icon();
            shown->accept();
        }
    });
}

void TestListaE::typeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
    }
}

std::string TestListaE::fileBytes() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<unreadable>";
    }
    return file.readAll().toStdString();
}

void TestListaE::writeFile(const std::string& bytes) const {
    QFile file(path_);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void TestListaE::cancelRestoresTheRememberedSelectionButNotTheName() {
    form_->selectIndex(2);
    int remembered = -2;
    const int result = runDialog([&] {
        remembered = form_->ZapamietanyIndeks;
        clickItem(5);
        QCOMPARE(form_->selectedIndex(), 5);
        QTest::mouseClick(form_->BitBtn2, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!leftOpen_);
    QCOMPARE(remembered, 2);
    QCOMPARE(form_->selectedIndex(), 2);
    QVERIFY(form_->ListBox1->item(2)->isSelected());
    QCOMPARE(form_->EEtap->text(), QStringLiteral("Zeta"));
    QCOMPARE(biezacyEtap_, QStringLiteral("unchanged"));
}

void TestListaE::keyboardMovesRunTheClickHandler() {
    form_->EEtap->setText(QStringLiteral("by program"));
    form_->selectIndex(0);
    QCOMPARE(form_->EEtap->text(), QStringLiteral("by program"));
    runDialog([&] {
        form_->ListBox1->setFocus();
        QTest::keyClick(form_->ListBox1, Qt::Key_Down);
        QCOMPARE(form_->selectedIndex(), 1);
        QCOMPARE(form_->EEtap->text(), QStringLiteral("Beta"));
        QTest::mouseClick(form_->BitBtn1, Qt::LeftButton);
    });
    QVERIFY(!leftOpen_);
    QCOMPARE(form_->selectedIndex(), 1);
    QCOMPARE(biezacyEtap_, QStringLiteral("Beta"));
}

void TestListaE::doubleClickClosesWithOk() {
    const int result = runDialog([&] {
        QListWidget* list = form_->ListBox1;
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(list->item(4)).center());
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(!leftOpen_);
    QCOMPARE(form_->selectedIndex(), 4);
    QCOMPARE(form_->EEtap->text(), QStringLiteral("Epsilon"));
    QCOMPARE(biezacyEtap_, QStringLiteral("Epsilon"));
    QCOMPARE(fileBytes(), stageFile(StageNames));
}

void TestListaE::enterAndEscapeInTheNameFieldPressNothing() {
    const int result = runDialog([&] {
        form_->EEtap->setFocus();
        form_->EEtap->setText(QStringLiteral("Nowy etap"));
        QTest::keyClick(form_->EEtap, Qt::Key_Return);
        QTest::keyClick(form_->EEtap, Qt::Key_Escape);
        QVERIFY(form_->isVisible());
        QTest::keyClick(form_.get(), Qt::Key_Z, Qt::AltModifier);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(!leftOpen_);
    QCOMPARE(biezacyEtap_, QStringLiteral("Nowy etap"));
}

void TestListaE::renameWithEnterRewritesOnlyTheNameLineAndSurvivesCancel() {
    const int result = runDialog([&] {
        clickItem(3);
        QTest::mouseClick(form_->BitBtn3, Qt::LeftButton);
        QVERIFY(form_->Panel1->isVisible());
        QCOMPARE(form_->Edit1->text(), QStringLiteral("Delta"));
        QVERIFY(form_->Edit1->hasFocus());
        form_->Edit1->selectAll();
        typeText(form_->Edit1, QStringLiteral("Żółw"));
        QTest::keyClick(form_->Edit1, Qt::Key_Return);
        QVERIFY(form_->isVisible());
        QVERIFY(!form_->Panel1->isVisible());
        QCOMPARE(form_->ListBox1->item(3)->text(), QStringLiteral("Żółw"));
        QCOMPARE(form_->selectedIndex(), 3);
        QTest::mouseClick(form_->BitBtn2, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!leftOpen_);
    std::vector<std::string> expected = StageNames;
    std::string expectedBytes = stageFile(expected);
    const std::string oldLine = "(Delta)";
    expectedBytes.replace(expectedBytes.find(oldLine), oldLine.size(), "(\xAF\xF3\xB3w)");
    QCOMPARE(fileBytes(), expectedBytes);
    QCOMPARE(form_->ListBox1->item(3)->text(), QStringLiteral("Żółw"));
    // "&Anuluj" read the selected item after the rename, before the selection went back.
    QCOMPARE(form_->EEtap->text(), QStringLiteral("Żółw"));
}

void TestListaE::renameThenConfirmKeepsTheNameOfTheClickedItem() {
    const int result = runDialog([&] {
        clickItem(1);
        startRename(QStringLiteral("Nowa"));
        QTest::mouseClick(form_->BitBtn1, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(!leftOpen_);
    QCOMPARE(biezacyEtap_, QStringLiteral("Beta"));
    QCOMPARE(form_->ListBox1->item(1)->text(), QStringLiteral("Nowa"));
    QVERIFY(form_->Panel1->isHidden());
    std::vector<std::string> renamed = StageNames;
    std::string expectedBytes = stageFile(renamed);
    expectedBytes.replace(expectedBytes.find("(Beta)"), 6, "(Nowa)");
    QCOMPARE(fileBytes(), expectedBytes);
}

void TestListaE::renameButtonWithoutSelectionDoesNothing() {
    form_->selectIndex(-1);
    form_->Edit1->setText(QStringLiteral("old"));
    runDialog([&] {
        QTest::mouseClick(form_->BitBtn3, Qt::LeftButton);
        QVERIFY(form_->Panel1->isHidden());
        QCOMPARE(form_->Edit1->text(), QStringLiteral("old"));
    });
    QCOMPARE(fileBytes(), stageFile(StageNames));
}

void TestListaE::refusedRenameLeavesTheListMatchingTheFile() {
    // The file has lost records since the list was read: the rename of item 4 names no stage.
    const std::string shorter = stageFile({"Alfa", "Beta"});
    writeFile(shorter);
    ShownBox box;
    runDialog([&] {
        clickItem(4);
        startRename(QStringLiteral("Nowa"));
        answerNextMessageBox(box);
        QTest::keyClick(form_->Edit1, Qt::Key_Return);
        QVERIFY(form_->isVisible());
        QVERIFY(form_->Panel1->isHidden());
    });
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QVERIFY(box.text != QStringLiteral("<no message box>"));
    QCOMPARE(form_->ListBox1->item(4)->text(), QStringLiteral("Epsilon"));
    QCOMPARE(fileBytes(), shorter);
}

void TestListaE::cancelOnAnEmptyListShowsTheIndexError() {
    form_->ListBox1->clear();
    form_->EEtap->setText(QStringLiteral("Stara"));
    ShownBox box;
    const int result = runDialog([&] {
        answerNextMessageBox(box);
        QTest::mouseClick(form_->BitBtn2, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!leftOpen_);
    QCOMPARE(box.text, QStringLiteral("List index out of bounds (-1)"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(form_->EEtap->text(), QStringLiteral("Stara"));
}

void TestListaE::closeBoxLeavesThePanelShownForTheNextShowing() {
    form_->selectIndex(0);
    const int result = runDialog([&] {
        clickItem(4);
        startRename(QStringLiteral("Nowa"));
        form_->close();
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!leftOpen_);
    QCOMPARE(form_->selectedIndex(), 0);
    QVERIFY(!form_->Panel1->isHidden());
    QCOMPARE(form_->Edit1->text(), QStringLiteral("Nowa"));

    // The panel comes back with its text, and its rename applies to the item now selected.
    bool panelShown = false;
    runDialog([&] {
        panelShown = form_->Panel1->isVisible();
        QTest::keyClick(form_->Edit1, Qt::Key_Return);
        QTest::mouseClick(form_->BitBtn2, Qt::LeftButton);
    });
    QVERIFY(panelShown);
    QCOMPARE(form_->ListBox1->item(0)->text(), QStringLiteral("Nowa"));
    QCOMPARE(form_->ListBox1->item(4)->text(), QStringLiteral("Epsilon"));
    QCOMPARE(krelwin::CzytajListeEtapow(path_.toStdString()),
             (std::vector<std::string>{"Nowa", "Beta", "Gamma", "Delta", "Epsilon", "Zeta"}));
}

void TestListaE::listHelpersKeepTheSelection() {
    form_->selectIndex(1);
    form_->appendName(QStringLiteral("Eta"));
    form_->appendFileNames({"\xA3\xF3"
                            "d\x9F"});
    QCOMPARE(form_->ListBox1->count(), 8);
    QCOMPARE(form_->selectedIndex(), 1);
    QCOMPARE(form_->itemText(7), QStringLiteral("Łódź"));
    QCOMPARE(form_->selectedItemText(), QStringLiteral("Beta"));
    try {
        form_->itemText(8);
        QFAIL("an item past the end was read");
    } catch (const krelwin::RuntimeError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("List index out of bounds (8)"));
    }
    form_->ListBox1->clear();
    QCOMPARE(form_->selectedIndex(), -1);
}

QTEST_MAIN(TestListaE)
#include "test_listae.moc"
