#include "Engine_Calls.h"

#include <QTabBar>

#include "Bench_Session.h"
#include "Mapi_Fetch.h"
#include "List_View.h"
#include "frmContactSystem.h"
#include "pages/Contacts_Page.h"

QTreeWidget* Contact_List(frmContactSystem& window)
{
    return window.frameContactsCommands->List();
}

void Start_Workflow_Run(frmContactSystem& window)
{
    window.mnuProcessWorkflows->trigger();
}

bool Workflow_Run_Done(const Bench_Session& session)
{
    return session.Shown("All Prospects Have Been Processed");
}

void Start_Mail_Intake(frmContactSystem& window)
{
    window.mnu_Get_Mapi_Mail->trigger();
}

void Start_Start_Up_Mail_Fetch()
{
    Sign_On_And_Get_All_Mail(false);
}

bool Mail_Intake_Done()
{
    return !Mail_Intake_Running();
}

void Click_Current_Tab(frmContactSystem& window)
{
    Q_EMIT window.TabStrip1->tabBarClicked(window.TabStrip1->currentIndex());
}

bool Tab_Click_Done()
{
    return !Mail_Intake_Running();
}

void Start_Automatic_File_Import(frmContactSystem& window)
{
    window.mnuAutomaticFileImport->trigger();
}

bool File_Import_Done(const Bench_Session& session)
{
    return session.Shown("All import sources have been integrated.");
}

bool Start_Up_Window(frmContactSystem& window)
{
    return window.Start_Up();
}
