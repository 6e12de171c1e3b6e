#include "GenLos.h"

#include "NumberField.h"
#include "TileSet.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace {

struct Row {
    const char* caption;
    int labelTop;
    int fieldTop;
};

// Label2 .. Label12 with SE1 .. SE11, top to bottom, in the order of the shares.
constexpr std::array<Row, TForm4::IleUdzialow> Rows{{
    {"Diamenty:", 40, 32},
    {"Ziemia:", 72, 61},
    {"Kamienie:", 100, 90},
    {"Nity:", 128, 118},
    {"Motyle:", 156, 147},
    {"Potwory:", 184, 176},
    {"Murek:", 212, 205},
    {"Mur\ndiamentowy:", 232, 234},
    {"Mur\nrozszerzalny:", 260, 262},
    {"Lawa\nrozszerzalna:", 288, 291},
    {"Lawa\nprzepuszczająca:", 316, 320},
}};

constexpr int LayoutWidth = 288;
constexpr int LayoutHeight = 388;
constexpr int Margin = 8; // around the caption at the top, and the least right of the fields
constexpr int LabelLeft = 44;
constexpr int FieldLeft = 128;
constexpr int FieldWidth = 61;
constexpr int FieldHeight = 22;
constexpr QRect TileColumnPlace{8, 28, 29, 333};

// Tiles 1 to 11 on black, each beside the row of its kind.
class TileColumn : public QWidget {
public:
    explicit TileColumn(QWidget* parent) : QWidget(parent) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setEnabled(false);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        for (int k = 0; k < TForm4::IleUdzialow; ++k) {
            const int centre = Rows[k].fieldTop + FieldHeight / 2 - TileColumnPlace.top();
            drawTile(painter, QPoint(0, centre - krelwin::render::TileSize / 2), k + 1);
        }
    }

private:
    static void drawTile(QPainter& painter, QPoint topLeft, int tileIndex) {
        const krelwin::render::TileSet& tiles = krelwin::render::TileSet::builtIn();
        if (tiles.hasImage(tileIndex)) {
            painter.drawImage(topLeft, tiles.image(tileIndex));
        }
    }
};

} // namespace

TForm4::TForm4(QWidget* parent) : PlacedDialog(parent) {
    buildLayout();
    buildRows();
    fitWidthToText();
    buildButtons();
    QWidget::setTabOrder(BitBtn1, BitBtn2);
    QWidget::setTabOrder(BitBtn2, SE[0]);
    for (int k = 1; k < IleUdzialow; ++k) {
        QWidget::setTabOrder(SE[k - 1], SE[k]);
    }
    BitBtn1->setFocus(); // the first showing starts here, later ones where the focus was left
}

void TForm4::buildLayout() {
    setWindowTitle(QStringLiteral("Generator map losowych"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(dialogFont());
    setFixedSize(LayoutWidth, LayoutHeight);

    Label1 =
        new QLabel(QStringLiteral("Udział poszczególnych elementów w generowanej mapie:"), this);
    Label1->move(Margin, Margin);
    Label1->adjustSize();
    ListView1 = new TileColumn(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(TileColumnPlace);
}

void TForm4::buildRows() {
    std::vector<LabelledField> column;
    for (int k = 0; k < IleUdzialow; ++k) {
        Labels[k] = new QLabel(QString::fromUtf8(Rows[k].caption), this);
        Labels[k]->setObjectName(QStringLiteral("Label%1").arg(k + 2));
        Labels[k]->move(LabelLeft, Rows[k].labelTop);
        Labels[k]->adjustSize();
        SE[k] = new NumberField(0, 99, 2, this);
        SE[k]->setObjectName(QStringLiteral("SE%1").arg(k + 1));
        SE[k]->setGeometry(FieldLeft, Rows[k].fieldTop, FieldWidth, FieldHeight);
        SE[k]->setValue(krelwin::DomyslneUdzialy[k]);
        Labels[k]->setBuddy(SE[k]);
        column.push_back({Labels[k], SE[k]});
    }
    moveFieldsClearOfLabels(column);
}

// The dialog widens only when the caption at the top or the field column would reach its edge.
void TForm4::fitWidthToText() {
    const int contentRight = std::max(Label1->geometry().right(), SE[0]->geometry().right()) + 1;
    widenBy(this, widthMissing(this, contentRight, Margin));
}

void TForm4::buildButtons() {
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(0, 347, width(), 41);
    Panel1 = panel;
    const int widening = width() - LayoutWidth; // the buttons keep to the right

    BitBtn1 = new QPushButton(dialogButtonIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("&Generuj"), Panel1);
    BitBtn1->setGeometry(60 + widening, 8, 105, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    BitBtn2 = new QPushButton(dialogButtonIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("&Anuluj"), Panel1);
    BitBtn2->setGeometry(171 + widening, 8, 105, 25);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    pressOnAcceleratorKeepingFocus(BitBtn1);
    pressOnAcceleratorKeepingFocus(BitBtn2);
}

krelwin::Udzialy TForm4::udzialy() const {
    krelwin::Udzialy udzialy{};
    for (int k = 0; k < IleUdzialow; ++k) {
        udzialy[k] = SE[k]->value();
    }
    return udzialy;
}
