#pragma once
// "Select Contact Group by Relationship": the contacts of one relationship become the group.

#include "Group_Value_Picker.h"

class frmSelectRelationship : public Group_Value_Picker {
    Q_OBJECT
public:
    frmSelectRelationship(QWidget* parent, Group_Chosen chosen);
    List_View* ListRelationships = nullptr;
};
