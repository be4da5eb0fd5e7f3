#include "frmJunkNames.h"

frmJunkNames::frmJunkNames(QWidget* parent)
    : Junk_List_Viewer(parent, "frmJunkNames", "Junk Names Viewer", "Junk Names", QString(), "JunkNames",
                       "Name", 2200, 0)
{
    Form_Load();
}
