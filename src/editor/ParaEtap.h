// The stage parameters dialog "Parametry etapu". Every stage parameter passes through its
// fields before it is stored, so their ranges are where the parameter ranges are enforced:
// ParametryDoDialogu copies the stage in memory into the fields, ParametryZDialogu copies the
// fields back (clamped), together with the stage name and the map view's size.
//
// The dialog takes nothing over by itself: a command shows it modally and, on Accepted, calls
// ParametryZDialogu. Each showing reloads every field but EPlik from the stage in memory.
#pragma once

#include "DialogHelpers.h"
#include "StageNameField.h"
#include "parametry_etapu.h"

#include <array>

class NumberField;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TForm2 : public PlacedDialog {
public:
    explicit TForm2(QWidget* parent = nullptr);

    void ParametryDoDialogu();
    void ParametryZDialogu();

    // RGTyp's selected item: 0 "Zwykły etap", 1 "Bonusowy".
    int typIndex() const;
    void setTypIndex(int index);

    QFrame* Panel2;
    QLabel* Label11;
    QLineEdit* EPlik;

    QFrame* Panel1;
    QLabel* Label9;
    StageNameField* EEtap;
    QLabel* Label10;
    QLineEdit* EKolory;

    QGroupBox* RGTyp;
    QRadioButton* RGTypZwykly;
    QRadioButton* RGTypBonusowy;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    NumberField* SESzer;
    QLabel* Label2;
    NumberField* SEWys;

    QGroupBox* GroupBox2;
    QLabel* Label3;
    NumberField* SEIleD;
    QLabel* Label4;
    NumberField* SEPktD;
    QLabel* Label5;
    NumberField* SECzasG;

    QGroupBox* GroupBox3;
    QLabel* Label6;
    NumberField* SEMagMur;
    QLabel* Label7;
    NumberField* SERozL;
    QLabel* Label8;
    NumberField* SELawP;

    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildPanels();
    void placeColourCaption();
    void buildTypeGroup();
    void buildNumberGroups();
    // The number fields in the order of the parameter table, each set from its parameter.
    void setNumberFields(const krelwin::ParametryEtapu& parametry);
    void fitGroupsToFields();
    void buildButtons();
    void setTabOrderOfControls();
    void placePanels();
    void FormShow();

    std::array<NumberField*, krelwin::NumberParameters.size()> numberFields_{};
};
