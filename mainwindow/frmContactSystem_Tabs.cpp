// The pages' own procedures that the window's frame calls. Each page's code
// replaces its bodies here (or moves them into its own file).

#include "frmContactSystem.h"

void frmContactSystem::Fill_ToDo_List()
{
}
