#include "Forms.h"

#include "BusyWait.h"
#include "GenLos.h"
#include "ListaE.h"
#include "ParaEtap.h"
#include "aarys.h"

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm4* Form4 = nullptr;

void createForms() {
    installBusyWait();
    Form1 = new TForm1;
    Form3 = new TForm3(Form1);
    Form2 = new TForm2(Form1);
    Form4 = new TForm4(Form1);
    // The current file and stage name are the texts of the main window's labels.
    Form3->biezacyPlik = [] { return Form1->BiezacyPlik(); };
    Form3->setBiezacyEtap = [](const QString& name) { Form1->setBiezacyEtap(name); };
}

void destroyForms() {
    delete Form1;
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
}
