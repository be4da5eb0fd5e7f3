#include "frmDelete_Relationship.h"

frmDelete_Relationship::frmDelete_Relationship(QWidget* parent)
    : Lookup_Delete_Dialog(parent, "Delete Relationship From List", "Contact Relationship", "lstRelationship",
                           "Delete Relationship", "Relationships", "Relation_Data")
{
    setObjectName("frmDelete_Relationship");
    lstRelationship = List;
}
