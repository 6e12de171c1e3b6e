// The stage parameters dialog "Parametry etapu". ParametryDoDialogu copies the stage in memory
// and its name into the fields, ParametryZDialogu gives what the fields hold, each number
// brought into its range, for a command to take.
//
// The dialog takes nothing over by itself: a command shows it modally and, on Accepted, hands
// ParametryZDialogu to the file workflow. Each showing reloads every field but EPlik from the
// stage in memory.
#pragma once

#include "DialogHelpers.h"
#include "EnteredParameters.h"
#include "StageNameField.h"
#include "parametry_etapu.h"

#include <array>

class EditorState;
class NumberField;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TForm2 : public PlacedDialog {
    Q_OBJECT

public:
    explicit TForm2(const EditorState& stan, QWidget* parent = nullptr);

    void ParametryDoDialogu();
    EnteredParameters ParametryZDialogu() const;

    // RGTyp's selected item: 0 "Zwykły etap", 1 "Bonusowy".
    int typIndex() const;
    void setTypIndex(int index);

    // The file-name strip Panel2 and its field EPlik, which "Nowy" fills and shows.
    QString fileName() const;
    void setFileName(const QString& name);
    bool fileNameStripShown() const;
    void setFileNameStripShown(bool shown);

    QFrame* Panel2;
    QLabel* Label11;
    QLineEdit* EPlik;

    QFrame* Panel1;
    QLabel* Label9;
    StageNameField* EEtap;
    QLabel* Label10;
    QLineEdit* EKolory;

    QRadioButton* RGTypZwykly;
    QRadioButton* RGTypBonusowy;

    QLabel* Label1;
    NumberField* SESzer;
    QLabel* Label2;
    NumberField* SEWys;

    QLabel* Label3;
    NumberField* SEIleD;
    QLabel* Label4;
    NumberField* SEPktD;
    QLabel* Label5;
    NumberField* SECzasG;

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

    const EditorState& stan_;

    QGroupBox* RGTyp;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QGroupBox* GroupBox3;
    std::array<NumberField*, krelwin::NumberParameters.size()> numberFields_{};
};
