#pragma once
// "Select Contact Group by Product": the contacts of one product become the group.

#include "Group_Value_Picker.h"

class frmSelectProduct : public Group_Value_Picker {
    Q_OBJECT
public:
    frmSelectProduct(QWidget* parent, Group_Chosen chosen);
    List_View* ListProduct = nullptr;
};
