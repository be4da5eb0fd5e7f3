#include "MessageCenter.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History.h"
#include "GlobalVariables.h"
#include "Main_Window_Lists.h"
#include "Outbox_List_Rows.h"
#include "Outbox_Posting.h"
#include "Shared_Routines.h"
#include "Workflow_Run.h"
#include "Settings.h"

namespace {

QPointer<MessageCenter> the_window;

// Rows sent whose removal from the outbox failed: never sent again while the
// program runs; their removal is tried again at every batch.
QSet<qint64> sent_not_removed;

// Rows the server refused, and when they may be tried again: a refusal is
// not repeated (with its message) at every cycle.
QHash<qint64, QDateTime> refused_until;

// Both lists name rows of one database; another database starts afresh.
QString rows_database;

void Forget_Rows_Of_Another_Database()
{
    if (rows_database == GlobalVariables::Database_Path)
        return;
    rows_database = GlobalVariables::Database_Path;
    sent_not_removed.clear();
    refused_until.clear();
}

// How long the server gets to take one message; also how long a refused
// row, or an unreachable server, rests before it is tried again.
constexpr int Accept_Timeout_Seconds = 120;

struct Outbox_Sending_Guard {
    Outbox_Sending_Guard() { GlobalVariables::Outbox_Sending = true; }
    ~Outbox_Sending_Guard() { GlobalVariables::Outbox_Sending = false; }
};

void Restore_Cursor()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::restoreOverrideCursor();
}

} // namespace

MessageCenter::MessageCenter(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle("Brackenlead Mailer");
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel("Brackenlead for Windows Mailer", this);
    Label1->setAlignment(Qt::AlignCenter);
    layout->addWidget(Label1);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 99);
    ProgressBar1->setTextVisible(false);
    layout->addWidget(ProgressBar1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    panel1_ = new QLabel(this);
    panel2_ = new QLabel(this);
    StatusBar1->addWidget(panel1_, 1);
    StatusBar1->addWidget(panel2_, 1);
    layout->addWidget(StatusBar1);
    resize(420, 120);
}

MessageCenter::~MessageCenter()
{
    Form_Unload();
}

QString MessageCenter::Panel_Text(int Panel) const
{
    return Panel == 1 ? panel1_->text() : Panel == 2 ? panel2_->text() : QString();
}

void MessageCenter::Set_Panel(int panel, const QString& text)
{
    (panel == 1 ? panel1_ : panel2_)->setText(text);
}

void MessageCenter::Form_Load()
{
    GlobalVariables::Message_Center_Running = true;
    unloaded_ = false;
    show();
    // The caller goes on at once; the cycle runs from the event loop.
    QTimer::singleShot(0, this, [this] {
        Pause_While_Running(3);
        hide();
        Main_Control();
    });
}

void MessageCenter::Main_Control()
{
    if (GlobalVariables::Message_Center_Running && !unloaded_) {
        // After a connection problem the server gets the time a message would have.
        if (Current_Settings().Automatically_Send_Emails
            && (!retry_after_.isValid() || Now() >= retry_after_))
            Send_All_Messages();
        if (GlobalVariables::Message_Center_Running && !unloaded_)
            Pause_While_Running(5);
    }
    if (!GlobalVariables::Message_Center_Running || unloaded_) {
        Form_Unload();
        if (the_window == this)
            the_window = nullptr;
        deleteLater();
        return;
    }
    // The next cycle starts from the event loop, so waits never pile up.
    QTimer::singleShot(0, this, &MessageCenter::Main_Control);
}

// The cycle's pauses, in short steps: once the program ends, the cycle
// stops within half a second instead of keeping the process for the rest
// of its pause.
void MessageCenter::Pause_While_Running(double seconds)
{
    for (double left = seconds; left > 0 && GlobalVariables::Message_Center_Running && !unloaded_;
         left -= 0.5)
        Time_Pause(qMin(left, 0.5));
}

void MessageCenter::Progress_Update()
{
    if (ProgressBar1->maximum() - 1 > ProgressBar1->value())
        ProgressBar1->setValue(ProgressBar1->value() + 1);
    else
        ProgressBar1->setValue(0);
}

void MessageCenter::Form_Unload()
{
    unloaded_ = true;
    Session.Give_Up();
    Restore_Cursor();
}

