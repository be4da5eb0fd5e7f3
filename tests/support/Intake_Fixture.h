#pragma once
// Everything a test of the mail intake stands on: a program folder with a
// fresh database, a Maildir, the test clock, scripted dialogs and a main
// window that records what it is shown.

#include "Recording_Main_Window.h"
#include "Test_Maildir.h"
#include "Test_Support.h"

struct Intake_Fixture {
    Test_Program_Folder folder;
    Test_Maildir maildir;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    Recording_Main_Window window;
    Database db{folder.Db()};
};
