#include "ToolBar.h"

#include "Picker.h"
#include "TileSet.h"
#include "ToolKeys.h"

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

// The buttons' codes are those of their keys' table, in the same order.
char toolButtonCode(std::size_t index) {
    return tools::ToolButtonKeys.at(index).kod;
}

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
        button->setToolTip(tools::toolButtonHint(std::size_t(index)));
        buttons[std::size_t(index)] = button;
    }
    return bar;
}

void showPressedTool(const ToolButtonArray& buttons, char narzedzie) {
    const char pressed = tools::toolbarCodeOf(narzedzie);
    for (std::size_t index = 0; index < buttons.size(); ++index)
        buttons[index]->setChecked(pressed == toolButtonCode(index));
}
