// Start-up: the database, the settings, the backup, the log-in, then the
// window with the contacts of the empty group.

#include <QDir>
#include <QFileInfo>

#include "Backup.h"
#include "Clock.h"
#include "Data_Access.h"
#include "Dialog_Windows.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Settings.h"
#include "frmContactSystem.h"
#include "Window_Activation.h"
#include "frmHelpBrowser.h"
#include "frmPassword.h"

namespace G = GlobalVariables;

bool frmContactSystem::Find_Database()
{
    G::Program_Folder = QDir::currentPath() + "/";
    const QString file = G::Program_Folder + "data2000.mdb";
    QString chosen;
    if (QFileInfo(file).isFile()) {
        chosen = file;
    } else {
        Message_Box("Cannot find the Main Database. Please select the database.");
        chosen = Open_File_Dialog("Open", "Database Files (*.mdb)", G::Program_Folder);
        if (chosen.isEmpty()) {
            Message_Box("No database has been entered. Quiting!");
            return false;
        }
    }
    const QFileInfo info(chosen);
    G::Database_Path = info.absoluteFilePath();
    G::Program_Folder = info.absolutePath() + "/";
    return true;
}

namespace {

// The file must open as a database and hold the program's tables; anything
// else ends the start-up with a message that names the file.
bool Database_Usable()
{
    try {
        Database db(G::Database_Path);
        // Settings is left to the settings load, whose failure has its own message and help page.
        const qint64 tables =
            db.Scalar("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                      "('Contacts', 'Eventhistory', 'Outbox')")
                .toLongLong();
        if (tables == 3)
            return true;
        Message_Box("The file " + QDir::toNativeSeparators(G::Database_Path)
                        + " is not a Brackenlead database: its tables are missing.\r\n\r\nThe program ends.",
                    vbOKOnly | vbCritical);
    } catch (const Program_Error& e) {
        Message_Box("The file " + QDir::toNativeSeparators(G::Database_Path)
                        + " cannot be used as the database: " + e.Description() + "\r\n\r\nThe program ends.",
                    vbOKOnly | vbCritical);
    }
    return false;
}

} // namespace

bool frmContactSystem::Log_In()
{
    if (Current_Settings().Furrowline_Password.isEmpty()) {
        G::Password_Dialog_Answered = true;
        return true;
    }
    return Ask_Log_In_Password(nullptr);
}

bool frmContactSystem::Start_Up()
{
    G::Password_Dialog_Answered = false;
    G::ToDo_List_Loaded = false;
    if (!Find_Database())
        return false;
    if (!Database_Usable())
        return false;
    if (!Load_Settings()) {
        // The settings could not be read: the help page says what to do, then the program ends.
        frmHelpBrowser help;
        help.Navigate(Help_Page_Url("miss_mdac.htm"),
                      "Brackenlead could not read its settings from the database.");
        help.exec();
        return false;
    }
    QDir().mkpath(G::Program_Folder + "Attachments");
    try {
        Backup_And_Compact_Database();
    } catch (const Program_Error& e) {
        Message_Box("Error on the start-up backup: " + e.Description());
    }
    if (!Log_In())
        return false;

    Refresh_Product_Title_Relationship_Lists();

    Set_Up_Panes();
    Current_Tab_Number = 1;
    TabStrip1->blockSignals(true);
    TabStrip1->setCurrentIndex(0);
    TabStrip1->blockSignals(false);
    G::ToDo_List_Loaded = false;
    G::Unmatched_List_Loaded = false;
    G::Outbox_List_Loaded = false;

    // The window comes up first, so that the list's messages stand over it.
    Refresh_Layout_Sizes();
    show();
    Keep_Window_Active(this);
    Set_Dialog_Parent(this);
    Contacts_Where_Clause = Where_Clause{};
    ListContacts->clear();
    Setup_The_Contacts_Tree(Contacts_Where_Clause);
    Time_Pause(1);
    Start_Up_Mail_Fetch();
    // The keyboard starts in the contact list: the arrows walk the contacts.
    ListContacts->setFocus();
    return true;
}
