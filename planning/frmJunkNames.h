#pragma once
// The junk name list: first or last names whose lead records the file import
// drops while that setting is on.

#include "Junk_List_Viewer.h"

class frmJunkNames : public Junk_List_Viewer {
    Q_OBJECT
public:
    explicit frmJunkNames(QWidget* parent = nullptr);
};
