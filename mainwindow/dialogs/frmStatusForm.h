#pragma once
// "Status": the small window that shows how a broadcast to the group goes, a
// heading over a status bar of three panels. It stays beside the main
// window, which remains usable; closing it (its close box or Escape) asks the
// broadcast to stop after the contact in hand.

#include <QDialog>
#include <QList>

#include "Group_Broadcast.h"

class QLabel;
class QProgressBar;
class QStatusBar;

class frmStatusForm : public QDialog, public Broadcast_Status {
    Q_OBJECT
public:
    explicit frmStatusForm(QWidget* parent = nullptr);

    QLabel* Heading = nullptr;
    QProgressBar* ProgressBar1 = nullptr;   // not used by the broadcast
    QStatusBar* StatusBar1 = nullptr;

    void Set_Status_Panel(int panel, const QString& text) override;
    QString Status_Panel(int panel) const;
    bool Stop_Requested() const override { return stop_requested_; }

protected:
    void done(int result) override;

private:
    QList<QLabel*> panels_;
    bool stop_requested_ = false;
};
