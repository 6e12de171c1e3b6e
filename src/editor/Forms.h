// The program's four forms, the editing state and the file workflow they share. They are
// created once, in the order main window, stage list dialog, stage parameters dialog, generator
// dialog, and live until the program ends. Each form is given what it shows when it is made and
// speaks to the others through their methods and signals, never through their widgets.
#pragma once

class EditorState;
class FileWorkflow;
class MessageBoxDialogue;
class RecoveryKeeper;
class TForm1;
class TForm2;
class TForm3;
class TForm4;

extern EditorState* Stan;        // the stage in memory, clipboard, tool, random source, file, name
extern FileWorkflow* Workflow;   // the file commands, the stage list and the edit history
extern RecoveryKeeper* Recovery; // the recovery copy of unsaved work
extern TForm1* Form1;            // main window (aarys)
extern TForm2* Form2;            // stage parameters dialog (ParaEtap)
extern TForm3* Form3;            // stage list dialog (ListaE)
extern TForm4* Form4;            // generator dialog (GenLos)

// Creates the state, the workflow, the recovery copies' keeper and the four forms in their order.
// The dialogs are children of the main window.
void createForms();
// Deletes them all and clears the pointers (the main window owns the dialogs).
void destroyForms();
