#include "Record_Call_Frame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlRecord>
#include <QVBoxLayout>

#include "Attachment_Pick_List.h"
#include "Attachment_Store.h"
#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Email_Templates.h"
#include "Event_History.h"
#include "Frame_Command.h"
#include "Key_Toolbar.h"
#include "List_Rows.h"
#include "Named_Controls.h"
#include "Pending_Edits.h"
#include "Shared_Routines.h"

Record_Call_Frame::Record_Call_Frame(Pending_Edits& edits, QWidget* parent)
    : QFrame(parent)
    , edits_(edits)
{
    setObjectName("frameRecordCall");
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    lblRecordCall_MainHeader = Named(new QLabel("Record Outgoing Call"), "lblRecordCall_MainHeader");
    QFont heading = lblRecordCall_MainHeader->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    lblRecordCall_MainHeader->setFont(heading);
    layout->addWidget(lblRecordCall_MainHeader);

    auto* form = new QGridLayout;
    lblCustomEventLabel = Named(new QLabel("C&ustom Event"), "lblCustomEventLabel");
    txtRecord_Custom_Event = Text_Box("txtRecord_Custom_Event");
    lblCustomEventLabel->setBuddy(txtRecord_Custom_Event);
    txtFrameRecordCall_Subject = Text_Box("txtFrameRecordCall_Subject");
    Take_Any_Length({txtFrameRecordCall_Subject, txtRecord_Custom_Event});
    lblDueDate = Named(new QLabel("Due Date"), "lblDueDate");
    txtFrameRecordCall_Date_to_Be_Executed = Text_Box("txtFrameRecordCall_Date_to_Be_Executed");
    txtFrameRecordCall_Date_to_Be_Executed->setReadOnly(true);
    lblDueDate->setBuddy(txtFrameRecordCall_Date_to_Be_Executed);
    Custom_Attachments = new Attachment_Pick_List({"Combo_Record_Custom_Attachments", "ToolCustomCreateAttachment",
                                                   "Add/Remove Attachment (s)", "Add Attachment",
                                                   "Remove Attachment", true, QString()});
    Combo_Record_Custom_Attachments = Custom_Attachments->Box();
    ToolCustomCreateAttachment = Custom_Attachments->Toolbar();
    txtFrameRecordCall_Message = Named(new QPlainTextEdit, "txtFrameRecordCall_Message");
    txtFrameRecordCall_Message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtFrameRecordCall_Message->setTabChangesFocus(true);
    Set_Least_Lines(txtFrameRecordCall_Message, 3);
    txtFrameRecordCall_ContactID = Hidden_Box("txtFrameRecordCall_ContactID", this);
    txtFrameRecordCall_Type = Hidden_Box("txtFrameRecordCall_Type", this);
    txtFrameRecordCall_Timeline = Hidden_Box("txtFrameRecordCall_Timeline", this);
    txtFrameRecordCall_Date_Sent = Hidden_Box("txtFrameRecordCall_Date_Sent", this);
    ToolRecord = new Key_Toolbar("ToolRecord");
    ToolRecord->Add_Button("Cancel", "Cancel", "Cancel the recording", "DeleteCross");
    ToolRecord->Add_Button("Record", "Record", "Record the data for this contact", "WritePad");

    form->addWidget(lblCustomEventLabel, 0, 0);
    form->addWidget(txtRecord_Custom_Event, 0, 1);
    form->addWidget(Caption("Su&bject:", txtFrameRecordCall_Subject), 1, 0);
    form->addWidget(txtFrameRecordCall_Subject, 1, 1);
    form->addWidget(lblDueDate, 2, 0);
    form->addWidget(txtFrameRecordCall_Date_to_Be_Executed, 2, 1);
    form->addWidget(Caption("Attachments:", Combo_Record_Custom_Attachments), 3, 0);
    form->addWidget(Custom_Attachments, 3, 1);
    form->setColumnStretch(1, 1);
    layout->addLayout(form);
    layout->addWidget(txtFrameRecordCall_Message, 1);
    layout->addWidget(ToolRecord);

    // Its command while the frame is shown, the others while it holds the keyboard.
    Key_Toolbar::Give_Shortcut(ToolRecord->Button("Record"), QKeySequence(Qt::CTRL | Qt::Key_Return), this,
                               Qt::WindowShortcut);
    Key_Toolbar::Give_Shortcut(ToolRecord->Button("Cancel"), QKeySequence(Qt::Key_Escape), this);
    connect(ToolRecord, &Key_Toolbar::Button_Click, this, &Record_Call_Frame::ToolRecord_ButtonClick);
}

// ---- Opening ----------------------------------------------------------------------

void Record_Call_Frame::Show_Custom_Controls(bool shown)
{
    for (QWidget* control : std::initializer_list<QWidget*>{lblCustomEventLabel, txtRecord_Custom_Event,
                                                            Custom_Attachments,
                                                            Caption_Of(this, Combo_Record_Custom_Attachments)})
        if (control)
            control->setVisible(shown);
}

void Record_Call_Frame::Show_Due_Date(bool shown)
{
    lblDueDate->setVisible(shown);
    txtFrameRecordCall_Date_to_Be_Executed->setVisible(shown);
}

