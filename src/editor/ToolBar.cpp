#include "ToolBar.h"

#include "TileSet.h"
#include "cells.h"

#include <QToolButton>

namespace {

constexpr int ToolBarHeight = 39;
constexpr int ToolButtonWidth = 38;
constexpr int ToolButtonHeight = 35;

class ToolButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void nextCheckState() override {}
};

} // namespace

namespace kod = krelwin::kod;

const std::array<ToolButtonRow, ToolCount> ToolButtonRows{{
    {kod::Start, "Pozycja startowa"},
    {kod::Diament, "Diament"},
    {kod::Ziemia, "Ziemia"},
    {kod::Kamien, "Kamień"},
    {kod::Nit, "Nit"},
    {kod::MotylPrawo, "Motyl"},
    {kod::PotworLewo, "Potwór"},
    {kod::Mur, "Mur"},
    {kod::DiamentowyMur, "Diamentowy mur"},
    {kod::MurRozszerzalny, "Mur rozszerzalny"},
    {kod::LawaRosnaca, "Lawa rosnąca"},
    {kod::LawaPrzepuszczajaca, "Lawa przepuszczająca"},
    {kod::Wyjscie, "Wyjście"},
    {kod::Pusty, nullptr},
}};

QWidget* buildToolBar(ToolButtonArray& buttons) {
    auto* bar = new QWidget;
    bar->setFixedHeight(ToolBarHeight);
    bar->setAutoFillBackground(true);
    QPalette face = bar->palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    bar->setPalette(face);
    const krelwin::render::TileSet& tiles = krelwin::render::TileSet::builtIn();
    for (int index = 0; index < ToolCount; ++index) {
        auto* button = new ToolButton(bar);
        button->setGeometry(index * ToolButtonWidth, 2, ToolButtonWidth, ToolButtonHeight);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(krelwin::render::TileSize, krelwin::render::TileSize));
        if (tiles.hasImage(index)) {
            button->setIcon(QIcon(QPixmap::fromImage(tiles.image(index))));
        }
        if (ToolButtonRows[index].hint != nullptr) {
            button->setToolTip(QString::fromUtf8(ToolButtonRows[index].hint));
        }
        buttons[std::size_t(index)] = button;
    }
    return bar;
}