bool MessageCenter::Settings_Ready()
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
bool MessageCenter::Send_And_Wait(const QString& to, const QString& to_name, const QString& subject)
{
    concluded_ = false;
    Session.Send_SMTP_Mail(Db_Text(row_, "FromEmail"), Db_Text(row_, "FromEmailName"), to, to_name,
                           subject, Db_Text(row_, "Message"));
    const bool ended = Wait_Until([this] { return !Session.Busy(); }, Accept_Timeout_Seconds);
    if (!ended)
        Session.Give_Up();
    return ended;
}

// Deals with a message that has ended: a row the server took is filed, a
// copy it did not take goes back into the outbox. Runs once per message,
// whether the batch or the exit path gets there first.
void MessageCenter::Conclude_In_Hand()
{
    if (concluded_ || Session.Busy())
        return;
    concluded_ = true;
    const bool accepted = Session.Message_Accepted();
    if (in_hand_ == In_Hand::Row && accepted) {
        File_Sent_Row(row_);
        ++sent_;
    } else if (in_hand_ == In_Hand::Cc_Copy && !accepted) {
        Message_Box("Send SMTP CC E-mail failed. Connection Timed Out! Adding CC to Outbox");
        Queue_Cc_Copy(row_);
    }
}

void MessageCenter::File_Sent_Row(const QSqlRecord& row)
{
    const qint64 id = row.value("ID").toLongLong();
    const QString to = Db_Text(row, "ToEmail");
    const qint64 contact = row.value("Out_Contact_ID").toLongLong();
    if (contact > 0) {
        const QDateTime now = Now();
        try {
            Add_Event_History(contact, now, Db_Text(row, "Product_Name"), Db_Text(row, "Out_Event_Type"),
                              row.value("Out_Timeline_Event_Number").toInt(), Db_Text(row, "FromEmail"),
                              Db_Text(row, "Subject"), Db_Text(row, "Message"), true, now,
                              QString::number(Create_Unique_Number()), false, 0);
        } catch (const Database_Error& e) {
            // The message went out: it still leaves the outbox, or it would go again.
            Message_Box("The e-mail to " + to + " was sent, but it could not be written into the "
                        "contact's history. Error: " + e.Description());
        }
    }
    Main_Window().Outbox_Entry_Gone(id);
    if (GlobalVariables::Outbox_List_Loaded)
        Remove_Outbox_List_Item(to, Db_To_Date(row.value("Date_Sent_To_Outbox")));
    try {
        Database db = Open_Database();
        db.Execute("DELETE FROM Outbox WHERE ID = ?", {id});
    } catch (const Database_Error& e) {
        sent_not_removed.insert(id);
        Message_Box("The e-mail to " + to + " was sent, but it could not be taken out of the outbox; "
                    "it will not be sent again while the program runs. Error: " + e.Description());
    }
}

void MessageCenter::Queue_Cc_Copy(const QSqlRecord& row)
{
    const QString cc = Current_Settings().Cc_Address;
    // "Email Out", so that the senders take the copy next time.
    Send_To_Outbox(0, cc, cc, "Cc:" + Db_Text(row, "Subject"), Db_Text(row, "Message"),
                   Db_Text(row, "FromEmail"), Db_Text(row, "FromEmailName"), QString(), 0, "Email Out",
                   Now(), 0);
}

void MessageCenter::Retry_Unremoved_Rows()
{
    if (sent_not_removed.isEmpty())
        return;
    // Each was reported when it failed; one that still cannot go waits for
    // the next batch and holds back neither the others nor the sending.
    for (const qint64 id : QSet<qint64>(sent_not_removed)) {
        try {
            Open_Database().Execute("DELETE FROM Outbox WHERE ID = ?", {id});
            sent_not_removed.remove(id);
        } catch (const Database_Error&) {
        }
    }
}

void MessageCenter::Finish_Message_In_Hand()
{
    if (Session.Busy() && !Wait_Until([this] { return !Session.Busy(); }, Accept_Timeout_Seconds))
        Session.Give_Up();
    Conclude_In_Hand();
}

