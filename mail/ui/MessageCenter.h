#pragma once
// The SMTP sending window over the SMTP sender (SMTP_Sender.h): shown for the
// three seconds of the sender's start, then hidden while the cycle runs; its
// status panels and activity bar follow the sender. It closes when the
// sender's cycle ends.

#include <QPointer>
#include <QWidget>

#include "SMTP_Sender.h"

class QLabel;
class QProgressBar;
class QStatusBar;

class MessageCenter : public QWidget {
    Q_OBJECT

public:
    explicit MessageCenter(SMTP_Sender& Sender, QWidget* parent = nullptr);

    SMTP_Sender& Sender() const { return *sender_; }
    bool Shows(const SMTP_Sender& Sender) const { return sender_ == &Sender; }
    QString Panel_Text(int Panel) const;

    QLabel* Label1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

private:
    void Show_Panel(int panel, const QString& text);

    QPointer<SMTP_Sender> sender_;
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
};

// The sending window of the running sender, or nullptr.
MessageCenter* Message_Center();
// Starts the SMTP sender with its window unless it runs already (what the
// workflow run calls).
void Load_Message_Center();
// The exit path: stops the sender (Stop_Smtp_Sender) and hides its window.
void Stop_Message_Center();
// Registers Load_Message_Center with the workflow run.
void Install_Smtp_Sender();
