#pragma once
// The program's entries that the timed works go through, each in one line
// here: when an entry changes (its arguments, or it becomes a run that goes
// on in the background), the change is made here and nowhere else in benchmark/.
//
// Each work starts the way the user starts it (a menu command, a tab click)
// and is over when its "done" test holds; a work that goes on after its
// command returned must keep that test false until it has finished.

class Bench_Session;
class frmContactSystem;
class QTreeWidget;

// The main window's contact list.
QTreeWidget* Contact_List(frmContactSystem& window);

// Actions > Process Workflows; over at its closing message (automatic sending off).
void Start_Workflow_Run(frmContactSystem& window);
bool Workflow_Run_Done(const Bench_Session& session);

// Actions > Get eMail: signs on to $MAILDIR again and files what is new.
void Start_Mail_Intake(frmContactSystem& window);
// The fetch that the start-up runs, again: signs on to $MAILDIR and files what is new.
void Start_Start_Up_Mail_Fetch();
bool Mail_Intake_Done();

// A click on the tab that is shown: the unread check of every tab click.
void Click_Current_Tab(frmContactSystem& window);
bool Tab_Click_Done();

// Actions > Automatic File Import; over at its closing message.
void Start_Automatic_File_Import(frmContactSystem& window);
bool File_Import_Done(const Bench_Session& session);

// The start-up sequence of the program; false when it ended the program.
bool Start_Up_Window(frmContactSystem& window);
