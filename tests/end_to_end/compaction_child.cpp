// The start-up's backup and compaction alone in a process of its own, for the
// test that kills it: compaction_child PROGRAM_FOLDER backs up and (when due)
// compacts the database of that folder, and says its message boxes on stderr.

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

#include "Backup.h"
#include "Dialogs.h"
#include "GlobalVariables.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = QDir(app.arguments().value(1)).absolutePath() + "/";
    GlobalVariables::Program_Folder = folder;
    GlobalVariables::Database_Path = folder + "data2000.mdb";
    int said = 0;
    Set_Message_Box_Handler([&said](const QString& text, int, const QString&) {
        fprintf(stderr, "%s\n", qPrintable(text));
        ++said;
        return int(vbOK);
    });
    Backup_And_Compact_Database();
    return said == 0 ? 0 : 1;
}
