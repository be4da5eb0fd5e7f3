#pragma once
// Deletes values from the title list.

#include "Lookup_Delete_Dialog.h"

class frmDelete_Title : public Lookup_Delete_Dialog {
    Q_OBJECT
public:
    explicit frmDelete_Title(QWidget* parent = nullptr);
    QListWidget* lstTitles = nullptr;
};
