// Actions > Automatic File Import: every file import source marked for
// automatic import, one after another.

#include "frmContactSystem.h"

#include "Database.h"
#include "Dialogs.h"
#include "Import_Source.h"

void frmContactSystem::Set_Up_File_Import()
{
    mnuAutomaticFileImport->setEnabled(true);
    connect(mnuAutomaticFileImport, &QAction::triggered, this, &frmContactSystem::mnuAutomaticFileImport_Click);
}

void frmContactSystem::mnuAutomaticFileImport_Click()
{
    if (!Save_Pending_Edits())
        return;
    try {
        Automatic_File_Import();
    } catch (const Program_Error& e) {
        Message_Box("Error on Automatic File Import: " + e.Description());
    }
}
