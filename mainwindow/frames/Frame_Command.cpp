#include "Frame_Command.h"

#include "Database.h"
#include "Dialogs.h"
#include "Key_Toolbar.h"
#include "Pending_Edits.h"

void Run_Frame_Command(Key_Toolbar& Toolbar, Pending_Edits& Edits, const QString& Operation,
                       const std::function<void()>& Command)
{
    // Off: the first click's command is still under way.
    if (!Toolbar.isEnabled())
        return;
    if (!Edits.Save_Contact_Edits())
        return;
    Toolbar.setEnabled(false);
    QString failure;
    try {
        Command();
    } catch (const Program_Error& e) {
        failure = e.Description();
    }
    Toolbar.setEnabled(true);
    if (!failure.isEmpty())
        Message_Box("Error on " + Operation + ": " + failure);
}
