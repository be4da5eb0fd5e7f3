#pragma once
// The About box.

#include <QDialog>

class QPushButton;

class frmAbout_Furrowline : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout_Furrowline(QWidget* parent = nullptr);
    // Shows the one instance (made on first use), not modal.
    static frmAbout_Furrowline* Show_Instance(QWidget* parent);
    QPushButton* ok_button = nullptr;
};
