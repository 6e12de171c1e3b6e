#include "ParaEtap.h"

#include "EditorState.h"
#include "FileTextValidator.h"
#include "NumberField.h"
#include "TextCodec.h"
#include "plansza.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int LayoutWidth = 538;
constexpr int LayoutHeight = 264;
constexpr int GroupMargin = 12; // the least room right of a group's fields, as left of its labels
constexpr int PanelHeight2 = 28;
constexpr int PanelHeight1 = 29;
constexpr int FieldWidth = 49;
constexpr int FieldHeight = 22;
constexpr int FileNameTypingLimit = 8;
constexpr int StageNameTypingLimit = 20;

QFrame* makePanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

QLabel* makeLabel(const QString& text, int left, int top, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// One row of a parameter group: a label at the left, the number field at `fieldLeft`, limited
// as the parameter's table row says.
NumberField* makeFieldRow(QLabel*& label, const QString& caption, int labelTop, int fieldTop,
                          int fieldLeft, const krelwin::NumberParameter& parameter,
                          QGroupBox* group) {
    label = makeLabel(caption, 12, labelTop, group);
    auto* field =
        new NumberField(parameter.range.min, parameter.range.max, parameter.digits, group);
    field->setGeometry(fieldLeft, fieldTop, FieldWidth, FieldHeight);
    label->setBuddy(field);
    return field;
}

// The file-name field also refuses what cannot stand in a file name on any system the game's
// files travel to: separators, the characters Windows reserves, and control characters.
class FileNameValidator : public krelwin::FileTextValidator {
public:
    FileNameValidator(QLineEdit* field)
        : FileTextValidator(Kind::StageName, FileNameTypingLimit, field) {}

    State validate(QString& input, int& pos) const override {
        static const QString Forbidden = QStringLiteral("/\\:*?\"<>|");
        for (const QChar character : input) {
            if (character.unicode() < 32 || character.unicode() == 127 ||
                Forbidden.contains(character)) {
                return Invalid;
            }
        }
        return FileTextValidator::validate(input, pos);
    }
};

} // namespace

