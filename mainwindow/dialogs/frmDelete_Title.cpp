#include "frmDelete_Title.h"

frmDelete_Title::frmDelete_Title(QWidget* parent)
    : Lookup_Delete_Dialog(parent, "Delete Title From List", "Contact Titles", "lstTitles", "Delete Title",
                           "Titles", "Contact_Title")
{
    setObjectName("frmDelete_Title");
    lstTitles = List;
}
