#include "TextCodec.h"

#include "errors.h"
#include "plansza.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using krelwin::FileTextValidator;

Q_DECLARE_METATYPE(FileTextValidator::Kind)

namespace {

// Types the text one key press at a time, letters outside ASCII included.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
    }
}

} // namespace

class TestTextCodec : public QObject {
    Q_OBJECT

private slots:
    void everyByteSurvivesARoundTrip();
    void polishLettersAreStoredAsTheGameExpects();
    void aCharacterTheCodePageCannotHoldIsRefusedOnWrite();
    void validatorRefusals_data();
    void validatorRefusals();
    void typingStopsAtTheLimit();
    void aLongerTextSetByTheProgramStaysWholeAndCanBeShortened();
    void typedMarkerCharactersAreRefused();
};

void TestTextCodec::everyByteSurvivesARoundTrip() {
    std::string allBytes;
    for (int byte = 0; byte < 256; ++byte) {
        allBytes.push_back(static_cast<char>(byte));
    }
    const QString text = krelwin::fromFileBytes(allBytes);
    QCOMPARE(text.size(), 256);
    QCOMPARE(krelwin::toFileBytes(text), allBytes);
}

void TestTextCodec::polishLettersAreStoredAsTheGameExpects() {
    const QString name = QStringLiteral("Zażółć gęślą jaźń Ł");
    const std::string bytes = "Za\xBF\xF3\xB3\xE6 g\xEA\x9C\x6C\xB9 ja\x9F\xF1 \xA3";
    QCOMPARE(krelwin::toFileBytes(name), bytes);
    QCOMPARE(krelwin::fromFileBytes(bytes), name);
}

void TestTextCodec::aCharacterTheCodePageCannotHoldIsRefusedOnWrite() {
    for (const QString& text : {QStringLiteral("Etap 漢"), QString::fromUcs4(U"Etap \U0001F600")}) {
        try {
            krelwin::toFileBytes(text);
            QFAIL("the text was written");
        } catch (const krelwin::WriteRefused& refusal) {
            QVERIFY(!QString::fromUtf8(refusal.what()).isEmpty());
        }
    }
}

void TestTextCodec::validatorRefusals_data() {
    QTest::addColumn<FileTextValidator::Kind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    const auto name = FileTextValidator::Kind::StageName;
    const auto colours = FileTextValidator::Kind::ColourText;
    QTest::newRow("plain name") << name << QStringLiteral("Etap 01") << true;
    QTest::newRow("empty name") << name << QString() << true;
    QTest::newRow("Polish name") << name << QStringLiteral("Żółta grota") << true;
    QTest::newRow("name with brackets") << name << QStringLiteral("(a) b)") << true;
    QTest::newRow("name with }") << name << QStringLiteral("a}b") << false;
    QTest::newRow("name with CR") << name << QStringLiteral("a\rb") << false;
    QTest::newRow("name with LF") << name << QStringLiteral("a\nb") << false;
    QTest::newRow("name with byte 26") << name << QStringLiteral("a\x1a") << false;
    QTest::newRow("name beyond the code page") << name << QStringLiteral("漢") << false;
    QTest::newRow("plain colours") << colours << QString::fromUtf8(krelwin::DomyslneKolory) << true;
    QTest::newRow("colours with (") << colours << QStringLiteral("00,(0") << false;
    QTest::newRow("colours with }") << colours << QStringLiteral("00,}0") << false;
    QTest::newRow("colours beyond the code page") << colours << QStringLiteral("€€ Ω") << false;
    QTest::newRow("colours with Polish letters") << colours << QStringLiteral("ąę") << true;
}

void TestTextCodec::validatorRefusals() {
    QFETCH(FileTextValidator::Kind, kind);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QLineEdit field;
    FileTextValidator validator(kind, FileTextValidator::NoLimit, &field);
    int position = 0;
    QCOMPARE(validator.validate(text, position) == QValidator::Acceptable, accepted);
}

void TestTextCodec::typingStopsAtTheLimit() {
    QLineEdit field;
    krelwin::limitFileText(&field, FileTextValidator::Kind::StageName, 20);
    typeText(&field, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    QCOMPARE(field.text(), QStringLiteral("abcdefghijklmnopqrst"));
}

void TestTextCodec::aLongerTextSetByTheProgramStaysWholeAndCanBeShortened() {
    QLineEdit field;
    krelwin::limitFileText(&field, FileTextValidator::Kind::StageName, 20);
    const QString longName = QStringLiteral("Nazwa z pliku, dłuższa niż dwadzieścia");
    field.setText(longName);
    QCOMPARE(field.text(), longName);
    field.end(false);
    QTest::keyClick(&field, Qt::Key_Backspace);
    QCOMPARE(field.text(), longName.chopped(1));
    typeText(&field, QStringLiteral("x"));
    QCOMPARE(field.text(), longName.chopped(1));
}

void TestTextCodec::typedMarkerCharactersAreRefused() {
    QLineEdit name;
    krelwin::limitFileText(&name, FileTextValidator::Kind::StageName, 20);
    typeText(&name, QStringLiteral("a}(b)ś"));
    QCOMPARE(name.text(), QStringLiteral("a(b)ś"));

    QLineEdit colours;
    krelwin::limitFileText(&colours, FileTextValidator::Kind::ColourText,
                           FileTextValidator::NoLimit);
    typeText(&colours, QStringLiteral("00,(1}0,20"));
    QCOMPARE(colours.text(), QStringLiteral("00,10,20"));
}

QTEST_MAIN(TestTextCodec)
#include "test_textcodec.moc"
