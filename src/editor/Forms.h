// The program's four forms. They are created once, in the order main window, stage list
// dialog, stage parameters dialog, generator dialog, and live until the program ends; the
// forms reach one another through these pointers.
#pragma once

class TForm1;
class TForm2;
class TForm3;
class TForm4;

extern TForm1* Form1; // main window (aarys)
extern TForm2* Form2; // stage parameters dialog (ParaEtap)
extern TForm3* Form3; // stage list dialog (ListaE)
extern TForm4* Form4; // generator dialog (GenLos)

// Creates the four forms in their order and wires the main window's state into the stage
// list dialog. The dialogs are children of the main window.
void createForms();
// Deletes them all and clears the pointers (the main window owns the dialogs).
void destroyForms();
