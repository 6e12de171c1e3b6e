#include "NumberField.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

// A dialog holding a width field (18..80, two characters), a second field to move the focus
// to, and a default button, as the parameter dialog has them.
struct FieldDialog {
    std::unique_ptr<QDialog> dialog = std::make_unique<QDialog>();
    NumberField* field = new NumberField(18, 80, 2, dialog.get());
    QLineEdit* other = new QLineEdit(dialog.get());
    QPushButton* ok = new QPushButton(QStringLiteral("OK"), dialog.get());

    FieldDialog() {
        auto* layout = new QVBoxLayout(dialog.get());
        layout->addWidget(field);
        layout->addWidget(other);
        layout->addWidget(ok);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, dialog.get(), &QDialog::accept);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        field->setFocus();
        field->clear();
    }
};

class TestNumberField : public QObject {
    Q_OBJECT

private slots:
    void typedCharacters_data();
    void typedCharacters();
    void typingStopsAtTheLimit();
    void readingDoesNotClamp_data();
    void readingDoesNotClamp();
    void settingClampsAndWritesPlainDecimal_data();
    void settingClampsAndWritesPlainDecimal();
    void enterBeepsAndStaysInTheField();
    void escapeStaysInTheField();
    void leavingClampsOnlyANumberOutOfRange_data();
    void leavingClampsOnlyANumberOutOfRange();
    void arrowKeysStepWithinTheRange();
    void spinButtonsStepFocusAndRepeat();
    void clipboardKeysStillWork();
};

void TestNumberField::typedCharacters_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("refusals");
    const QString separator = QLocale().decimalPoint();
    QTest::newRow("digits") << "42"
                            << "42" << 0;
    QTest::newRow("signs") << "+-"
                           << "+-" << 0;
    QTest::newRow("decimal separator") << separator << separator << 0;
    QTest::newRow("letters refused") << "a1b"
                                     << "1" << 2;
    QTest::newRow("space and punctuation refused") << " 1!"
                                                   << "1" << 2;
    QTest::newRow("other separator refused") << (separator == "," ? "." : ",") << "" << 1;
}

void TestNumberField::typedCharacters() {
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(int, refusals);
    FieldDialog form;
    QSignalSpy refused(form.field, &NumberField::refused);
    QTest::keyClicks(form.field, typed);
    QCOMPARE(form.field->text(), text);
    QCOMPARE(refused.count(), refusals);
}

void TestNumberField::typingStopsAtTheLimit() {
    FieldDialog form;
    QTest::keyClicks(form.field, QStringLiteral("123"));
    QCOMPARE(form.field->text(), QStringLiteral("12"));
    QTest::keyClick(form.field, Qt::Key_Backspace);
    QCOMPARE(form.field->text(), QStringLiteral("1"));
}

void TestNumberField::readingDoesNotClamp_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("in range") << "32" << 32;
    QTest::newRow("above the maximum") << "99" << 99;
    QTest::newRow("below the minimum") << "5" << 5;
    QTest::newRow("negative") << "-9" << -9;
    QTest::newRow("plus sign") << "+7" << 7;
    QTest::newRow("empty reads as the minimum") << "" << 18;
    QTest::newRow("lone sign") << "-" << 18;
    QTest::newRow("decimal number") << "1.5" << 18;
    QTest::newRow("pasted letters") << "ab" << 18;
}

void TestNumberField::readingDoesNotClamp() {
    QFETCH(QString, text);
    QFETCH(int, value);
    NumberField field(18, 80, 3);
    field.setText(text);
    QCOMPARE(field.value(), value);
}

void TestNumberField::settingClampsAndWritesPlainDecimal_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("in range") << 40 << "40";
    QTest::newRow("below") << 3 << "18";
    QTest::newRow("above") << 999 << "80";
    QTest::newRow("negative") << -5 << "18";
}

void TestNumberField::settingClampsAndWritesPlainDecimal() {
    QFETCH(int, value);
    QFETCH(QString, text);
    NumberField field(18, 80, 2);
    field.setValue(value);
    QCOMPARE(field.text(), text);
}

