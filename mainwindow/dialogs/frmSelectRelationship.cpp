#include "frmSelectRelationship.h"

frmSelectRelationship::frmSelectRelationship(QWidget* parent, Group_Chosen chosen)
    : Group_Value_Picker(parent,
                         {"Select Contact Group by Relationship", "ListRelationships", "Relationships",
                          "Empty Relationship Field", "CRL", "REL", "SELECT * from Relationships", "Relation_Data",
                          "Use selected relationship to select contacts", "Checkmark", "CancelSelect",
                          "Cancel Selection", "Empty Relationships", "Contact_Relationship"},
                         std::move(chosen))
{
    setObjectName("frmSelectRelationship");
    ListRelationships = List;
}
