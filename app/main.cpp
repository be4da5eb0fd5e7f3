#include <QApplication>

#include "Dialog_Windows.h"
#include "Dialogs.h"
#include "Engine_Hooks.h"
#include "Form_Conventions.h"
#include "Report_Preview_Window.h"
#include "Spell_Check_Dialog.h"
#include "frmContactSystem.h"
#include "frmFTPImport.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(Program_Title);
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION_TEXT));
    Install_Form_Conventions();
    Register_Widget_Dialogs();
    Register_Widget_Spell_Check();
    Register_Widget_Report_Preview();
    Set_Mouse_Pointer_Restorer([] { QApplication::restoreOverrideCursor(); });
    Install_Download_Window();
    frmContactSystem window;
    window.End_Program_On_Close = true;
    if (!window.Start_Up())
        return 0;
    return app.exec();
}
