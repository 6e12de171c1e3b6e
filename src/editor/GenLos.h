// The generator dialog "Generator map losowych": the eleven shares of the random map generator,
// one row per cell kind with its tile, caption and number field. The fields keep their values
// between showings, "&Anuluj" included, until the program ends. The dialog returns Accepted
// only through "&Generuj"; the caller then reads udzialy().
#pragma once

#include "DialogHelpers.h"
#include "generator.h"

#include <array>

class NumberField;
class QLabel;
class QPushButton;
class QWidget;

class TForm4 : public PlacedDialog {
public:
    static constexpr int IleUdzialow = 11;

    explicit TForm4(QWidget* parent = nullptr);

    // The fields' values as they stand, unclamped; a text that is no number counts as 0.
    krelwin::Udzialy udzialy() const;

    std::array<NumberField*, IleUdzialow> SE; // SE1 .. SE11
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private:
    void buildLayout();
    void buildRows();
    void fitWidthToText();
    void buildButtons();

    QLabel* Label1;
    QWidget* ListView1; // the tile column, a key to the rows: no focus, no mouse
    std::array<QLabel*, IleUdzialow> Labels; // Label2 .. Label12
    QWidget* Panel1;
};
