#pragma once
// The detail area's greeting while no contact is shown.

#include <QFrame>

class Welcome_Frame : public QFrame {
    Q_OBJECT
public:
    explicit Welcome_Frame(QWidget* parent = nullptr);
};
