#pragma once
// The SMTP sender: its cycle runs on the event loop for as long as the
// program runs. It starts showing (for three seconds), then runs a batch over
// the due outbox e-mails (each sent, filed in its contact's history and taken
// out of the outbox), pauses five seconds, and goes again until the flag
// Message_Center_Running is cleared. Every wait is bounded and handles events,
// so the program stays responsive and nobody waits on the cycle. What it
// shows (the status panels, the activity bar) is held here and signalled, for
// the sending window to follow; with no window nothing is shown.

#include <QDateTime>
#include <QObject>
#include <QSqlRecord>
#include <QString>

#include "SMTP_Session.h"

// The shipped sender address the settings start with: not a real sender.
inline constexpr const char* Placeholder_Default_Email_Address = "yourname@yourcompany.com";

class SMTP_Sender : public QObject {
    Q_OBJECT

public:
    // The activity bar runs from 0 to Progress_Maximum - 1, then from 0 again.
    static constexpr int Progress_Maximum = 99;

    explicit SMTP_Sender(QObject* parent = nullptr);
    ~SMTP_Sender() override;

    // Sets Message_Center_Running and starts the cycle; returns at once.
    void Start();
    // One sending batch over the due outbox e-mails.
    void Send_All_Messages();
    void Progress_Update();
    // Closes the connection; the cycle ends at its next turn.
    void Unload();
    // Gives the message in hand a few seconds to end and files it when the
    // server took it, else closes its connection (the row stays in the
    // outbox); used when the program ends in the middle of a batch.
    void Finish_Message_In_Hand();

    // The number of messages filed as sent by the last batch.
    int Sent_In_Last_Batch() const { return sent_; }
    bool Batch_Running() const { return batch_running_; }

    // What the sending window shows: itself during the start's pause, status
    // panels 1 (the batch) and 2 (the message), and the activity bar.
    bool Showing() const { return showing_; }
    QString Panel_Text(int Panel) const;
    int Progress_Value() const { return progress_; }
    bool Progress_Visible() const { return progress_visible_; }

    SMTP_Session Session;

Q_SIGNALS:
    void Showing_Changed(bool Showing);
    void Panel_Changed(int Panel, const QString& Text);
    void Progress_Changed(int Value);
    void Progress_Visible_Changed(bool Visible);
    // The cycle has ended; the sender is deleted from the event loop.
    void Cycle_Ended();

private:
    enum class In_Hand { None, Row, Cc_Copy };

    void Main_Control();
    void Pause_While_Running(double seconds);
    bool Running() const;
    void Set_Showing(bool showing);
    void Set_Panel(int panel, const QString& text);
    void Set_Progress_Visible(bool visible);
    bool Settings_Ready();
    bool Send_And_Wait(const QString& to, const QString& to_name, const QString& subject);
    void Conclude_In_Hand();
    void Queue_Cc_Copy(const QSqlRecord& row, const QString& cc);
    void Hold_Unconfirmed(qint64 id, const QString& to);

    int Message_Counter = 0;
    int sent_ = 0;
    bool batch_running_ = false;
    bool unloaded_ = false;
    QDateTime retry_after_;    // no batch before this moment (server unreachable)

    bool showing_ = false;
    QString panels_[2];
    int progress_ = 0;
    bool progress_visible_ = false;

    QSqlRecord row_;           // the outbox row of the message in hand
    In_Hand in_hand_ = In_Hand::None;
    QString cc_;               // where the copy in hand goes
    bool concluded_ = true;    // the message in hand has been dealt with
};

// The sender whose cycle runs, or nullptr.
SMTP_Sender* Running_Smtp_Sender();
// Starts a sender unless one runs already (what the workflow run calls);
// returns the running sender.
SMTP_Sender& Start_Smtp_Sender();
// The exit path: clears Message_Center_Running, gives the message in hand a
// few seconds to end and files it, and unloads the sender. The cycle stops between two
// messages, never in the middle of one.
void Stop_Smtp_Sender();
