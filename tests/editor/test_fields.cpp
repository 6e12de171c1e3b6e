// The input fields of the dialogs: the number field's typing, reading, clamping and stepping
// rules, and the text fields whose contents go into stage files in the game's code page.
#include "FileTextValidator.h"
#include "NumberField.h"
#include "TextCodec.h"

#include "EditorFixture.h"
#include "errors.h"
#include "plansza.h"

#include <QSignalSpy>
#include <QVBoxLayout>

#include <memory>

using krelwin::FileTextValidator;

namespace {

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

} // namespace

class TestFields : public QObject {
    Q_OBJECT

private slots:
    void typedCharacters_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("refusals");
        const QString separator = QLocale().decimalPoint();
        const auto row = [](const char* name, const QString& typed, const QString& text, int n) {
            QTest::newRow(name) << typed << text << n;
        };
        row("digits and signs", "+-", "+-", 0);
        row("decimal separator", separator, separator, 0);
        row("letters and punctuation", "a1 !", "1", 3);
        row("other separator", separator == "," ? "." : ",", "", 1);
        row("typing stops at the limit", "123", "12", 0);
    }
    void typedCharacters() {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, refusals);
        FieldDialog form;
        QSignalSpy refused(form.field, &NumberField::refused);
        QTest::keyClicks(form.field, typed);
        QCOMPARE(form.field->text(), text);
        QCOMPARE(refused.count(), refusals);
    }

    void enterAndEscapeStayInTheField() {
        FieldDialog form;
        QSignalSpy refused(form.field, &NumberField::refused);
        QTest::keyClicks(form.field, QStringLiteral("40"));
        QTest::keyClick(form.field, Qt::Key_Return);
        QTest::keyClick(form.field, Qt::Key_Enter);
        QTest::keyClick(form.field, Qt::Key_Escape);
        QCOMPARE(refused.count(), 2);
        QVERIFY(form.dialog->isVisible());
        QCOMPARE(form.field->text(), QStringLiteral("40"));
        // Clipboard keys are taken without a beep.
        QTest::keyClick(form.field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(form.field, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(form.field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(form.field->text(), QStringLiteral("40"));
        QCOMPARE(refused.count(), 2);
        // Outside a number field Escape does close the dialog: the field is what keeps it.
        QTest::keyClick(form.other, Qt::Key_Escape);
        QVERIFY(!form.dialog->isVisible());
    }

    void readingDoesNotClamp_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("above the maximum") << "99" << 99;
        QTest::newRow("negative") << "-9" << -9;
        QTest::newRow("plus sign") << "+7" << 7;
        QTest::newRow("empty reads as the minimum") << "" << 18;
        QTest::newRow("lone sign") << "-" << 18;
        QTest::newRow("decimal number") << "1.5" << 18;
        QTest::newRow("pasted letters") << "ab" << 18;
    }
    void readingDoesNotClamp() {
        QFETCH(QString, text);
        QFETCH(int, value);
        NumberField field(18, 80, 3);
        field.setText(text);
        QCOMPARE(field.value(), value);
    }

    void leavingClampsOnlyANumberOutOfRange_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        const auto row = [](const char* name, const QString& typed, const QString& after) {
            QTest::newRow(name) << typed << after;
        };
        row("too large", "99", "80");
        row("too small", "5", "18");
        row("negative", "-5", "18");
        row("in range stays", "20", "20");
        row("unreadable stays", "-", "-");
    }
    void leavingClampsOnlyANumberOutOfRange() {
        QFETCH(QString, typed);
        QFETCH(QString, after);
        FieldDialog form;
        QTest::keyClicks(form.field, typed);
        QTest::keyClick(form.field, Qt::Key_Tab);
        QVERIFY(form.other->hasFocus());
        QCOMPARE(form.field->text(), after);
    }

    void steppingStaysWithinTheRange() {
        FieldDialog form;
        QTest::keyClick(form.field, Qt::Key_Up); // from empty: the minimum plus one
        QCOMPARE(form.field->text(), QStringLiteral("19"));
        QTest::keyClick(form.field, Qt::Key_Down);
        QTest::keyClick(form.field, Qt::Key_Down);
        QCOMPARE(form.field->text(), QStringLiteral("18"));
        form.field->setText(QStringLiteral("99")); // an unclamped reading steps from itself
        QTest::keyClick(form.field, Qt::Key_Down);
        QCOMPARE(form.field->text(), QStringLiteral("80"));
        form.field->setValue(30);
        form.other->setFocus();
        QTest::mouseClick(form.field->upButton(), Qt::LeftButton);
        QCOMPARE(form.field->text(), QStringLiteral("31"));
        QVERIFY(form.field->hasFocus());
        QTest::mouseClick(form.field->downButton(), Qt::LeftButton);
        QTest::mouseClick(form.field->downButton(), Qt::LeftButton);
        QCOMPARE(form.field->text(), QStringLiteral("29"));
    }

    void everyByteAndPolishLetterSurvivesARoundTrip() {
        std::string allBytes;
        for (int byte = 0; byte < 256; ++byte)
            allBytes.push_back(char(byte));
        QCOMPARE(krelwin::fromFileBytes(allBytes).size(), 256);
        QCOMPARE(krelwin::toFileBytes(krelwin::fromFileBytes(allBytes)), allBytes);
        const QString name = QStringLiteral("Zażółć gęślą jaźń Ł");
        const std::string bytes = "Za\xBF\xF3\xB3\xE6 g\xEA\x9C\x6C\xB9 ja\x9F\xF1 \xA3";
        QCOMPARE(krelwin::toFileBytes(name), bytes);
        QCOMPARE(krelwin::fromFileBytes(bytes), name);
        for (const QString& text : {QStringLiteral("Etap 漢"), QString::fromUcs4(U"\U0001F600")})
            QVERIFY_THROWS_EXCEPTION(krelwin::WriteRefused, krelwin::toFileBytes(text));
    }

    void validatorRefusals() {
        const auto accepts = [](FileTextValidator::Kind kind, QString text) {
            QLineEdit field;
            FileTextValidator validator(kind, FileTextValidator::NoLimit, &field);
            int position = 0;
            return validator.validate(text, position) == QValidator::Acceptable;
        };
        using enum FileTextValidator::Kind;
        QVERIFY(accepts(StageName, QStringLiteral("Żółta grota")));
        QVERIFY(accepts(StageName, QStringLiteral("(a) b)")));
        for (const QString name : {"a}b", "a\rb", "a\x1a", "漢"})
            QVERIFY2(!accepts(StageName, name), qPrintable(name));
        QVERIFY(accepts(ColourText, QString(krelwin::DomyslneKolory)));
        for (const QString colours : {"00,(0", "€€ Ω"})
            QVERIFY2(!accepts(ColourText, colours), qPrintable(colours));
    }

    void typingIsLimitedButATextSetByTheProgramStaysWhole() {
        QLineEdit field;
        krelwin::limitFileText(&field, FileTextValidator::Kind::StageName, 20);
        fixture::typeText(&field, QStringLiteral("a}(b)śdefghijklmnopqrstuvwxyz"));
        QCOMPARE(field.text(), QStringLiteral("a(b)śdefghijklmnopqr"));
        const QString longName = QStringLiteral("Nazwa z pliku, dłuższa niż dwadzieścia");
        field.setText(longName);
        QCOMPARE(field.text(), longName);
        field.end(false);
        QTest::keyClick(&field, Qt::Key_Backspace); // shortening is allowed
        fixture::typeText(&field, QStringLiteral("x"));
        QCOMPARE(field.text(), longName.chopped(1));
    }
};

QTEST_MAIN(TestFields)
#include "test_fields.moc"
