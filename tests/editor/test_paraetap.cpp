#include "EditorFixture.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace fixture;

namespace {

// Shows the parameters dialog as "Parametry etapu" does and lets `inDialog` act on it.
bool showParameters(const std::function<void()>& inDialog) {
    return withModalDialog([] { Form1->Parametryetapu1->trigger(); },
                           [&](QWidget*) { inDialog(); });
}

} // namespace

class TestParaEtap : public QObject {
    Q_OBJECT

private slots:
    void init() {
        startEditor();
        QVERIFY(newStage());
    }
    void cleanup() { stopEditor(); }

    void layoutFollowsTheForm();
    void panel2MovesPanel1();
    void tabOrderFollowsTheGroups();
    void passThroughTheFieldsClampsAndMapsTheType();
    void clearedWidthConfirmsAsTheMinimum();
    void typedNumberIsClampedOnLeavingOrOnReading();
    void acceleratorConfirmsWithoutLeavingTheField();
    void enterInANumberFieldKeepsTheDialogOpen();
    void enterInTheNameFieldConfirms();
    void escapeOutsideANumberFieldCancels();
    void cancelledChangesAreGoneAtTheNextShowing();
    void confirmSizesTheViewAndTakesTheNameAndColours();
    void nameFieldLimitsTypingOnly();
};

void TestParaEtap::layoutFollowsTheForm() {
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Parametry etapu"));
    QCOMPARE(Form2->size(), QSize(538, 264));
    QCOMPARE(Form2->RGTyp->geometry(), QRect(4, 60, 141, 81));
    QCOMPARE(Form2->GroupBox1->geometry(), QRect(152, 60, 141, 81));
    QCOMPARE(Form2->GroupBox2->geometry(), QRect(300, 60, 225, 113));
    QCOMPARE(Form2->GroupBox3->geometry(), QRect(4, 144, 289, 113));
    QCOMPARE(Form2->BitBtn1->geometry(), QRect(304, 229, 105, 25));
    QCOMPARE(Form2->BitBtn2->geometry(), QRect(416, 229, 105, 25));
    QCOMPARE(Form2->BitBtn1->text(), QStringLiteral("&Zatwierdź"));
    QCOMPARE(Form2->BitBtn2->text(), QStringLiteral("&Anuluj"));
    QVERIFY(Form2->BitBtn1->isDefault());
    QCOMPARE(Form2->SELawP->geometry(), QRect(216, 76, 49, 22));
    QCOMPARE(Form2->SEIleD->geometry(), QRect(156, 20, 49, 22));
    QCOMPARE(Form2->Label8->text(),
             QStringLiteral("Czas zatrzymywania kamieni\ni diamentów przez lawe przepuszczającą:"));
    // No label runs into its field.
    const QList<QPair<QLabel*, NumberField*>> rows{
        {Form2->Label1, Form2->SESzer},  {Form2->Label2, Form2->SEWys},
        {Form2->Label3, Form2->SEIleD},  {Form2->Label4, Form2->SEPktD},
        {Form2->Label5, Form2->SECzasG}, {Form2->Label6, Form2->SEMagMur},
        {Form2->Label7, Form2->SERozL},  {Form2->Label8, Form2->SELawP}};
    for (const auto& [label, field] : rows)
        QVERIFY2(label->x() + label->sizeHint().width() <= field->x(), qPrintable(label->text()));
    const QList<QPair<QLabel*, QLineEdit*>> texts{{Form2->Label9, Form2->EEtap},
                                                  {Form2->Label10, Form2->EKolory},
                                                  {Form2->Label11, Form2->EPlik}};
    for (const auto& [label, field] : texts) {
        QVERIFY2(label->x() + label->sizeHint().width() <= field->x(), qPrintable(label->text()));
        QVERIFY(label->x() >= 8);
    }
    QVERIFY(Form2->Label10->x() > Form2->EEtap->geometry().right());
}

