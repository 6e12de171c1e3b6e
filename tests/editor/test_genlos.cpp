#include "GenLos.h"

#include "NumberField.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

class TestGenLos : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstShowingHasTheDefaultsAndFocusOnGeneruj();
    void valuesChangedBeforeCancelAreKept();
    void enterInAFieldBeepsAndKeepsTheDialogOpen();
    void escapeInAFieldPressesNothing();
    void escapeOnAButtonAndTheCloseBoxCancel();
    void negativeValueIsClampedWhenTheFocusLeaves();
    void acceleratorTakesTheValueAsTyped();
    void focusComesBackWhereItWasLeft();
    void sharesAreReadUnclamped_data();
    void sharesAreReadUnclamped();
    void dialogStaysWhereItWasMoved();

private:
    int runDialog(const std::function<void()>& whileOpen);
    void typeInto(NumberField* field, const QString& text);

    std::unique_ptr<TForm4> form_;
    bool leftOpen_ = false;
};

void TestGenLos::init() {
    form_ = std::make_unique<TForm4>();
    leftOpen_ = false;
}

void TestGenLos::cleanup() {
    form_.reset();
}

int TestGenLos::runDialog(const std::function<void()>& whileOpen) {
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

void TestGenLos::typeInto(NumberField* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

void TestGenLos::firstShowingHasTheDefaultsAndFocusOnGeneruj() {
    QWidget* focused = nullptr;
    QStringList texts;
    const int result = runDialog([&] {
        focused = QApplication::focusWidget();
        for (const NumberField* field : form_->SE) {
            texts << field->text();
        }
        QTest::mouseClick(form_->BitBtn1, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(focused, form_->BitBtn1);
    QCOMPARE(texts.join(u','), QStringLiteral("2,30,10,1,1,1,2,0,0,0,0"));
    QCOMPARE(form_->udzialy(), krelwin::DomyslneUdzialy);
}

void TestGenLos::valuesChangedBeforeCancelAreKept() {
    const int result = runDialog([&] {
        typeInto(form_->SE[1], QStringLiteral("55"));
        QTest::mouseClick(form_->BitBtn2, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QString shownAgain;
    runDialog([&] {
        shownAgain = form_->SE[1]->text();
        QTest::mouseClick(form_->BitBtn2, Qt::LeftButton);
    });
    QCOMPARE(shownAgain, QStringLiteral("55"));
    QCOMPARE(form_->udzialy()[1], 55);
    QVERIFY(!leftOpen_);
}

void TestGenLos::enterInAFieldBeepsAndKeepsTheDialogOpen() {
    QSignalSpy beeps(form_->SE[0], &NumberField::refused);
    bool stillOpen = false;
    runDialog([&] {
        form_->SE[0]->setFocus();
        QTest::keyClick(form_->SE[0], Qt::Key_Return);
        QTest::keyClick(form_->SE[0], Qt::Key_Enter);
        stillOpen = form_->isVisible();
    });
    QCOMPARE(beeps.count(), 2);
    QVERIFY(stillOpen);
    QCOMPARE(form_->SE[0]->text(), QStringLiteral("2"));
}

void TestGenLos::escapeInAFieldPressesNothing() {
    bool stillOpen = false;
    runDialog([&] {
        form_->SE[5]->setFocus();
        QTest::keyClick(form_->SE[5], Qt::Key_Escape);
        stillOpen = form_->isVisible();
    });
    QVERIFY(stillOpen);
}

void TestGenLos::escapeOnAButtonAndTheCloseBoxCancel() {
    int result = runDialog([&] {
        form_->BitBtn1->setFocus();
        QTest::keyClick(form_->BitBtn1, Qt::Key_Escape);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    result = runDialog([&] { form_->close(); });
    QCOMPARE(result, int(QDialog::Rejected));
    result = runDialog([&] {
        form_->BitBtn2->setFocus();
        QTest::keyClick(form_->BitBtn2, Qt::Key_Return);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!leftOpen_);
}

void TestGenLos::negativeValueIsClampedWhenTheFocusLeaves() {
    QString afterTab;
    runDialog([&] {
        typeInto(form_->SE[2], QStringLiteral("-5"));
        QCOMPARE(form_->SE[2]->text(), QStringLiteral("-5"));
        QTest::keyClick(form_->SE[2], Qt::Key_Tab);
        afterTab = form_->SE[2]->text();
        QCOMPARE(QApplication::focusWidget(), form_->SE[3]);
    });
    QCOMPARE(afterTab, QStringLiteral("0"));
    QCOMPARE(form_->udzialy()[2], 0);
}

void TestGenLos::acceleratorTakesTheValueAsTyped() {
    const int result = runDialog([&] {
        typeInto(form_->SE[0], QStringLiteral("-5"));
        QTest::keyClick(form_->SE[0], Qt::Key_G, Qt::AltModifier);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(!leftOpen_);
    QCOMPARE(form_->udzialy()[0], -5);
    QCOMPARE(form_->SE[0]->text(), QStringLiteral("-5"));
}

void TestGenLos::focusComesBackWhereItWasLeft() {
    runDialog([&] {
        form_->SE[3]->setFocus();
        QTest::keyClick(form_->SE[3], Qt::Key_A, Qt::AltModifier);
    });
    QWidget* focused = nullptr;
    runDialog([&] { focused = QApplication::focusWidget(); });
    QCOMPARE(focused, form_->SE[3]);
}

void TestGenLos::sharesAreReadUnclamped_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("share");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("lone sign") << QStringLiteral("+") << 0;
    QTest::newRow("letters") << QStringLiteral("ab") << 0;
    QTest::newRow("negative") << QStringLiteral("-9") << -9;
    QTest::newRow("leading zero") << QStringLiteral("07") << 7;
    QTest::newRow("plus sign") << QStringLiteral("+8") << 8;
}

void TestGenLos::sharesAreReadUnclamped() {
    QFETCH(QString, text);
    QFETCH(int, share);
    form_->SE[10]->setText(text);
    krelwin::Udzialy expected = krelwin::DomyslneUdzialy;
    expected[10] = share;
    QCOMPARE(form_->udzialy(), expected);
}

void TestGenLos::dialogStaysWhereItWasMoved() {
    runDialog([&] { form_->move(form_->pos() + QPoint(37, 23)); });
    const QPoint movedTo = form_->pos();
    QPoint shownAt;
    runDialog([&] { shownAt = form_->pos(); });
    QCOMPARE(shownAt, movedTo);
}

QTEST_MAIN(TestGenLos)
#include "test_genlos.moc"
