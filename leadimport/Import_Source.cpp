#include "Import_Source.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Data_Access.h"
#include "Dialogs.h"
#include "FTP_Download.h"
#include "File_Import.h"
#include "GlobalVariables.h"
#include "Lead_Import_State.h"
#include "Process_State.h"
#include "Random.h"

namespace {

const char* const Import_Running_Text = "A file import is already running. Please wait until it has finished.";

QString Download_Name(const QString& folder, int number)
{
    return folder + "ldata" + QString::number(number) + ".txt";
}

bool Flag_Set(const QVariant& value)
{
    return value.isValid() && !value.isNull() && value.toBool();
}

void Delete_Lead_File(const QString& path)
{
    if (!QFile::exists(path))
        return;
    // A read-only lead file is not deleted by force.
    const bool read_only = !(QFile::permissions(path) & QFileDevice::WriteOwner);
    if (read_only || !QFile::remove(path))
        Message_Box("The file " + path + " could not be deleted.");
}

void Import_FTP_Source(const QSqlRecord& source)
{
    const QString folder = GlobalVariables::Program_Folder + "data/";
    if (!QDir().mkpath(folder)) {
        Message_Box("The folder " + folder + " could not be created.");
        return;
    }
    const QString download = Draw_Download_File_Name(folder);
    if (download.isEmpty()) {
        Message_Box("There is no free name for the download file in " + folder +
                    ". Remove the old ldata files from it.");
        return;
    }

    int success = 0;
    {
        FTP_Download transfer;
        transfer.Header = "FTP: Downloading File \n" + Db_Text(source, "Path_For_File");
        Show_Download_Window(transfer);
        transfer.Get_Contacts_Using_FTP(source.value("Domain_Name"), source.value("Path_For_File"), download,
                                        source.value("Username"), source.value("Password"),
                                        source.value("Delete_Remote_File_When_Done"), success);
    }
    if (success == 0)
        return;
    // The copy goes only when it was read to its end and merged.
    if (Merge_The_Transferred_File(Db_Text(source, "Name_Of_Site"), download) == 1)
        Delete_Lead_File(download);
    else if (QFileInfo(download).isFile())
        // The remote file may be gone already: the downloaded copy is the one left.
        Message_Box("The downloaded leads of " + Db_Text(source, "Name_Of_Site") + " are kept in "
                    + QDir::toNativeSeparators(download) + ".");
}

void Import_Local_Source(const QSqlRecord& source)
{
    const QString path = Db_Text(source, "Path_For_File");
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        Message_Box("File: " + path + " does not exits.");
        return;
    }
    // The file goes only when it was read to its end and merged.
    const int result = Merge_The_Transferred_File(Db_Text(source, "Name_Of_Site"), QString(""));
    if (result == 1 && Flag_Set(source.value("Delete_Remote_File_When_Done")))
        Delete_Lead_File(path);
}

} // namespace

void Lead_Import_State::Reset()
{
    Merge_Fields.fill(QString());
    Last_Merge_Count = 0;
    Import_Running = false;
    Download_Window = {};
}

Lead_Import_State& Lead_Import()
{
    return Owned_State<Lead_Import_State>();
}

QString Draw_Download_File_Name(const QString& Folder)
{
    constexpr int Draws = 100;
    for (int draw = 0; draw < Draws; ++draw) {
        const QString name = Download_Name(Folder, int(Random_Next() * 1001) + 1000);
        if (!QFileInfo::exists(name))
            return name;
    }
    for (int number = 1000; number <= 2000; ++number) {
        const QString name = Download_Name(Folder, number);
        if (!QFileInfo::exists(name))
            return name;
    }
    return QString();
}

void Import_From_Source(const QString& Source_Name)
{
    if (Lead_Import().Import_Running) {
        Message_Box(Import_Running_Text);
        return;
    }
    Lead_Import().Import_Running = true;
    struct Running {
        ~Running() { Lead_Import().Import_Running = false; }
    } running;

    Database db = Open_Database();
    const QSqlRecord source =
        db.Select_First("SELECT * FROM ContactSources WHERE Name_Of_Site = ?", {Source_Name});
    if (source.isEmpty())
        return;
    // The contact list is left as it is: the user re-selects the group to see
    // the new contacts, as the closing message of the automatic import says.
    const QString type = Db_Text(source, "Type_Of_Source");
    if (type == "FTP")
        Import_FTP_Source(source);
    else if (type == "Local File")
        Import_Local_Source(source);
}

void Automatic_File_Import()
{
    // Started again while an import waits: said once, and not reported as done.
    if (Lead_Import().Import_Running) {
        Message_Box(Import_Running_Text);
        return;
    }
    Database db = Open_Database();
    const QList<QSqlRecord> sources = db.Select(
        "SELECT Name_Of_Site FROM ContactSources WHERE Automatically_Import = ? ORDER BY ID", {true});
    if (sources.isEmpty()) {
        Message_Box("There are no Import Sources set to automatic import.");
        return;
    }
    for (const QSqlRecord& source : sources) {
        const QString name = Db_Text(source, "Name_Of_Site");
        try {
            Import_From_Source(name);
        } catch (const std::exception& e) {
            Message_Box("Import of " + name + " failed: " + Error_Description(e));
        }
    }
    Message_Box("All import sources have been integrated. \r\nRequery your current contact group to get an "
                "updated listing");
}
