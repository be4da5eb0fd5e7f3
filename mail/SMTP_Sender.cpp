#include "SMTP_Sender.h"

#include <QCryptographicHash>
#include <QHash>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Engine_Hooks.h"
#include "GlobalVariables.h"
#include "Outbox_Posting.h"
#include "Outbox_Sending.h"
#include "Process_State.h"
#include "Settings.h"

namespace {

// How long the server gets to take one message; also how long a refused
// row, or an unreachable server, rests before it is tried again.
constexpr int Accept_Timeout_Seconds = 120;
// How long Exit lets the message in hand finish before it closes the connection.
constexpr int Exit_Grace_Seconds = 10;
// How often a message whose data went out without a confirmation is tried
// while the program runs; then it is held in the outbox.
constexpr int Unconfirmed_Tries = 3;

struct Smtp_Sender_State {
    QPointer<SMTP_Sender> running;
    // Rows the server refused, and when they may be tried again: a refusal
    // is not repeated (with its message) at every cycle.
    Outbox_Row_Memory<QHash<qint64, QDateTime>> refused_until;
    // Rows whose data went out without a confirmation, and how often.
    Outbox_Row_Memory<QHash<qint64, int>> unconfirmed;

    void Reset()
    {
        if (running)
            running->Unload();
        running = nullptr;
        refused_until.Clear();
        unconfirmed.Clear();
    }
};

Smtp_Sender_State& State()
{
    return Owned_State<Smtp_Sender_State>();
}

// The Message-ID of an outbox row (or of its copy to Copy_To): made from what
// names the row for good, so that every try of it carries the same one and a
// receiver can drop a second copy.
QString Row_Message_ID(const QSqlRecord& row, const QString& copy_to)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& part : {row.value("ID").toString(), row.value("Date_Sent_To_Outbox").toString(),
                                Db_Text(row, "FromEmail"), Db_Text(row, "ToEmail"), copy_to})
        hash.addData((part + '\n').toUtf8());
    const QString from = Db_Text(row, "FromEmail").trimmed();
    const int at = from.lastIndexOf('@');
    QString domain = at < 0 ? QString() : from.mid(at + 1);
    static const QRegularExpression atom("^[A-Za-z0-9!#$%&'*+/=?^_`{|}~.-]+$");
    if (!atom.match(domain).hasMatch() || domain.startsWith('.') || domain.endsWith('.') || domain.contains(".."))
        domain = "brackenlead.invalid";
    return QString::fromLatin1(hash.result().toHex().left(32)) + "." + row.value("ID").toString() + "@" + domain;
}

} // namespace

SMTP_Sender::SMTP_Sender(QObject* parent)
    : QObject(parent)
{
}

SMTP_Sender::~SMTP_Sender()
{
    Unload();
}

QString SMTP_Sender::Panel_Text(int Panel) const
{
    return Panel == 1 || Panel == 2 ? panels_[Panel - 1] : QString();
}

void SMTP_Sender::Set_Panel(int panel, const QString& text)
{
    panels_[panel - 1] = text;
    Q_EMIT Panel_Changed(panel, text);
}

void SMTP_Sender::Set_Showing(bool showing)
{
    showing_ = showing;
    Q_EMIT Showing_Changed(showing);
}

void SMTP_Sender::Set_Progress_Visible(bool visible)
{
    progress_visible_ = visible;
    Q_EMIT Progress_Visible_Changed(visible);
}

bool SMTP_Sender::Running() const
{
    return GlobalVariables::Message_Center_Running && !unloaded_;
}

void SMTP_Sender::Start()
{
    GlobalVariables::Message_Center_Running = true;
    unloaded_ = false;
    Set_Showing(true);
    // The caller goes on at once; the cycle runs from the event loop.
    QTimer::singleShot(0, this, [this] {
        Pause_While_Running(3);
        Set_Showing(false);
        Main_Control();
    });
}

void SMTP_Sender::Main_Control()
{
    if (Running()) {
        // After a connection problem the server gets the time a message would have.
        if (Current_Settings().Automatically_Send_Emails && (!retry_after_.isValid() || Now() >= retry_after_))
            Send_All_Messages();
        if (Running())
            Pause_While_Running(5);
    }
    if (!Running()) {
        Unload();
        if (State().running == this)
            State().running = nullptr;
        Q_EMIT Cycle_Ended();
        deleteLater();
        return;
    }
    // The next cycle starts from the event loop, so waits never pile up.
    QTimer::singleShot(0, this, &SMTP_Sender::Main_Control);
}

// The cycle's pauses, in short steps: once the program ends, the cycle
// stops within half a second instead of keeping the process for the rest
// of its pause.
void SMTP_Sender::Pause_While_Running(double seconds)
{
    for (double left = seconds; left > 0 && Running(); left -= 0.5)
        Time_Pause(qMin(left, 0.5));
}

void SMTP_Sender::Progress_Update()
{
    progress_ = Progress_Maximum - 1 > progress_ ? progress_ + 1 : 0;
    Q_EMIT Progress_Changed(progress_);
}

