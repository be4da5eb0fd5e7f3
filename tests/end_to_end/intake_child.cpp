// The mail intake alone in a process of its own, for the test that kills it:
// intake_child PROGRAM_FOLDER files the mail of $MAILDIR into the database
// of that folder, as Get eMail does, and says its message boxes on stderr.

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Mapi_Fetch.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = QDir(app.arguments().value(1)).absolutePath() + "/";
    GlobalVariables::Program_Folder = folder;
    GlobalVariables::Database_Path = folder + "data2000.mdb";
    Set_Message_Box_Handler([](const QString& text, int, const QString&) {
        fprintf(stderr, "%s\n", qPrintable(text));
        return int(vbOK);
    });
    return Sign_On_And_Get_All_Mail() ? 0 : 1;
}
