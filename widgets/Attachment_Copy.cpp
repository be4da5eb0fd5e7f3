#include "Attachment_Copy.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>

#include "Data_Access.h"
#include "Dialogs.h"

int Attachment_Occurrence(const QStringList& Entries, int Row)
{
    if (Row < 0 || Row >= Entries.size())
        return 0;
    return int(Entries.mid(0, Row).count(Entries.at(Row)));
}

void Save_Attachment_Copy(qint64 Link_ID, const QString& Link_Database, const QString& Name,
                          int Occurrence)
{
    const QString ext = QFileInfo(Name).suffix();
    const QString filter =
        (ext.isEmpty() ? QString() : QString("(*.%1) (*.%1);;").arg(ext)) + "All Files (*.*) (*)";
    const QString target = Save_File_Dialog("Save Attachment", filter, Name);
    if (target.isEmpty())
        return;
    const QSqlRecord row = Open_Database().Select_First(
        "SELECT Attachment_Path_Name FROM Attachments WHERE Link_ID = ? AND Link_Database = ? "
        "AND Attachment_Final_Name = ? ORDER BY rowid LIMIT 1 OFFSET ?",
        {Link_ID, Link_Database, Name, qMax(Occurrence, 0)});
    if (row.isEmpty())
        return;
    const QString source = Db_Text(row, "Attachment_Path_Name");
    if (QFileInfo(target).absoluteFilePath() == QFileInfo(source).absoluteFilePath())
        return;
    // Overwrites what the user chose to replace; a failed copy is no silent success.
    QFile::remove(target);
    QFile file(source);
    if (!file.copy(target))
        Message_Box("Error on Save Attachment: " + Name + " could not be saved as " + target + ". "
                    + file.errorString());
}
