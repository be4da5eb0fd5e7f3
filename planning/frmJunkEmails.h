#pragma once
// The junk e-mail list: addresses whose lead records the file import drops.

#include "Junk_List_Viewer.h"

class frmJunkEmails : public Junk_List_Viewer {
    Q_OBJECT
public:
    explicit frmJunkEmails(QWidget* parent = nullptr);

protected:
    void List_Read(int entries) override;
};