void TestParaEtap::panel2MovesPanel1() {
    QVERIFY(showParameters([] {
        QVERIFY(Form2->Panel2->isHidden());
        QCOMPARE(Form2->Panel1->geometry(), QRect(0, 0, 538, 29));
        Form2->reject();
    }));
    QVERIFY(withModalDialog([] { Form1->Nowy1->trigger(); },
                            [](QWidget*) {
                                QVERIFY(Form2->Panel2->isVisible());
                                QCOMPARE(Form2->Panel2->geometry(), QRect(0, 0, 538, 28));
                                QCOMPARE(Form2->Panel1->geometry(), QRect(0, 28, 538, 29));
                                Form2->reject();
                            }));
}

void TestParaEtap::tabOrderFollowsTheGroups() {
    QVERIFY(withModalDialog([] { Form1->Nowy1->trigger(); },
                            [](QWidget*) {
                                const QList<QWidget*> expected{
                                    Form2->EPlik,   Form2->EEtap,   Form2->EKolory,
                                    Form2->SESzer,  Form2->SEWys,   Form2->SEIleD,
                                    Form2->SEPktD,  Form2->SECzasG, Form2->SEMagMur,
                                    Form2->SERozL,  Form2->SELawP,  Form2->RGTypZwykly,
                                    Form2->BitBtn1, Form2->BitBtn2};
                                Form2->EPlik->setFocus();
                                QList<QWidget*> seen{QApplication::focusWidget()};
                                for (int step = 1; step < expected.size(); ++step) {
                                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                                    seen << QApplication::focusWidget();
                                }
                                QCOMPARE(seen, expected);
                                Form2->reject();
                            }));
}

void TestParaEtap::passThroughTheFieldsClampsAndMapsTheType() {
    krelwin::ParametryEtapu& parametry = Form1->etap.parametry;
    parametry.IleD = 0;
    parametry.CzasG = 0;
    parametry.Szer = 95;
    parametry.Typ = 'X';
    parametry.Kolory = "dowolny tekst";
    Form1->setBiezacyEtap(QStringLiteral("Nazwa"));
    Form2->ParametryDoDialogu();
    QCOMPARE(Form2->typIndex(), 1);
    QCOMPARE(Form2->SEIleD->text(), QStringLiteral("1"));
    Form2->ParametryZDialogu();
    QCOMPARE(parametry.IleD, 1);
    QCOMPARE(parametry.CzasG, 5);
    QCOMPARE(parametry.Szer, 80);
    QCOMPARE(parametry.Typ, 'B');
    QCOMPARE(parametry.Kolory, std::string("dowolny tekst"));
    QCOMPARE(Form1->BiezacyEtap(), QStringLiteral("Nazwa"));
    QCOMPARE(Form1->DG1->columnCount(), 82);
}

void TestParaEtap::clearedWidthConfirmsAsTheMinimum() {
    QVERIFY(showParameters([] {
        Form2->SESzer->setFocus();
        Form2->SESzer->selectAll();
        QTest::keyClick(Form2->SESzer, Qt::Key_Backspace);
        QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
    }));
    QCOMPARE(Form1->etap.parametry.Szer, 18);
    QCOMPARE(Form2->SESzer->text(), QString()); // until the next showing
    QVERIFY(showParameters([] {
        QCOMPARE(Form2->SESzer->text(), QStringLiteral("18"));
        Form2->reject();
    }));
}

void TestParaEtap::typedNumberIsClampedOnLeavingOrOnReading() {
    QVERIFY(showParameters([] {
        Form2->SESzer->setFocus();
        Form2->SESzer->selectAll();
        QTest::keyClicks(Form2->SESzer, QStringLiteral("99"));
        QTest::keyClick(Form2->SESzer, Qt::Key_Tab);
        QCOMPARE(Form2->SESzer->text(), QStringLiteral("80"));
        QTest::keyClick(Form2->SEWys, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Form2->SEWys, QStringLiteral("5"));
        QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton); // the click takes the focus first
        QCOMPARE(Form2->SEWys->text(), QStringLiteral("10"));
    }));
    QCOMPARE(Form1->etap.parametry.Szer, 80);
    QCOMPARE(Form1->etap.parametry.Wys, 10);
}

