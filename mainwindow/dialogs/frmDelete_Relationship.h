#pragma once
// Deletes values from the relationship list.

#include "Lookup_Delete_Dialog.h"

class frmDelete_Relationship : public Lookup_Delete_Dialog {
    Q_OBJECT
public:
    explicit frmDelete_Relationship(QWidget* parent = nullptr);
    QListWidget* lstRelationship = nullptr;
};
