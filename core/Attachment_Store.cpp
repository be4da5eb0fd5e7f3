#include "Attachment_Store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>
#include <functional>

#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"

namespace {

QString Incoming_Path(const QString& Target)
{
    return Attachment_Incoming_Folder() + QFileInfo(Target).fileName();
}

bool Copy_And_Record(const QString& failure_text, const QString& Source_Path,
                     const std::function<void(Database&, const QString& copy, const QString& name)>& record)
{
    QString copy;
    try {
        if (!QFileInfo(Source_Path).isFile())
            throw File_Error("File not found: " + Source_Path);
        copy = Attachment_Free_Name(Source_Path);
        Copy_To_Incoming(Source_Path, copy);
        Database db = Open_Database();
        record(db, copy, QFileInfo(Source_Path).fileName());
        Move_From_Incoming(copy);
        return true;
    } catch (const Program_Error& e) {
        // A copy without its row would lie in the store for ever.
        if (!copy.isEmpty())
            Drop_Incoming(copy);
        Message_Box(failure_text + e.Description(), vbOKOnly);
    }
    return false;
}

void Remove_File(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    QFile file(path);
    if (!file.remove())
        throw File_Error("Could not delete " + path + ": " + file.errorString());
}

} // namespace

QString Attachments_Folder()
{
    return GlobalVariables::Program_Folder + "Attachments/";
}

QString Attachment_Free_Name(const QString& Source_Path)
{
    const QString folder = Attachments_Folder();
    const QString name = QFileInfo(Source_Path).fileName();
    QString candidate = folder + name;
    for (qint64 counter = 0; Attachment_Name_Taken(candidate); ++counter)
        candidate = folder + QString::number(counter) + name;
    return candidate;
}

QString Attachment_Incoming_Folder()
{
    return Attachments_Folder() + ".incoming/";
}

bool Attachment_Name_Taken(const QString& Path)
{
    return QFileInfo::exists(Path) || QFileInfo::exists(Incoming_Path(Path));
}

// The waiting place of Target, its folder made.
QString Make_Incoming_Path(const QString& Target)
{
    const QString folder = Attachment_Incoming_Folder();
    if (!QDir().mkpath(folder))
        throw File_Error("Cannot make the folder " + folder + ".");
    return Incoming_Path(Target);
}

void Copy_To_Incoming(const QString& Source, const QString& Target)
{
    QFile source(Source);
    if (!source.copy(Make_Incoming_Path(Target)))
        throw File_Error("Cannot copy " + QFileInfo(Source).fileName() + ": " + source.errorString());
}

void Move_To_Incoming(const QString& Source, const QString& Target)
{
    QFile source(Source);
    // Across file systems this copies and removes the source.
    if (!source.rename(Make_Incoming_Path(Target)))
        throw File_Error("Cannot move " + QFileInfo(Source).fileName() + ": " + source.errorString());
}

void Move_From_Incoming(const QString& Target)
{
    QFile copy(Incoming_Path(Target));
    if (!copy.rename(Target))
        throw File_Error("Cannot move " + QFileInfo(Target).fileName() + " into " + Attachments_Folder() + ": "
                         + copy.errorString());
}

void Drop_Incoming(const QString& Target)
{
    QFile::remove(Incoming_Path(Target));
}

void Finish_Incoming_Attachments()
{
    const QDir incoming(Attachment_Incoming_Folder());
    if (!incoming.exists())
        return;
    const QStringList waiting = incoming.entryList(QDir::Files | QDir::Hidden | QDir::System);
    if (!waiting.isEmpty()) {
        Database db = Open_Database();
        for (const QString& name : waiting) {
            const QString target = Attachments_Folder() + name;
            const bool recorded =
                !QFileInfo::exists(target)
                && (!db.Select_First("SELECT rowid FROM Attachments WHERE Attachment_Path_Name = ? LIMIT 1", {target})
                         .isEmpty()
                    || !db.Select_First("SELECT rowid FROM Outbox_Attachments WHERE Attachment_Path = ? LIMIT 1",
                                        {target})
                            .isEmpty());
            // A copy whose row is stored and that cannot move now is tried again next time.
            if (!recorded)
                QFile::remove(incoming.filePath(name));
            else
                QFile::rename(incoming.filePath(name), target);
        }
    }
    QDir().rmdir(incoming.path());
}

bool Copy_File_To_Event_Attachments(qint64 Event_ID, const QString& Source_Path)
{
    return Copy_And_Record(
        "Error on Add Attachment. msg: ", Source_Path,
        [Event_ID](Database& db, const QString& copy, const QString& name) {
            db.Insert("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, "
                      "Attachment_Final_Name) VALUES (?, ?, ?, ?)",
                      {Event_ID, QString("E"), copy, name});
        });
}

bool Copy_File_To_Outbox_Attachments(qint64 Outbox_ID, const QString& Source_Path)
{
    return Copy_And_Record(
        "Error on Add Outbox Attachment. msg: ", Source_Path,
        [Outbox_ID](Database& db, const QString& copy, const QString& name) {
            db.Insert("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Path, Attachment_Name) "
                      "VALUES (?, ?, ?)",
                      {Outbox_ID, copy, name});
        });
}

void Delete_One_Attachment(qint64 Link_ID, const QString& Link_Database,
                           const QString& Attachment_Final_Name, int Occurrence)
{
    Database db = Open_Database();
    const QSqlRecord row = db.Select_First(
        "SELECT rowid, Attachment_Path_Name FROM Attachments WHERE Link_ID = ? AND Link_Database = ? "
        "AND Attachment_Final_Name = ? ORDER BY rowid LIMIT 1 OFFSET ?",
        {Link_ID, Link_Database, Attachment_Final_Name, qMax(Occurrence, 0)});
    if (row.isEmpty()) {
        Message_Box("Could not find Attachment: " + Attachment_Final_Name, vbOKOnly);
        return;
    }
    Remove_File(Db_Text(row, "Attachment_Path_Name"));
    db.Execute("DELETE FROM Attachments WHERE rowid = ?", {row.value(0)});
}

void Delete_All_Attachments(qint64 Link_ID, const QString& Link_Database)
{
    Database db = Open_Database();
    const QList<QSqlRecord> rows = db.Select(
        "SELECT rowid, Attachment_Path_Name FROM Attachments WHERE Link_ID = ? AND Link_Database = ? "
        "ORDER BY rowid",
        {Link_ID, Link_Database});
    for (const QSqlRecord& row : rows) {
        Remove_File(Db_Text(row, "Attachment_Path_Name"));
        db.Execute("DELETE FROM Attachments WHERE rowid = ?", {row.value(0)});
    }
}