TForm2::TForm2(const EditorState& stan, QWidget* parent) : PlacedDialog(parent), stan_(stan) {
    setWindowTitle(QStringLiteral("Parametry etapu"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(dialogFont());
    setFixedSize(LayoutWidth, LayoutHeight);
    buildPanels();
    buildTypeGroup();
    buildNumberGroups();
    fitGroupsToFields();
    buildButtons();
    setTabOrderOfControls();
    Panel2->hide();
    placePanels();
}

void TForm2::buildPanels() {
    Panel2 = makePanel(this);
    Label11 = makeLabel(QStringLiteral("Nazwa pliku z planszami:"), 8, 8, Panel2);
    EPlik = new QLineEdit(QStringLiteral("Plan01"), Panel2);
    EPlik->setGeometry(132, 4, 121, 21);
    EPlik->setValidator(new FileNameValidator(EPlik));
    moveFieldsClearOfLabels({{Label11, EPlik}});

    Panel1 = makePanel(this);
    Label9 = makeLabel(QStringLiteral("Nazwa etapu:"), 8, 8, Panel1);
    EEtap = new StageNameField(Panel1);
    EEtap->setText(QString::fromUtf8(krelwin::DomyslnaNazwaEtapu));
    EEtap->setGeometry(80, 4, 133, 21);
    moveFieldsClearOfLabels({{Label9, EEtap}});
    krelwin::limitFileText(EEtap, krelwin::FileTextValidator::Kind::StageName,
                           StageNameTypingLimit);
    Label10 = makeLabel(QStringLiteral("Kolory (rgb):"), 236, 8, Panel1);
    EKolory = new QLineEdit(QString::fromUtf8(krelwin::DomyslneKolory), Panel1);
    EKolory->setGeometry(296, 4, 229, 21);
    placeColourCaption();
    krelwin::limitFileText(EKolory, krelwin::FileTextValidator::Kind::ColourText,
                           krelwin::FileTextValidator::NoLimit);
    QPalette face = EKolory->palette();
    face.setColor(QPalette::Base, palette().color(QPalette::Button));
    EKolory->setPalette(face);
    Label9->setBuddy(EEtap);
    Label10->setBuddy(EKolory);
    Label11->setBuddy(EPlik);
}

// In a wider font "Kolory (rgb):" first moves left into the room the stage name leaves it; only
// what that room lacks pushes the colour field right, which keeps its right edge.
void TForm2::placeColourCaption() {
    const int leftmost = EEtap->geometry().right() + 1 + 2 * LabelGap;
    const int clearLeft = Label10->x() - roomMissingLeftOf(Label10, EKolory->x());
    Label10->move(std::max(leftmost, clearLeft), Label10->y());
    const int right = EKolory->geometry().right();
    moveFieldsClearOfLabels({{Label10, EKolory}});
    EKolory->resize(right + 1 - EKolory->x(), EKolory->height());
}

void TForm2::buildTypeGroup() {
    RGTyp = new QGroupBox(QStringLiteral("Typ etapu"), this);
    RGTyp->setGeometry(4, 60, 141, 81);
    RGTypZwykly = new QRadioButton(QStringLiteral("Zwykły etap"), RGTyp);
    RGTypZwykly->setGeometry(8, 22, 125, 20);
    RGTypBonusowy = new QRadioButton(QStringLiteral("Bonusowy"), RGTyp);
    RGTypBonusowy->setGeometry(8, 48, 125, 20);
    RGTypZwykly->setChecked(true);
}

void TForm2::buildNumberGroups() {
    using krelwin::ParametryEtapu;
    const auto row = [this](QLabel*& label, const QString& caption, int labelTop, int fieldTop,
                            int fieldLeft, int32_t ParametryEtapu::*member, QGroupBox* group) {
        const krelwin::NumberParameter& parameter = krelwin::numberParameter(member);
        NumberField* field =
            makeFieldRow(label, caption, labelTop, fieldTop, fieldLeft, parameter, group);
        numberFields_[&parameter - krelwin::NumberParameters.data()] = field;
        return field;
    };
    GroupBox1 = new QGroupBox(QStringLiteral("Wymiary"), this);
    GroupBox1->setGeometry(152, 60, 141, 81);
    SESzer =
        row(Label1, QStringLiteral("Szerokość:"), 24, 20, 72, &ParametryEtapu::Szer, GroupBox1);
    SEWys = row(Label2, QStringLiteral("Wysokość:"), 52, 48, 72, &ParametryEtapu::Wys, GroupBox1);
    moveFieldsClearOfLabels({{Label1, SESzer}, {Label2, SEWys}});

    GroupBox2 = new QGroupBox(QStringLiteral("Punktacja"), this);
    GroupBox2->setGeometry(300, 60, 225, 113);
    SEIleD = row(Label3, QStringLiteral("Ilość diamentów do zebrania:"), 24, 20, 156,
                 &ParametryEtapu::IleD, GroupBox2);
    SEPktD = row(Label4, QStringLiteral("Liczba punktów za diament:"), 52, 48, 156,
                 &ParametryEtapu::PktD, GroupBox2);
    SECzasG = row(Label5, QStringLiteral("Ilość czasu do końca etapu:"), 80, 76, 156,
                  &ParametryEtapu::CzasG, GroupBox2);
    moveFieldsClearOfLabels({{Label3, SEIleD}, {Label4, SEPktD}, {Label5, SECzasG}});

    GroupBox3 = new QGroupBox(QStringLiteral("Charakter"), this);
    GroupBox3->setGeometry(4, 144, 289, 113);
    SEMagMur = row(Label6, QStringLiteral("Długość migotania magicznego muru:"), 24, 20, 216,
                   &ParametryEtapu::MagMur, GroupBox3);
    SERozL = row(Label7, QStringLiteral("Opóźnienie w rozszerzaniu się lawy:"), 52, 48, 216,
                 &ParametryEtapu::RozL, GroupBox3);
    SELawP = row(Label8,
                 QStringLiteral("Czas zatrzymywania kamieni\n"
                                "i diamentów przez lawe przepuszczającą:"),
                 72, 76, 216, &ParametryEtapu::LawP, GroupBox3);
    moveFieldsClearOfLabels({{Label6, SEMagMur}, {Label7, SERozL}, {Label8, SELawP}});

    // Every row of the table has its field; a parameter without one would never be set.
    Q_ASSERT(std::find(numberFields_.begin(), numberFields_.end(), nullptr) == numberFields_.end());
    setNumberFields(ParametryEtapu{});
}

void TForm2::setNumberFields(const krelwin::ParametryEtapu& parametry) {
    for (std::size_t i = 0; i < numberFields_.size(); ++i) {
        numberFields_[i]->setValue(parametry.*krelwin::NumberParameters[i].member);
    }
}

// A group widens only when its fields come nearer than GroupMargin to its edge. The left column
// of groups keeps one right edge, the right-hand group moves along, and the dialog, the colour
// field and the buttons at the bottom right take up what the groups grew by.
void TForm2::fitGroupsToFields() {
    const auto fieldsEnd = [](const QWidget* field) { return field->geometry().right() + 1; };
    const int leftColumn = std::max(widthMissing(GroupBox1, fieldsEnd(SESzer), GroupMargin),
                                    widthMissing(GroupBox3, fieldsEnd(SEMagMur), GroupMargin));
    widenBy(GroupBox1, leftColumn);
    widenBy(GroupBox3, leftColumn);
    GroupBox2->move(GroupBox2->x() + leftColumn, GroupBox2->y());
    const int rightColumn = widthMissing(GroupBox2, fieldsEnd(SEIleD), GroupMargin);
    widenBy(GroupBox2, rightColumn);
    widenBy(this, leftColumn + rightColumn);
    widenBy(EKolory, leftColumn + rightColumn);
}

void TForm2::buildButtons() {
    BitBtn1 = new QPushButton(dialogButtonIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("&Zatwierdź"), this);
    const int widening = width() - LayoutWidth; // the buttons keep to the bottom right corner
    BitBtn1->setGeometry(304 + widening, 229, 105, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(dialogButtonIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("&Anuluj"), this);
    BitBtn2->setGeometry(416 + widening, 229, 105, 25);
    // Left auto-default, so that Enter on the focused "&Anuluj" cancels rather than confirming
    // through the default button.
    // Alt+Z confirms without moving the focus, so a number being typed is read as typed.
    pressOnAcceleratorKeepingFocus(BitBtn1);
    pressOnAcceleratorKeepingFocus(BitBtn2);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm2::setTabOrderOfControls() {
    const QWidget* order[] = {EPlik,   EEtap,    EKolory, SESzer, SEWys,       SEIleD,  SEPktD,
                              SECzasG, SEMagMur, SERozL,  SELawP, RGTypZwykly, BitBtn1, BitBtn2};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
}

void TForm2::placePanels() {
    Panel2->setGeometry(0, 0, width(), PanelHeight2);
    const int panel1Top = Panel2->isHidden() ? 0 : PanelHeight2;
    Panel1->setGeometry(0, panel1Top, width(), PanelHeight1);
}

int TForm2::typIndex() const {
    return RGTypZwykly->isChecked() ? 0 : 1;
}

void TForm2::setTypIndex(int index) {
    (index == 0 ? RGTypZwykly : RGTypBonusowy)->setChecked(true);
}

QString TForm2::fileName() const {
    return EPlik->text();
}

void TForm2::setFileName(const QString& name) {
    EPlik->setText(name);
}

bool TForm2::fileNameStripShown() const {
    return !Panel2->isHidden();
}

void TForm2::setFileNameStripShown(bool shown) {
    Panel2->setHidden(!shown);
}

void TForm2::showEvent(QShowEvent* event) {
    placePanels();
    FormShow();
    // Each showing starts in the first field of the tab order, as the reloaded values invite
    // editing; Qt would otherwise pick the last button of its focus chain.
    (Panel2->isHidden() ? EEtap : EPlik)->setFocus(Qt::OtherFocusReason);
    PlacedDialog::showEvent(event);
}

void TForm2::FormShow() {
    ParametryDoDialogu();
}

void TForm2::ParametryDoDialogu() {
    const krelwin::ParametryEtapu& parametry = stan_.etap.parametry;
    setTypIndex(parametry.Typ == krelwin::TypZwykly ? 0 : 1);
    setNumberFields(parametry);
    EEtap->setText(stan_.BiezacyEtap());
    EKolory->setText(krelwin::fromFileBytes(parametry.Kolory));
    // A text longer than its field shows from its start.
    EEtap->setCursorPosition(0);
    EKolory->setCursorPosition(0);
}

EnteredParameters TForm2::ParametryZDialogu() const {
    EnteredParameters entered{stan_.etap.parametry, EEtap->text()};
    krelwin::ParametryEtapu& parametry = entered.parametry;
    parametry.Typ = typIndex() == 0 ? krelwin::TypZwykly : krelwin::TypBonusowy;
    for (std::size_t i = 0; i < numberFields_.size(); ++i) {
        const NumberField* field = numberFields_[i];
        parametry.*krelwin::NumberParameters[i].member = field->clamped(field->value());
    }
    parametry.Kolory = krelwin::toFileBytes(EKolory->text());
    return entered;
}