void TestParaEtap::acceleratorConfirmsWithoutLeavingTheField() {
    QVERIFY(showParameters([] {
        Form2->SEWys->setFocus();
        QTest::keyClick(Form2->SEWys, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Form2->SEWys, QStringLiteral("5"));
        QTest::keyClick(Form2, Qt::Key_Z, Qt::AltModifier);
    }));
    QCOMPARE(Form2->result(), int(QDialog::Accepted));
    QCOMPARE(Form2->SEWys->text(), QStringLiteral("5"));
    QCOMPARE(Form1->etap.parametry.Wys, 10);
}

void TestParaEtap::enterInANumberFieldKeepsTheDialogOpen() {
    bool stillOpen = false;
    QVERIFY(showParameters([&] {
        Form2->SEIleD->setFocus();
        QTest::keyClick(Form2->SEIleD, Qt::Key_Return);
        stillOpen = Form2->isVisible();
        Form2->reject();
    }));
    QVERIFY(stillOpen);
}

void TestParaEtap::enterInTheNameFieldConfirms() {
    QVERIFY(showParameters([] {
        Form2->EEtap->setFocus();
        Form2->EEtap->selectAll();
        QTest::keyClicks(Form2->EEtap, QStringLiteral("Jaskinia"));
        QTest::keyClick(Form2->EEtap, Qt::Key_Return);
    }));
    QCOMPARE(Form2->result(), int(QDialog::Accepted));
    QCOMPARE(Form1->BiezacyEtap(), QStringLiteral("Jaskinia"));
}

void TestParaEtap::escapeOutsideANumberFieldCancels() {
    QVERIFY(showParameters([] {
        Form2->SESzer->setValue(50);
        Form2->EKolory->setFocus();
        QTest::keyClick(Form2->EKolory, Qt::Key_Escape);
    }));
    QCOMPARE(Form2->result(), int(QDialog::Rejected));
    QCOMPARE(Form1->etap.parametry.Szer, 32);
}

void TestParaEtap::cancelledChangesAreGoneAtTheNextShowing() {
    QVERIFY(showParameters([] {
        Form2->SESzer->setValue(60);
        Form2->EEtap->setText(QStringLiteral("Inny"));
        Form2->RGTypBonusowy->setChecked(true);
        QTest::mouseClick(Form2->BitBtn2, Qt::LeftButton);
    }));
    QCOMPARE(Form1->etap.parametry.Szer, 32);
    QVERIFY(showParameters([] {
        QCOMPARE(Form2->SESzer->text(), QStringLiteral("32"));
        QCOMPARE(Form2->EEtap->text(), QStringLiteral("Etap 01"));
        QCOMPARE(Form2->typIndex(), 0);
        Form2->reject();
    }));
}

void TestParaEtap::confirmSizesTheViewAndTakesTheNameAndColours() {
    QVERIFY(showParameters([] {
        Form2->SESzer->setValue(80);
        Form2->SEWys->setValue(80);
        Form2->EKolory->setText(QStringLiteral("01,02"));
        Form2->RGTypBonusowy->setChecked(true);
        QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
    }));
    QCOMPARE(Form1->DG1->rowCount(), 82);
    QCOMPARE(Form1->DG1->columnCount(), 82);
    QCOMPARE(Form1->etap.parametry.Kolory, std::string("01,02"));
    QCOMPARE(Form1->etap.parametry.Typ, 'B');
}

void TestParaEtap::nameFieldLimitsTypingOnly() {
    const QString longName = QStringLiteral("Bardzo długa nazwa etapu z pliku");
    Form1->setBiezacyEtap(longName);
    QVERIFY(showParameters([&] {
        QCOMPARE(Form2->EEtap->text(), longName); // set by the program: whole
        Form2->EEtap->setFocus();
        Form2->EEtap->end(false);
        QTest::keyClick(Form2->EEtap, Qt::Key_Backspace); // shortening is allowed
        QCOMPARE(Form2->EEtap->text(), longName.chopped(1));
        QTest::keyClicks(Form2->EEtap, QStringLiteral("x"));
        QCOMPARE(Form2->EEtap->text(), longName.chopped(1));
        Form2->EEtap->selectAll();
        QTest::keyClicks(Form2->EEtap, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
        QCOMPARE(Form2->EEtap->text(), QStringLiteral("abcdefghijklmnopqrst"));
        Form2->reject();
    }));
}

QTEST_MAIN(TestParaEtap)
#include "test_paraetap.moc"