void TestNumberField::enterBeepsAndStaysInTheField() {
    FieldDialog form;
    QSignalSpy refused(form.field, &NumberField::refused);
    QTest::keyClicks(form.field, QStringLiteral("40"));
    QTest::keyClick(form.field, Qt::Key_Return);
    QTest::keyClick(form.field, Qt::Key_Enter);
    QCOMPARE(refused.count(), 2);
    QVERIFY(form.dialog->isVisible());
    QCOMPARE(form.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(form.field->text(), QStringLiteral("40"));
}

void TestNumberField::escapeStaysInTheField() {
    FieldDialog form;
    QSignalSpy refused(form.field, &NumberField::refused);
    QTest::keyClick(form.field, Qt::Key_Escape);
    QVERIFY(form.dialog->isVisible());
    QCOMPARE(refused.count(), 0);
    // Outside a number field Escape does close the dialog: the field is what keeps it.
    QTest::keyClick(form.other, Qt::Key_Escape);
    QVERIFY(!form.dialog->isVisible());
}

void TestNumberField::leavingClampsOnlyANumberOutOfRange_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::newRow("too large") << "99"
                               << "80";
    QTest::newRow("too small") << "5"
                               << "18";
    QTest::newRow("negative") << "-5"
                              << "18";
    QTest::newRow("below with a plus sign") << "+2"
                                            << "18";
    QTest::newRow("in range stays") << "20"
                                    << "20";
    QTest::newRow("unreadable stays") << "-"
                                      << "-";
    QTest::newRow("empty stays") << ""
                                 << "";
}

void TestNumberField::leavingClampsOnlyANumberOutOfRange() {
    QFETCH(QString, typed);
    QFETCH(QString, after);
    FieldDialog form;
    QTest::keyClicks(form.field, typed);
    QTest::keyClick(form.field, Qt::Key_Tab);
    QVERIFY(form.other->hasFocus());
    QCOMPARE(form.field->text(), after);
}

void TestNumberField::arrowKeysStepWithinTheRange() {
    FieldDialog form;
    QTest::keyClick(form.field, Qt::Key_Up); // from empty: the minimum plus one
    QCOMPARE(form.field->text(), QStringLiteral("19"));
    QTest::keyClick(form.field, Qt::Key_Down);
    QTest::keyClick(form.field, Qt::Key_Down);
    QCOMPARE(form.field->text(), QStringLiteral("18"));
    form.field->setText(QStringLiteral("99")); // an unclamped reading steps from itself
    QTest::keyClick(form.field, Qt::Key_Down);
    QCOMPARE(form.field->text(), QStringLiteral("80"));
    QTest::keyClick(form.field, Qt::Key_Up);
    QCOMPARE(form.field->text(), QStringLiteral("80"));
}

void TestNumberField::spinButtonsStepFocusAndRepeat() {
    FieldDialog form;
    form.field->setValue(30);
    form.other->setFocus();
    QTest::mouseClick(form.field->upButton(), Qt::LeftButton);
    QCOMPARE(form.field->text(), QStringLiteral("31"));
    QVERIFY(form.field->hasFocus());
    QTest::mouseClick(form.field->downButton(), Qt::LeftButton);
    QTest::mouseClick(form.field->downButton(), Qt::LeftButton);
    QCOMPARE(form.field->text(), QStringLiteral("29"));
    for (QToolButton* button : {form.field->upButton(), form.field->downButton()}) {
        QVERIFY(button->autoRepeat());
        QCOMPARE(button->autoRepeatDelay(), 400);
        QCOMPARE(button->autoRepeatInterval(), 100);
    }
}

void TestNumberField::clipboardKeysStillWork() {
    FieldDialog form;
    QSignalSpy refused(form.field, &NumberField::refused);
    QTest::keyClicks(form.field, QStringLiteral("45"));
    QTest::keyClick(form.field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(form.field, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(form.field->text(), QString());
    QTest::keyClick(form.field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(form.field->text(), QStringLiteral("45"));
    QCOMPARE(refused.count(), 0);
}

QTEST_MAIN(TestNumberField)
#include "test_numberfield.moc"
