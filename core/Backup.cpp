#include "Backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Engine_Hooks.h"
#include "GlobalVariables.h"
#include "Settings.h"

namespace {

std::filesystem::path Fs_Path(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

QString Error_Text(const std::error_code& error)
{
    return QString::fromLocal8Bit(error.message());
}

// The backup goes into Backup_Dir when that folder exists, under the
// database's own name; otherwise to databackup.mdb in the program folder.
QString Backup_Target()
{
    const QString dir = Current_Settings().Backup_Dir;
    if (!dir.isEmpty() && QFileInfo(dir).isDir())
        return QDir(dir).filePath(QFileInfo(GlobalVariables::Database_Path).fileName());
    return GlobalVariables::Program_Folder + "databackup.mdb";
}

// Copies the file byte for byte over an older copy.
void Backup_Database()
{
    const QString target = Backup_Target();
    std::error_code error;
    std::filesystem::copy_file(Fs_Path(GlobalVariables::Database_Path), Fs_Path(target),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        Message_Box("The database could not be backed up to " + QDir::toNativeSeparators(target)
                        + ": " + Error_Text(error),
                    vbOKOnly | vbExclamation);
}

QString Compaction_File()
{
    return GlobalVariables::Program_Folder + "databck.mdb";
}

// A compaction file at start-up is what a compaction that was ended before
// its time (killed, the power gone) left: the database was not touched, as
// the file takes its place only whole, by one rename.
bool Compaction_Left_Unfinished()
{
    std::error_code error;
    return std::filesystem::exists(Fs_Path(Compaction_File()), error);
}

// Writes the file's data to the disk, so that a rename after it never puts
// a file in place whose contents a power cut could still take away.
bool Sync_Path(const QString& path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Stamps the backup time and moves the start counter on; true when this
// start is the one that compacts. A compaction left unfinished is done now
// and the count starts afresh.
bool Count_Start(bool Unfinished_Compaction)
{
    Database db = Open_Database();
    Database_Transaction transaction(db);
    const QSqlRecord row =
        db.Select_First("SELECT rowid, Compression_Counter FROM Settings ORDER BY rowid LIMIT 1");
    if (row.isEmpty())
        throw Database_Error("The settings row is missing.");
    const QVariant rowid = row.value(0);
    const QVariant counter = row.value(1);
    bool compact = false;
    qint64 next = 1;
    if (Unfinished_Compaction) {
        next = 0;
        compact = true;
    } else if (counter.isNull()) {
        next = 1;
    } else if (counter.toLongLong() < 5) {
        next = counter.toLongLong() + 1;
    } else {
        next = 0;
        compact = true;
    }
    db.Execute("UPDATE Settings SET Backup_Date = ?, Compression_Counter = ? WHERE rowid = ?",
               {Now(), next, rowid});
    transaction.Commit();
    return compact;
}

void Compaction_Failed(const QString& reason)
{
    Show_Work_Note(QString());
    Message_Box("The database could not be compacted: " + reason
                    + "\r\n\r\nThe database has been left as it was.",
                vbOKOnly | vbExclamation);
}

// Writes the compacted copy, checks it, and only then puts it in place of
// the database by one rename, so there is always a whole database file.
void Compact_Database()
{
    // The copy takes a while on a large database, and no window is up yet.
    Show_Work_Note(Compaction_Note_Text);
    struct Note_Away {
        ~Note_Away() { Show_Work_Note(QString()); }
    } note_away;
    const QString database = GlobalVariables::Database_Path;
    const QString compacted = Compaction_File();
    std::error_code error;

    Database::Close_All();
    // A journal beside an old copy would be played into the new one when it is opened.
    for (const QString& path : {compacted, compacted + "-journal", compacted + "-wal", compacted + "-shm"}) {
        if (std::filesystem::exists(Fs_Path(path), error) && !std::filesystem::remove(Fs_Path(path), error)) {
            Compaction_Failed("the old file " + QDir::toNativeSeparators(path)
                              + " could not be deleted: " + Error_Text(error));
            return;
        }
    }

    try {
        Database(database).Execute("VACUUM INTO ?", {compacted});
        Database::Close_All();
        const QString check = Database(compacted).Scalar("PRAGMA integrity_check").toString();
        Database::Close_All();
        if (check != "ok")
            throw Database_Error("the compacted copy is damaged (" + check + ").");
        if (!Sync_Path(compacted, O_RDONLY))
            throw Database_Error("the compacted copy could not be written to the disk.");
    } catch (const Database_Error& e) {
        Database::Close_All();
        std::filesystem::remove(Fs_Path(compacted), error);
        Compaction_Failed(e.Description());
        return;
    }

    std::filesystem::rename(Fs_Path(compacted), Fs_Path(database), error);
    if (!error)
        Sync_Path(QFileInfo(database).absolutePath(), O_RDONLY | O_DIRECTORY);
    Show_Work_Note(QString());
    if (error)
        Message_Box("The compacted database could not be put in place: " + Error_Text(error)
                        + "\r\n\r\nThe database has been left as it was. The compacted copy is "
                        + QDir::toNativeSeparators(compacted) + ".",
                    vbOKOnly | vbExclamation);
}

} // namespace

void Backup_And_Compact_Database()
{
    // The copy must see the file as a whole, with no connection writing to it.
    Database::Close_All();
    Backup_Database();

    // Asked before anything else runs: the compaction it was is tried again
    // at once rather than six starts later, and its file goes with it.
    const bool unfinished = Compaction_Left_Unfinished();
    bool compact = false;
    try {
        compact = Count_Start(unfinished);
    } catch (const Database_Error& e) {
        Message_Box("The backup could not be recorded in the settings: " + e.Description(),
                    vbOKOnly | vbExclamation);
    }
    Database::Close_All();
    if (compact)
        Compact_Database();
}
