#include "Forms.h"

#include "BusyWait.h"
#include "EditorState.h"
#include "GenLos.h"
#include "ListaE.h"
#include "ParaEtap.h"
#include "aarys.h"

EditorState* Stan = nullptr;
TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm4* Form4 = nullptr;

void createForms() {
    installBusyWait();
    Stan = new EditorState;
    Form1 = new TForm1(*Stan);
    Form3 = new TForm3(*Stan, Form1);
    Form2 = new TForm2(*Stan, Form1);
    Form4 = new TForm4(Form1);
    // The parameters dialog sizes the map view to the stage it has set.
    QObject::connect(Form2, &TForm2::parametryPrzyjete, Form1, &TForm1::sizeViewToStage);
}

// The state goes last: the main window's history refers to it until it is deleted.
void destroyForms() {
    delete Form1;
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
    delete Stan;
    Stan = nullptr;
}
