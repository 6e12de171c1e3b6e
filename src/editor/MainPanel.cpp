#include "MainPanel.h"

#include "MapView.h"
#include "TextCodec.h"
#include "errors.h"

#include <QLabel>

#include <algorithm>

namespace {

QLabel* makeIntroLabel(const QString& text, int height, int pixelSize, const QColor& colour,
                       QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    label->setFont(font);
    // The height laid out for it; layOut gives more where this system's font needs it.
    label->setMinimumHeight(height);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    return label;
}

} // namespace

MainPanel::MainPanel() {
    setAutoFillBackground(true);
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    face.setColor(QPalette::WindowText, Qt::black);
    setPalette(face);
    buildIntroLabels();
    // Created after the introductory labels so that, once shown, it lies over them.
    DG1 = new MapView(this);
    DG1->setGridLineWidth(1);
    DG1->hide();
    buildStatusLabels();
}

void MainPanel::buildIntroLabels() {
    const QColor navy(0, 0, 128);
    const QColor green(0, 128, 0);
    Label6 = makeIntroLabel(QString(), 28, 11, Qt::black, this);
    Label2 = makeIntroLabel(QStringLiteral("Edytor napisał zespół projektu Krelwin"), 24, 13, navy,
                            this);
    Label3 = makeIntroLabel(QString::fromUtf8(krelwin::ApplicationTitle), 36, 19, green, this);
    Label4 = makeIntroLabel(QStringLiteral("Program jest darmowy.\n"
                                           "To edytor map do gry Krelwin.\n"
                                           "Autorem gry jest zespół projektu Krelwin."),
                            80, 13, Qt::black, this);
    Label5 = makeIntroLabel(QStringLiteral("Etapy zapisuje się w plikach z rozszerzeniem .map.\n"
                                           "Gra otwiera plik podany jako parametr wywołania,\n"
                                           "na przykład: krelwin Plan01.map"),
                            48, 13, Qt::black, this);
}

void MainPanel::buildStatusLabels() {
    LPlik = new QLabel(QStringLiteral("plik"), this);
    LEtap = new QLabel(QStringLiteral("etap"), this);
    stageName_ = LEtap->text();
    Label1 = new QLabel(QStringLiteral("Poz:"), this);
    LPos = new QLabel(QStringLiteral("x,y"), this);
    QFont bold = LPos->font();
    bold.setBold(true);
    LPos->setFont(bold);
    for (QLabel* label : {LPlik, LEtap, Label1, LPos})
        label->hide();
}

void MainPanel::showStageName(const QString& name) {
    stageName_ = name;
    layOutStatusLine();
}

void MainPanel::showFileName(const QString& path) {
    LPlik->setText(path);
    layOutStatusLine();
}

void MainPanel::showStageEditing(bool shown) {
    DG1->setVisible(shown);
    for (QLabel* label : {LPlik, LEtap, Label1, LPos})
        label->setVisible(shown);
}

void MainPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void MainPanel::layOut() {
    int top = 0;
    for (QLabel* label : {Label6, Label2, Label3, Label4, Label5}) {
        const int height = std::max(label->minimumHeight(), label->sizeHint().height());
        label->setGeometry(0, top, width(), height);
        top += height;
    }
    DG1->setGeometry(4, 4, width() - (LaidOutWidth - 545), height() - (LaidOutHeight - 356));
    layOutStatusLine();
}

// The stage name grows to the left when it is longer than its place, so that it is seen whole,
// up to two thirds of the line; a longer one is cut with an ellipsis. The file path takes what
// remains left of it.
void MainPanel::layOutStatusLine() {
    const int statusTop = height() - (LaidOutHeight - 362);
    const int lineHeight = LPos->sizeHint().height();
    const int label1Left = width() - (LaidOutWidth - 490);
    const int lposLeft = width() - (LaidOutWidth - 514);
    Label1->setGeometry(label1Left, statusTop, lposLeft - label1Left, lineHeight);
    LPos->setGeometry(lposLeft, statusTop, width() - lposLeft, lineHeight);
    const int etapRight = label1Left - 4;
    const int etapWidest = std::max(0, (etapRight - 8) * 2 / 3);
    LEtap->setText(shownName(stageName_));
    if (LEtap->sizeHint().width() > etapWidest)
        LEtap->setText(LEtap->fontMetrics().elidedText(LEtap->text(), Qt::ElideRight,
                                                       etapWidest - 2 * LEtap->margin()));
    const int etapLeft =
        std::min(width() - (LaidOutWidth - 374), etapRight - LEtap->sizeHint().width());
    LEtap->setGeometry(etapLeft, statusTop, etapRight - etapLeft, lineHeight);
    LPlik->setGeometry(8, statusTop, std::max(0, etapLeft - 8 - 8), lineHeight);
}
