// The keys of the fourteen toolbar buttons, in the toolbar's order, for the window to give its
// buttons and show in their hints ("Diament (D)").
//
// A key is the first letter of the kind's Polish name where it is free: P, L, R and F choose the
// drawing modes, so "Potwór" takes T and "Mur" U (M is "Motyl"). A kind whose name extends
// another's takes that letter with Shift, as "Prostokąt pełny" is Shift+R beside "Prostokąt":
// "Diamentowy mur" Shift+D, "Mur rozszerzalny" Shift+U, "Lawa przepuszczająca" Shift+A beside
// "Lawa rosnąca" A. The empty tool, the eraser ("gumka"), is G. None needs Ctrl, which stays
// with "Cofnij" and "Ponów".
#pragma once

#include "cells.h"

#include <QKeyCombination>
#include <QString>

#include <array>
#include <optional>

namespace tools {

struct ToolKey {
    char kod; // the code the button selects
    QKeyCombination key;
};

namespace kod = krelwin::kod;
inline constexpr std::array<ToolKey, 14> ToolButtonKeys{{
    {kod::Start, Qt::Key_S},
    {kod::Diament, Qt::Key_D},
    {kod::Ziemia, Qt::Key_Z},
    {kod::Kamien, Qt::Key_K},
    {kod::Nit, Qt::Key_N},
    {kod::MotylPrawo, Qt::Key_M},
    {kod::PotworLewo, Qt::Key_T},
    {kod::Mur, Qt::Key_U},
    {kod::DiamentowyMur, Qt::SHIFT | Qt::Key_D},
    {kod::MurRozszerzalny, Qt::SHIFT | Qt::Key_U},
    {kod::LawaRosnaca, Qt::Key_A},
    {kod::LawaPrzepuszczajaca, Qt::SHIFT | Qt::Key_A},
    {kod::Wyjscie, Qt::Key_W},
    {kod::Pusty, Qt::Key_G},
}};

// The key of the button that selects `kod`, if a button does.
std::optional<QKeyCombination> toolKeyOf(char kod);

// A hint with its key as menus show keys: "Diament (D)", "Mur rozszerzalny (Shift+U)".
QString hintWithKey(const QString& hint, QKeyCombination key);

// The hint of toolbar button `index` (0 for ToolButton1): its kind's name with its key. The
// empty tool's button, which shows a key like every other, is "Puste pole (G)".
QString toolButtonHint(std::size_t index);

} // namespace tools
