// The parameters dialog, the generator's shares and the stage list dialog with its renaming.
#include "EditorFixture.h"

#include "MessageBoxDialogue.h"

#include <QRadioButton>

#include <memory>

using namespace fixture;

namespace {

// Shows the parameters dialog as "Parametry etapu" does and lets `inDialog` act on it.
bool showParameters(const std::function<void()>& inDialog) {
    return inDialogOf(Form1->Parametryetapu1, inDialog);
}

const std::vector<std::string> StageNames{"Alfa", "Beta", "Gamma", "Delta", "Epsilon", "Zeta"};

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void init() {
        startEditor();
        QVERIFY(newStage());
    }
    void cleanup() { stopEditor(); }

    void parametersLayoutLeavesEveryLabelBeforeItsField() {
        QCOMPARE(Form2->windowTitle(), QStringLiteral("Parametry etapu"));
        QCOMPARE(Form2->BitBtn1->text(), QStringLiteral("&Zatwierdź"));
        QCOMPARE(Form2->BitBtn2->text(), QStringLiteral("&Anuluj"));
        // "&Zatwierdź" is the default outside the buttons (Enter in a text field, tested below).
        const QList<QPair<QLabel*, QWidget*>> rows{
            {Form2->Label1, Form2->SESzer},  {Form2->Label2, Form2->SEWys},
            {Form2->Label3, Form2->SEIleD},  {Form2->Label4, Form2->SEPktD},
            {Form2->Label5, Form2->SECzasG}, {Form2->Label6, Form2->SEMagMur},
            {Form2->Label7, Form2->SERozL},  {Form2->Label8, Form2->SELawP},
            {Form2->Label9, Form2->EEtap},   {Form2->Label10, Form2->EKolory},
            {Form2->Label11, Form2->EPlik}};
        for (const auto& [label, field] : rows)
            QVERIFY2(label->x() + label->sizeHint().width() <= field->x(),
                     qPrintable(label->text()));
        // The file name panel shows for "Nowy" only, above the rest.
        QVERIFY(showParameters([] { QVERIFY(Form2->Panel2->isHidden()); }));
        QVERIFY(inDialogOf(Form1->Nowy1, [] {
            QVERIFY(Form2->Panel2->isVisible());
            QCOMPARE(Form2->Panel1->y(), Form2->Panel2->geometry().bottom() + 1);
        }));
    }

    void parametersPassThroughTheFieldsClampedWithTheTypeMapped() {
        krelwin::ParametryEtapu& parametry = Stan->etap.parametry;
        parametry.IleD = 0;
        parametry.CzasG = 0;
        parametry.Szer = 95;
        parametry.Typ = 'X';
        parametry.Kolory = "dowolny tekst";
        Form2->ParametryDoDialogu();
        QCOMPARE(Form2->typIndex(), 1);
        QCOMPARE(Form2->SEIleD->text(), QStringLiteral("1"));
        const krelwin::ParametryEtapu entered = Form2->ParametryZDialogu().parametry;
        QCOMPARE(entered.IleD, 1);
        QCOMPARE(entered.CzasG, 5);
        QCOMPARE(entered.Szer, 80);
        QCOMPARE(entered.Typ, 'B');
        QCOMPARE(entered.Kolory, std::string("dowolny tekst"));
    }

