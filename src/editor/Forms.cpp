#include "Forms.h"

#include "BusyWait.h"
#include "EditorState.h"
#include "FileWorkflow.h"
#include "GenLos.h"
#include "ListaE.h"
#include "MessageBoxDialogue.h"
#include "ParaEtap.h"
#include "RecoveryKeeper.h"
#include "aarys.h"

EditorState* Stan = nullptr;
FileWorkflow* Workflow = nullptr;
RecoveryKeeper* Recovery = nullptr;
TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm4* Form4 = nullptr;

namespace {
MessageBoxDialogue* Dialogue = nullptr;
}

void createForms() {
    installBusyWait();
    Stan = new EditorState;
    Dialogue = new MessageBoxDialogue;
    Workflow = new FileWorkflow(*Stan, *Dialogue);
    Recovery = new RecoveryKeeper(*Workflow, *Dialogue);
    Form1 = new TForm1(*Workflow);
    Dialogue->showOver(Form1);
    Form3 = new TForm3(*Workflow, Form1);
    Form2 = new TForm2(*Stan, Form1);
    Form4 = new TForm4(Form1);
}

// The views go first, then what they show: the workflow's history refers to the state until
// it is deleted.
void destroyForms() {
    delete Form1;
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
    delete Recovery; // a normal end: the copy of unsaved work goes
    Recovery = nullptr;
    delete Workflow;
    Workflow = nullptr;
    delete Dialogue;
    Dialogue = nullptr;
    delete Stan;
    Stan = nullptr;
}