void SMTP_Sender::Unload()
{
    unloaded_ = true;
    Session.Give_Up();
    Restore_Mouse_Pointer();
}

bool SMTP_Sender::Settings_Ready()
{
    const QString server = Current_Settings().SMTP_Server.trimmed();
    if (server.isEmpty()) {
        Message_Box("There is no valid SMTP server to send e-mail to.", vbOKOnly, Program_Title);
        return false;
    }
    if (server == "NetSMTPServer") {
        Message_Box("The SMTP Server settings have not been set. Go to setting and set the SMTP.",
                    vbOKOnly, Program_Title);
        return false;
    }
    const QString sender = Current_Settings().DefaultEmailAddress.trimmed();
    if (sender.isEmpty() || sender == Placeholder_Default_Email_Address) {
        Message_Box("The default e-mail address has not been set. Go to settings, set it, and run "
                    "this option again.",
                    vbOKOnly, Program_Title);
        return false;
    }
    return true;
}

// Sends the message in hand and waits for its end; false when the server
// did not take it in time (the connection is then given up).
bool SMTP_Sender::Send_And_Wait(const QString& to, const QString& to_name, const QString& subject)
{
    concluded_ = false;
    Session.Send_SMTP_Mail(Db_Text(row_, "FromEmail"), Db_Text(row_, "FromEmailName"), to, to_name,
                           subject, Db_Text(row_, "Message"),
                           Row_Message_ID(row_, in_hand_ == In_Hand::Cc_Copy ? to : QString()));
    const bool ended = Wait_Until([this] { return !Session.Busy(); }, Accept_Timeout_Seconds);
    if (!ended)
        Session.Give_Up();
    return ended;
}

// Deals with a message that has ended: a row the server took is filed, a
// copy it did not take goes back into the outbox. Runs once per message,
// whether the batch or the exit path gets there first.
void SMTP_Sender::Conclude_In_Hand()
{
    if (concluded_ || Session.Busy())
        return;
    concluded_ = true;
    const bool accepted = Session.Message_Accepted();
    if (in_hand_ == In_Hand::Row && accepted) {
        // The event carries the sending time and the row's sender; no files go.
        File_Sent_Outbox_Row(row_, Sent_Filing{Now(), Db_Text(row_, "FromEmail"), false});
        ++sent_;
    } else if (in_hand_ == In_Hand::Cc_Copy && !accepted) {
        Message_Box("Send SMTP CC E-mail failed. Connection Timed Out! Adding CC to Outbox");
        Queue_Cc_Copy(row_, cc_);
    }
}

void SMTP_Sender::Queue_Cc_Copy(const QSqlRecord& row, const QString& cc)
{
    // "Email Out", so that the senders take the copy next time.
    Send_To_Outbox(0, cc, cc, "Cc:" + Db_Text(row, "Subject"), Db_Text(row, "Message"),
                   Db_Text(row, "FromEmail"), Db_Text(row, "FromEmailName"), QString(), 0, "Email Out",
                   Now(), 0);
}

void SMTP_Sender::Finish_Message_In_Hand()
{
    // A few seconds, not the whole wait of a message: a server that hangs
    // does not hold up the exit, and the row stays for the next run.
    if (Session.Busy() && !Wait_Until([this] { return !Session.Busy(); }, Exit_Grace_Seconds))
        Session.Give_Up();
    Conclude_In_Hand();
}

// A row whose data went out but whose final reply never came: it rests and
// goes again (the same Message-ID) a few times, then it is held; each time
// the user is told.
void SMTP_Sender::Hold_Unconfirmed(qint64 id, const QString& to)
{
    int& tries = State().unconfirmed.Of_Current_Database()[id];
    ++tries;
    const QString why = Session.Failure_Text().isEmpty() ? QString("no reply came in time")
                                                         : Session.Failure_Text();
    if (tries < Unconfirmed_Tries)
        Message_Box("Send SMTP E-mail failed. The server took the e-mail to " + to
                    + " but did not confirm it (" + why + "). It stays in the outbox and goes again later as "
                    "the same message (try " + QString::number(tries) + " of " + QString::number(Unconfirmed_Tries)
                    + ").");
    else
        Message_Box("The e-mail to " + to + " was handed to the server " + QString::number(tries)
                    + " times and never confirmed (" + why + "); it may have arrived. It stays in the outbox "
                    "and is not sent again until the program starts again.");
}