    void confirmTakesTheFieldsAsReadAndCancelForgetsThem() {
        QVERIFY(showParameters([] {
            Form2->SESzer->setFocus();
            Form2->SESzer->selectAll();
            QTest::keyClick(Form2->SESzer, Qt::Key_Backspace); // unreadable: the minimum
            Form2->SEWys->setFocus();
            QTest::keyClick(Form2->SEWys, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(Form2->SEWys, QStringLiteral("5"));
            Form2->EKolory->setText(QStringLiteral("01,02"));
            Form2->RGTypBonusowy->setChecked(true);
            QTest::keyClick(Form2, Qt::Key_Z, Qt::AltModifier); // leaves "5" unclamped in view
        }));
        QCOMPARE(Form2->result(), int(QDialog::Accepted));
        QCOMPARE(Form2->SEWys->text(), QStringLiteral("5"));
        const krelwin::ParametryEtapu confirmed = Stan->etap.parametry;
        QCOMPARE(confirmed.Szer, 18);
        QCOMPARE(confirmed.Wys, 10);
        QCOMPARE(confirmed.Kolory, std::string("01,02"));
        QCOMPARE(confirmed.Typ, 'B');
        QCOMPARE(Form1->DG1->rowCount(), 12);
        QVERIFY(showParameters([] {
            QCOMPARE(Form2->SESzer->text(), QStringLiteral("18"));
            Form2->SESzer->setValue(60);
            Form2->EEtap->setText(QStringLiteral("Inny"));
            Form2->RGTypZwykly->setChecked(true);
            QTest::mouseClick(Form2->BitBtn2, Qt::LeftButton);
        }));
        QCOMPARE(Stan->etap.parametry, confirmed);
        QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Etap 01"));
        QVERIFY(showParameters([] {
            QCOMPARE(Form2->SESzer->text(), QStringLiteral("18"));
            QCOMPARE(Form2->EEtap->text(), QStringLiteral("Etap 01"));
            QCOMPARE(Form2->typIndex(), 1);
        }));
    }

    void enterConfirmsButNotInANumberFieldAndEscapeCancels() {
        bool stillOpen = false;
        QWidget* firstFocus = nullptr;
        QVERIFY(showParameters([&] { firstFocus = QApplication::focusWidget(); }));
        QCOMPARE(firstFocus, static_cast<QWidget*>(Form2->EEtap));
        QVERIFY(showParameters([&] {
            Form2->SEIleD->setFocus();
            QTest::keyClick(Form2->SEIleD, Qt::Key_Return);
            stillOpen = Form2->isVisible();
            Form2->EEtap->setFocus();
            Form2->EEtap->selectAll();
            QTest::keyClicks(Form2->EEtap, QStringLiteral("Jaskinia"));
            QTest::keyClick(Form2->EEtap, Qt::Key_Return);
        }));
        QVERIFY(stillOpen);
        QCOMPARE(Form2->result(), int(QDialog::Accepted));
        QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Jaskinia"));
        // Enter on the focused "&Anuluj" cancels; the default button takes it only elsewhere.
        const QList<QPair<QWidget*, Qt::Key>> cancelling{{Form2->EKolory, Qt::Key_Escape},
                                                         {Form2->BitBtn2, Qt::Key_Return}};
        for (const auto& [widget, key] : cancelling) {
            QVERIFY(showParameters([focus = widget, press = key] {
                Form2->SESzer->setValue(50);
                focus->setFocus();
                QTest::keyClick(focus, press);
            }));
            QCOMPARE(Form2->result(), int(QDialog::Rejected));
            QCOMPARE(Stan->etap.parametry.Szer, 32);
        }
    }

    void generatorSharesAreReadUnclamped() {
        Form4->SE[10]->setText(QStringLiteral("-9"));
        krelwin::Udzialy expected = krelwin::DomyslneUdzialy;
        expected[10] = -9;
        QCOMPARE(Form4->udzialy(), expected);
    }

    // The list dialog on its own, over a file of six stages.
    // The icons are looked up when first drawn, and then they are the style's own.
    void generatorButtonsShowTheStylesStandardIcons() {
        const QList<QPair<QPushButton*, QStyle::StandardPixmap>> buttons{
            {Form4->BitBtn1, QStyle::SP_DialogOkButton},
            {Form4->BitBtn2, QStyle::SP_DialogCancelButton}};
        for (const auto& [button, standard] : buttons) {
            const QSize size = button->iconSize();
            QCOMPARE(button->icon().actualSize(size), size);
            QCOMPARE(button->icon().pixmap(size).toImage(),
                     QApplication::style()->standardIcon(standard).pixmap(size).toImage());
        }
    }

    void stageListCancelRestoresTheSelectionAndTheName() {
        StageList list;
        list.form->selectIndex(2);
        list.expect(QDialog::Rejected, [&] {
            QCOMPARE(list.workflow.list().remembered(), 2);
            list.clickItem(5);
            QCOMPARE(list.form->EEtap->text(), QStringLiteral("Zeta"));
            QTest::mouseClick(list.form->BitBtn2, Qt::LeftButton);
        });
        QCOMPARE(list.form->selectedIndex(), 2);
        QCOMPARE(list.form->EEtap->text(), QStringLiteral("Gamma"));
        QCOMPARE(list.stan.BiezacyEtap(), QStringLiteral("unchanged"));
        // With no item remembered, the name field gets back what it held when shown.
        list.form->selectIndex(-1);
        list.form->EEtap->setText(QStringLiteral("Własna"));
        list.expect(QDialog::Rejected, [&] {
            list.clickItem(1);
            QTest::mouseClick(list.form->BitBtn2, Qt::LeftButton);
        });
        QCOMPARE(list.form->selectedIndex(), -1);
        QCOMPARE(list.form->EEtap->text(), QStringLiteral("Własna"));
        list.form->selectIndex(2);
        // Keys move the selection as clicks do; Enter and Escape in the name field press nothing.
        list.expect(QDialog::Accepted, [&] {
            list.form->ListBox1->setFocus();
            QTest::keyClick(list.form->ListBox1, Qt::Key_Down);
            QCOMPARE(list.form->EEtap->text(), QStringLiteral("Delta"));
            list.form->EEtap->setFocus();
            QTest::keyClick(list.form->EEtap, Qt::Key_Return);
            QTest::keyClick(list.form->EEtap, Qt::Key_Escape);
            QVERIFY(list.form->isVisible());
            QTest::keyClick(list.form.get(), Qt::Key_Z, Qt::AltModifier);
        });
        QCOMPARE(list.workflow.list().nameField(), QStringLiteral("Delta"));
        QCOMPARE(list.form->selectedIndex(), 3);
        // Though no button is the default, a focused button takes Enter itself.
        list.expect(QDialog::Rejected, [&] {
            list.form->BitBtn2->setFocus();
            QTest::keyClick(list.form->BitBtn2, Qt::Key_Return);
        });
    }

    // A double click below the last item chooses nothing, with or without a selection.
    void stageListDoubleClickOnEmptySpaceDoesNothing() {
        StageList list;
        MessageBoxCatcher boxes;
        for (const int selected : {-1, 2}) {
            list.form->selectIndex(selected);
            QCOMPARE(runModal(list.form.get(),
                              [&] {
                                  QWidget* viewport = list.form->ListBox1->viewport();
                                  QTest::mouseDClick(viewport, Qt::LeftButton, {},
                                                     QPoint(5, viewport->height() - 5));
                              }),
                     -1); // still open: nothing was chosen
            QCOMPARE(list.form->selectedIndex(), selected);
        }
        QVERIFY2(boxes.shown.empty(), qPrintable(boxes.texts().join('|')));
    }

    void stageListRenameRewritesOnlyTheNameLine() {
        StageList list;
        list.expect(QDialog::Rejected, [&] {
            list.clickItem(3);
            QTest::mouseClick(list.form->BitBtn3, Qt::LeftButton);
            QVERIFY(list.form->Panel1->isVisible());
            QCOMPARE(list.form->Edit1->text(), QStringLiteral("Delta"));
            list.form->Edit1->selectAll();
            typeText(list.form->Edit1, QStringLiteral("Żółw"));
            QTest::keyClick(list.form->Edit1, Qt::Key_Return);
            QVERIFY(list.form->isVisible() && !list.form->Panel1->isVisible());
            QTest::mouseClick(list.form->BitBtn2, Qt::LeftButton);
        });
        std::string expected = stageFile(StageNames);
        expected.replace(expected.find("(Delta)"), 7, "(\xAF\xF3\xB3w)");
        QCOMPARE(readBytes(list.path), expected);
        QCOMPARE(list.form->itemText(3), QStringLiteral("Żółw"));
        // Without a selection the rename button does nothing.
        list.form->selectIndex(-1);
        runModal(list.form.get(), [&] {
            QTest::mouseClick(list.form->BitBtn3, Qt::LeftButton);
            QVERIFY(list.form->Panel1->isHidden());
        });
        QCOMPARE(readBytes(list.path), expected);
    }

    void stageListRefusedRenameLeavesTheListMatchingTheFile() {
        StageList list;
        const std::string shorter = stageFile({"Alfa", "Beta"}); // item 4 names no stage now
        writeBytes(list.path, shorter);
        MessageBoxCatcher boxes;
        runModal(list.form.get(), [&] {
            list.clickItem(4);
            QTest::mouseClick(list.form->BitBtn3, Qt::LeftButton);
            typeText(list.form->Edit1, QStringLiteral("Nowa"));
            QTest::keyClick(list.form->Edit1, Qt::Key_Return);
            QVERIFY(list.form->isVisible());
        });
        // The refusal, then the list as the file now holds it.
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown.front().icon, QMessageBox::NoIcon);
        QVERIFY2(boxes.texts().front().contains(QStringLiteral("zmieniony przez inny program")),
                 qPrintable(boxes.texts().front()));
        QVERIFY2(boxes.texts().front().endsWith(QStringLiteral(
                     "\n\nLista etapów została odczytana z pliku ponownie. Na pozycji nr 5 nie ma "
                     "już etapu „Epsilon”, więc żaden etap nie jest zaznaczony, a „Zapisz” dopisze "
                     "etap na końcu pliku.")),
                 qPrintable(boxes.texts().front()));
        QCOMPARE(list.form->itemText(1), QStringLiteral("Beta"));
        QCOMPARE(list.form->nameCount(), 2);
        QCOMPARE(list.form->selectedIndex(), -1);
        QCOMPARE(readBytes(list.path), shorter);
        // "&Anuluj" on an empty list has no item to take a name from: the field keeps its text.
        list.workflow.list().clear();
        list.form->EEtap->setText(QStringLiteral("Pole"));
        list.expect(QDialog::Rejected,
                    [&] { QTest::mouseClick(list.form->BitBtn2, Qt::LeftButton); });
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(list.form->EEtap->text(), QStringLiteral("Pole"));
    }

