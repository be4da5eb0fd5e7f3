#include "Start_Up_Steps.h"

#include <QDir>
#include <QFileInfo>

#include "Backup.h"
#include "Database.h"
#include "Dialogs.h"
#include "Engine_Hooks.h"
#include "GlobalVariables.h"
#include "Settings.h"
#include "Work_Note.h"
#include "dialogs/frmHelpBrowser.h"
#include "frmPassword.h"

namespace G = GlobalVariables;

bool Find_Database()
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

// Anything else ends the start-up with a message that names the file.
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

bool Log_In()
{
    if (Current_Settings().Furrowline_Password.isEmpty()) {
        G::Password_Dialog_Answered = true;
        return true;
    }
    return Ask_Log_In_Password(nullptr);
}


bool Settings_Loaded()
{
    if (Load_Settings())
        return true;
    frmHelpBrowser help;
    help.Navigate(Help_Page_Url("miss_mdac.htm"));
    help.exec();
    return false;
}

void Prepare_Database()
{
    QDir().mkpath(G::Program_Folder + "Attachments");
    // A compaction says what it does: the main window is not up yet.
    Work_Note note;
    Set_Work_Note_Shower([&note](const QString& text) { note.Say(text); });
    // The hook leaves with the note, however the backup ends.
    struct Shower_Away {
        ~Shower_Away() { Set_Work_Note_Shower({}); }
    } shower_away;
    try {
        Backup_And_Compact_Database();
    } catch (const Program_Error& e) {
        Message_Box("Error on the start-up backup: " + e.Description());
    }
}