void SMTP_Sender::Send_All_Messages()
{
    // One sender at a time works through the outbox.
    if (batch_running_ || Outbox_Sending() != Outbox_Sender::None)
        return;
    sent_ = 0;
    if (!Settings_Ready())
        return;
    Outbox_Sending_Guard guard(Outbox_Sender::Smtp);
    batch_running_ = true;
    bool ended_early = false;
    bool any_accepted = false;
    const auto stopping = [this] { return !Running(); };
    try {
        // Each was reported when it failed; one that still cannot be filed
        // waits for the next batch and holds back neither the others nor the sending.
        File_Unfiled_Outbox_Rows();
        Message_Counter = 1;
        const QDateTime now = Now();
        QHash<qint64, QDateTime>& refused = State().refused_until.Of_Current_Database();
        QList<qint64> due;
        const QHash<qint64, int>& unconfirmed = State().unconfirmed.Of_Current_Database();
        for (const qint64 id : Due_Outbox_Emails(now)) {
            if (refused.contains(id) && now < refused.value(id))
                continue;
            if (unconfirmed.value(id) >= Unconfirmed_Tries)
                continue;   // held: it may have arrived
            refused.remove(id);
            due << id;
        }
        Set_Panel(1, "Total # of Messages: " + QString::number(due.size()));
        Set_Progress_Visible(true);
        if (due.isEmpty())
            Set_Panel(1, "No Messages to be sent");

        for (const qint64 id : due) {
            // Exit stops the batch here, between two messages.
            if (stopping()) {
                ended_early = true;
                break;
            }
            const QSqlRecord row = Outbox_Row_Now(id);
            if (row.isEmpty())
                continue;
            Set_Panel(2, "Sending Message #: " + QString::number(Message_Counter));
            row_ = row;
            in_hand_ = In_Hand::Row;
            const bool ended = Send_And_Wait(Db_Text(row, "ToEmail"), Db_Text(row, "ToEmailName"),
                                             Db_Text(row, "Subject"));
            const SMTP_Session::Outcome outcome = Session.Last_Outcome();
            Conclude_In_Hand();

            if (outcome == SMTP_Session::Outcome::Accepted) {
                any_accepted = true;
                State().unconfirmed.Of_Current_Database().remove(id);
                const QString cc = Cc_Copy_Address(Db_Text(row, "ToEmail"));
                if (!cc.isEmpty()) {
                    in_hand_ = In_Hand::Cc_Copy;
                    cc_ = cc;
                    // When the program ends meanwhile the copy waits in the outbox.
                    if (stopping()) {
                        Queue_Cc_Copy(row, cc);
                    } else {
                        Send_And_Wait(cc, cc, "Cc:" + Db_Text(row, "Subject"));
                        Conclude_In_Hand();
                    }
                }
                in_hand_ = In_Hand::None;
                Progress_Update();
                ++Message_Counter;
                if (stopping()) {
                    ended_early = true;
                    break;
                }
                continue;
            }
            if (stopping()) {
                ended_early = true;
                break;
            }
            if (outcome == SMTP_Session::Outcome::Refused) {
                // The row stays and rests; the others still go.
                refused.insert(id, Now().addSecs(Accept_Timeout_Seconds));
                ++Message_Counter;
                continue;
            }
            ended_early = true;
            if (outcome == SMTP_Session::Outcome::Unconfirmed) {
                Hold_Unconfirmed(id, Db_Text(row, "ToEmail"));
            } else if (!ended) {
                Message_Box("Send SMTP E-mail failed. Connection Timed Out!");
                break;
            } else if (outcome == SMTP_Session::Outcome::Closed) {
                Message_Box("Send SMTP E-mail failed. The server closed the connection.");
            }
            // No connection ("Problem with Connection" has been shown), a
            // server that is not taking mail or broke the dialogue (its
            // message has been shown, once for the batch), or a message left
            // unconfirmed: the server rests before the next try.
            retry_after_ = Now().addSecs(Accept_Timeout_Seconds);
            break;
        }
        in_hand_ = In_Hand::None;

        if (!ended_early && any_accepted)
            Session.Send_Command("QUIT");
        if (ended_early) {
            Session.Socket_Disconnect();
            Restore_Mouse_Pointer();
        }
        Count_Sent_Messages(sent_);
        if (!ended_early) {
            Set_Progress_Visible(false);
            Set_Panel(2, "All Messages Sent");
            Set_Panel(1, "Brackenlead is done");
            Pause_While_Running(3);
        }
    } catch (const std::exception& e) {
        Message_Box("Error on Send All Messages: " + Error_Description(e));
        GlobalVariables::Message_Center_Running = false;
        Unload();
    }
    batch_running_ = false;
}

SMTP_Sender* Running_Smtp_Sender()
{
    return State().running;
}

SMTP_Sender& Start_Smtp_Sender()
{
    Smtp_Sender_State& state = State();
    if (GlobalVariables::Message_Center_Running && state.running)
        return *state.running;
    // A sender whose cycle was told to stop ends on its own; a new one starts.
    if (state.running)
        state.running->Unload();
    state.running = new SMTP_Sender();
    state.running->Start();
    return *state.running;
}

void Stop_Smtp_Sender()
{
    GlobalVariables::Message_Center_Running = false;
    SMTP_Sender* sender = State().running;
    if (!sender)
        return;
    sender->Finish_Message_In_Hand();
    sender->Unload();
}