    void stageListShowsAHugeNameCutAndWritesItWhole() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dlugi.map"));
        std::string huge;
        while (huge.size() < 1024 * 1024)
            huge += "Bardzo d\xB3uga nazwa "; // "ł" in cp1250
        const std::string bytes = stageFile({huge, "Krotki"});
        writeBytes(path, bytes);
        MessageBoxCatcher boxes;
        QVERIFY(openFile(path));
        QVERIFY(inDialogOf(Form1->Wybierzetap1, [&] {
            const QString shown = Form3->ListBox1->model()->index(0, 0).data().toString();
            QCOMPARE(shown.size(), ShownNameLength);
            QVERIFY(shown.startsWith(QStringLiteral("Bardzo długa nazwa Bardzo")));
            QVERIFY(shown.endsWith(QChar(0x2026)));
            QCOMPARE(Form3->itemText(1), QStringLiteral("Krotki"));
            QTest::mouseClick(Form3->BitBtn1, Qt::LeftButton);
        }));
        QVERIFY(Form1->LEtap->text().size() <= ShownNameLength);
        QVERIFY(Form1->LEtap->text().endsWith(QChar(0x2026)));
        QCOMPARE(Stan->BiezacyEtap().size(), qsizetype(huge.size()));
        // The whole name goes back into the file.
        QVERIFY(save());
        QVERIFY(boxes.shown.empty());
        QCOMPARE(readBytes(path), bytes);
    }

private:
    struct StageList {
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("Plan01.map"));
        EditorState stan;
        MessageBoxDialogue dialogue;
        FileWorkflow workflow{stan, dialogue};
        std::unique_ptr<TForm3> form = std::make_unique<TForm3>(workflow);

        StageList() {
            writeBytes(path, stageFile(StageNames));
            stan.setBiezacyPlik(path);
            stan.setBiezacyEtap(QStringLiteral("unchanged"));
            workflow.list().setNames(krelwin::CzytajListeEtapow(native(path)));
        }
        // Shows the dialog modally, runs `whileOpen` in it and checks how it was closed.
        void expect(int result, const std::function<void()>& whileOpen) {
            QCOMPARE(runModal(form.get(), whileOpen), result);
        }
        void clickItem(int row) {
            const QModelIndex item = form->ListBox1->model()->index(row, 0);
            QTest::mouseClick(form->ListBox1->viewport(), Qt::LeftButton, {},
                              form->ListBox1->visualRect(item).center());
        }
    };
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