void Record_Call_Frame::Open_New_Event(qint64 ID, const QString& Type, const QString& Header, bool Custom)
{
    txtFrameRecordCall_Type->setText(Type);
    lblRecordCall_MainHeader->setText(Header);
    Show_Custom_Controls(Custom);
    if (Custom) {
        txtRecord_Custom_Event->clear();
        Custom_Attachments->Clear();
    }
    txtFrameRecordCall_ContactID->setText(QString::number(ID));
    txtFrameRecordCall_Subject->clear();
    txtFrameRecordCall_Message->clear();
    txtFrameRecordCall_Timeline->setText("0");
    txtFrameRecordCall_Date_Sent->clear();
    txtFrameRecordCall_Date_to_Be_Executed->clear();
    Show_Due_Date(false);
}

void Record_Call_Frame::Setup_Record_Outgoing_Call(qint64 ID)
{
    Open_New_Event(ID, "Outgoing Call", "Record Outgoing Call", false);
}

void Record_Call_Frame::Setup_Record_Incoming_Call(qint64 ID)
{
    Open_New_Event(ID, "Incoming Call", "Record Incoming Call", false);
}

void Record_Call_Frame::Setup_Custom_Event(qint64 ID)
{
    Open_New_Event(ID, "Custom Event", "Create Custom Event", true);
}

bool Record_Call_Frame::Show_ToDo_Entry(const QString& Key, const QString& Type)
{
    const qint64 ID = Get_Key_ID(Key).toLongLong();
    const QDateTime sent = Key_Date(Get_Key_Tail(Key));
    const QSqlRecord entry = Open_Database().Select_First(
        "SELECT * FROM Outbox WHERE Date_Sent_To_Outbox = ? AND Out_Contact_ID = ? ORDER BY ID LIMIT 1",
        {sent, ID});
    if (entry.isEmpty())
        return false;
    txtFrameRecordCall_ContactID->setText(QString::number(ID));
    Show_Custom_Controls(false);
    Show_Due_Date(true);
    // A done call is an outgoing call in the history, where the workflow finds it again.
    if (Type == "Call Out") {
        lblRecordCall_MainHeader->setText("Record Outgoing Call");
        txtFrameRecordCall_Type->setText("Outgoing Call");
    } else {
        lblRecordCall_MainHeader->setText("To Do");
        txtFrameRecordCall_Type->setText("To Do");
    }
    txtFrameRecordCall_Subject->setText(Db_Text(entry, "Subject"));
    txtFrameRecordCall_Message->setPlainText(Db_Text(entry, "Message"));
    txtFrameRecordCall_Timeline->setText(QString::number(entry.value("Out_Timeline_Event_Number").toInt()));
    txtFrameRecordCall_Date_Sent->setText(Key_Date_Text(sent));
    const QDateTime due = Db_To_Date(entry.value("Date_To_Execute_Event"));
    txtFrameRecordCall_Date_to_Be_Executed->setText(due.isValid() ? due.toString("MM/dd/yy HH:mm:ss") : QString());
    return true;
}

// ---- Commands ---------------------------------------------------------------------

void Record_Call_Frame::ToolRecord_ButtonClick(const QString& Key)
{
    Run_Frame_Command(*ToolRecord, edits_, "Tool Record", [this, &Key] {
        if (Key == "Record") {
            Record_Event_From_Frame();
        } else if (Key == "Cancel") {
            txtFrameRecordCall_Message->clear();
            txtFrameRecordCall_Subject->clear();
            Custom_Attachments->Clear();
            txtRecord_Custom_Event->clear();
            Q_EMIT Cancelled(txtFrameRecordCall_ContactID->text().toLongLong());
        }
    });
}

bool Record_Call_Frame::Record_Event_From_Frame()
{
    const QString type = txtFrameRecordCall_Type->text();
    const qint64 ID = txtFrameRecordCall_ContactID->text().toLongLong();
    const bool custom = type == "Custom Event";
    const bool todo_entry = !txtFrameRecordCall_Date_Sent->text().isEmpty();
    // Only a custom event takes the files: its list is not shown for a call.
    const QStringList files = custom ? Custom_Attachments->Paths() : QStringList();
    // The custom event's name leads its subject, so the name is kept with it.
    QString subject = txtFrameRecordCall_Subject->text();
    const QString name = custom ? txtRecord_Custom_Event->text().trimmed() : QString();
    if (!name.isEmpty())
        subject = subject.trimmed().isEmpty() ? name : name + " - " + subject;

    const QDateTime now = Now();
    const QString unique = QString::number(Create_Unique_Number());
    const QString product = Null_To_Empty(Read_Contact(ID).value("Product"));
    const qint64 event = Add_Event_History(ID, now, product, type, txtFrameRecordCall_Timeline->text().toInt(), "",
                                           subject, txtFrameRecordCall_Message->toPlainText(), true, now, unique,
                                           false, int(files.size()));
    // Not added (the contact is gone; its message is shown): no file is
    // stored for no event, and a to-do entry stays in the outbox.
    if (event == 0)
        return false;
    for (const QString& path : files)
        Copy_File_To_Event_Attachments(event, path);
    Custom_Attachments->Clear();
    Q_EMIT Event_Recorded("evt" + unique + Key_Separator + QString::number(ID));
    if (todo_entry)
        Q_EMIT ToDo_Entry_Recorded(ID, Key_Date(txtFrameRecordCall_Date_Sent->text()));
    else
        Q_EMIT Recorded();
    return true;
}

void Record_Call_Frame::Start_Typing()
{
    if (txtRecord_Custom_Event->isVisibleTo(this))
        txtRecord_Custom_Event->setFocus();
    else
        txtFrameRecordCall_Subject->setFocus();
}
