#pragma once
// The start-up fetch window: shown modally over the main window, it waits two
// seconds, signs on, fetches and integrates all mail, and closes itself. A
// store that cannot be read is said on the main window's status bar.

#include <QDialog>

class QLabel;
class QStatusBar;

class frmMAPI_Get_Email : public QDialog {
    Q_OBJECT

public:
    explicit frmMAPI_Get_Email(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;

    // The start-up fetch; runs once however often the window is activated.
    void Form_Activate();
    bool Fetch_Done() const { return done_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool started_ = false;
    bool done_ = false;
};