void MessageCenter::Send_All_Messages()
{
    // One sender at a time works through the outbox.
    if (batch_running_ || GlobalVariables::Outbox_Sending)
        return;
    sent_ = 0;
    if (!Settings_Ready())
        return;
    Outbox_Sending_Guard guard;
    batch_running_ = true;
    bool ended_early = false;
    bool any_accepted = false;
    try {
        Forget_Rows_Of_Another_Database();
        Retry_Unremoved_Rows();
        Message_Counter = 1;
        QList<QSqlRecord> rows;
        {
            Database db = Open_Database();
            const QDateTime now = Now();
            for (const QSqlRecord& row :
                 db.Select("SELECT * FROM Outbox WHERE Out_Event_Type IN ('Email Out', 'Sent Quote') "
                           "AND Date_To_Execute_Event < ? ORDER BY ID",
                           {now})) {
                const qint64 id = row.value("ID").toLongLong();
                if (sent_not_removed.contains(id))
                    continue;   // sent already
                if (refused_until.contains(id) && now < refused_until.value(id))
                    continue;
                refused_until.remove(id);
                rows << row;
            }
        }
        Set_Panel(1, "Total # of Messages: " + QString::number(rows.size()));
        ProgressBar1->setRange(0, 99);
        ProgressBar1->setVisible(true);
        StatusBar1->setVisible(true);
        if (rows.isEmpty())
            Set_Panel(1, "No Messages to be sent");

        for (const QSqlRecord& listed : rows) {
            // Exit stops the batch here, between two messages.
            if (!GlobalVariables::Message_Center_Running || unloaded_) {
                ended_early = true;
                break;
            }
            // The row as it stands now: while the batch waited on the server it
            // may have been edited or deleted, or sent by another copy of the program.
            const QSqlRecord row = Open_Database().Select_First("SELECT * FROM Outbox WHERE ID = ?",
                                                                {listed.value("ID")});
            if (row.isEmpty())
                continue;
            Set_Panel(2, "Sending Message #: " + QString::number(Message_Counter));
            row_ = row;
            in_hand_ = In_Hand::Row;
            const bool ended = Send_And_Wait(Db_Text(row, "ToEmail"), Db_Text(row, "ToEmailName"),
                                             Db_Text(row, "Subject"));
            const SMTP_Session::Outcome outcome = Session.Last_Outcome();
            Conclude_In_Hand();
            const auto stopping = [this] { return !GlobalVariables::Message_Center_Running || unloaded_; };

            if (outcome == SMTP_Session::Outcome::Accepted) {
                any_accepted = true;
                const QString cc = Current_Settings().Cc_Address;
                // A row that already goes to the copy address needs no copy.
                if (Current_Settings().Enabled_Cc_Redirection && !cc.isEmpty()
                    && Db_Text(row, "ToEmail").compare(cc, Qt::CaseInsensitive) != 0) {
                    in_hand_ = In_Hand::Cc_Copy;
                    // When the program ends meanwhile the copy waits in the outbox.
                    if (stopping()) {
                        Queue_Cc_Copy(row);
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
            if (!ended) {
                Message_Box("Send SMTP E-mail failed. Connection Timed Out!");
                ended_early = true;
                break;
            }
            if (outcome == SMTP_Session::Outcome::Refused) {
                // The row stays and rests; the others still go.
                refused_until.insert(row.value("ID").toLongLong(), Now().addSecs(Accept_Timeout_Seconds));
                ++Message_Counter;
                continue;
            }
            // No connection ("Problem with Connection" has been shown), or the
            // server closed it: the server rests before the next try.
            if (outcome == SMTP_Session::Outcome::Closed)
                Message_Box("Send SMTP E-mail failed. The server closed the connection.");
            retry_after_ = Now().addSecs(Accept_Timeout_Seconds);
            ended_early = true;
            break;
        }
        in_hand_ = In_Hand::None;

        if (!ended_early && any_accepted)
            Session.Send_Command("QUIT");
        if (ended_early) {
            Session.Socket_Disconnect();
            Restore_Cursor();
        }
        if (sent_ > 0)
            Add_Stats("Messages Sent", sent_);
        if (!ended_early) {
            ProgressBar1->setVisible(false);
            Set_Panel(2, "All Messages Sent");
            Set_Panel(1, "Brackenlead is done");
            Pause_While_Running(3);
        }
    } catch (const std::exception& e) {
        Message_Box("Error on Send All Messages: " + Error_Description(e));
        GlobalVariables::Message_Center_Running = false;
        Form_Unload();
    }
    batch_running_ = false;
}

MessageCenter* Message_Center()
{
    return the_window;
}

void Load_Message_Center()
{
    if (GlobalVariables::Message_Center_Running && the_window)
        return;
    // A window whose cycle was told to stop ends on its own; a new one starts.
    if (the_window)
        the_window->Form_Unload();
    the_window = new MessageCenter();
    the_window->Form_Load();
}

void Stop_Message_Center()
{
    GlobalVariables::Message_Center_Running = false;
    if (!the_window)
        return;
    the_window->Finish_Message_In_Hand();
    the_window->Form_Unload();
    the_window->hide();
}

void Install_Smtp_Sender()
{
    Set_Smtp_Sender_Starter(&Load_Message_Center);
}
