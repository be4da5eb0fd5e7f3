#pragma once
// The SMTP sending window: shown for three seconds when the workflow run
// starts it, then hidden while its cycle runs on the event loop: every due
// outbox e-mail is sent, filed in its contact's history and taken out of the
// outbox, then a five-second pause, until the flag Message_Center_Running is
// cleared. Every wait is bounded and handles events, so the window stays
// responsive and nobody waits on the cycle.

#include <QDateTime>
#include <QSet>
#include <QSqlRecord>
#include <QString>
#include <QWidget>

#include "SMTP_Session.h"

class QLabel;
class QProgressBar;
class QStatusBar;

// The shipped sender address the settings start with: not a real sender.
inline constexpr const char* Placeholder_Default_Email_Address = "yourname@yourcompany.com";

class MessageCenter : public QWidget {
    Q_OBJECT

public:
    explicit MessageCenter(QWidget* parent = nullptr);
    ~MessageCenter() override;

    // Shows the window, sets Message_Center_Running and starts the cycle;
    // returns at once.
    void Form_Load();
    // One sending batch over the due outbox e-mails.
    void Send_All_Messages();
    void Progress_Update();
    // Closes the connection; the cycle ends at its next turn.
    void Form_Unload();

    // The number of messages filed as sent by the last batch.
    int Sent_In_Last_Batch() const { return sent_; }
    bool Batch_Running() const { return batch_running_; }
    QString Panel_Text(int Panel) const;

    // Waits (bounded) until the message in hand is done and files it; used
    // when the program ends in the middle of a batch.
    void Finish_Message_In_Hand();

    QLabel* Label1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    SMTP_Session Session;

private:
    enum class In_Hand { None, Row, Cc_Copy };

    void Main_Control();
    void Pause_While_Running(double seconds);
    void Set_Panel(int panel, const QString& text);
    bool Settings_Ready();
    bool Send_And_Wait(const QString& to, const QString& to_name, const QString& subject);
    void Conclude_In_Hand();
    void File_Sent_Row(const QSqlRecord& row);
    void Queue_Cc_Copy(const QSqlRecord& row);
    void Retry_Unremoved_Rows();

    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    int Message_Counter = 0;
    int sent_ = 0;
    bool batch_running_ = false;
    bool unloaded_ = false;
    QDateTime retry_after_;    // no batch before this moment (server unreachable)

    QSqlRecord row_;           // the outbox row of the message in hand
    In_Hand in_hand_ = In_Hand::None;
    bool concluded_ = true;    // the message in hand has been dealt with
};

// The running sending window, or nullptr.
MessageCenter* Message_Center();
// Starts the sending window unless it runs already (what the workflow run calls).
void Load_Message_Center();
// The exit path: clears Message_Center_Running, lets the message in hand end
// (bounded) and files it, and closes the window. The cycle stops between two
// messages, never in the middle of one.
void Stop_Message_Center();
// Registers Load_Message_Center with the workflow run.
void Install_Smtp_Sender();
