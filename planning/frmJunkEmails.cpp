#include "frmJunkEmails.h"

#include "Dialogs.h"

frmJunkEmails::frmJunkEmails(QWidget* parent)
    // Addresses are kept to 200 characters, as the junk commands store them.
    : Junk_List_Viewer(parent, "frmJunkEmails", "Junk Email Viewer", "Junk Emails", "Junk Emails Listing",
                       "JunkEmails", "Email", 2400, 200)
{
    Form_Load();
}

void frmJunkEmails::List_Read(int entries)
{
    if (entries == 0)
        Message_Box("The Junk Email database has not been started yet!", vbOKOnly);
}
