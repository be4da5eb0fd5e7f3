#include "Unmatched_Page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSqlRecord>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "Attachment_Copy.h"
#include "Attachment_Store.h"
#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Key_Toolbar.h"
#include "List_Recordset.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Named_Controls.h"
#include "Outbox_Posting.h"
#include "Pending_Edits.h"
#include "Reply_Quote.h"
#include "Settings.h"
#include "Spell_Check.h"
#include "Unmatched_Emails.h"

namespace {

// The received date as the page shows it, as in the list.
const char* const Shown_Date_Format = "MM/dd/yyyy hh:mm:ss";

} // namespace

Unmatched_Page::Unmatched_Page(Pending_Edits& edits, QWidget* parent)
    : List_Detail_Page("Unmatched", "frameUnmatched", parent)
    , edits_(edits)
{
    ToolUnmatchedAll = new Key_Toolbar("ToolUnmatchedAll");
    ToolUnmatchedAll->Add_Button("PrintAll", "Print All", "Print every unmatched e-mail", "Print");
    ToolUnmatchedAll->Add_Button("DeleteAll", "Delete All", "Delete every unmatched e-mail", "DeleteCross");
    ListUnmatched = new List_View("ListUnmatched");
    ListUnmatched->Set_Columns({{"", 200}, {"From", 1500}, {"Subject", 3000}, {"Received", 1500}});

    frameUnmatchedDisplay = Named(new QGroupBox("E-mail"), "frameUnmatchedDisplay");
    auto* display = new QVBoxLayout(frameUnmatchedDisplay);
    ToolUnmatchedActions = new Key_Toolbar("ToolUnmatchedActions");
    ToolUnmatchedActions->Add_Button("Convert", "Convert", "Convert E-mails to contact", "Imported");
    ToolUnmatchedActions->Add_Button("Reply", "Reply", "Reply to email without entering it into contacts", "WritePad");
    ToolUnmatchedActions->Add_Button("Print", "Print", "Print this e-mail", "Print");
    QAction* remove = ToolUnmatchedActions->Add_Button("Delete", "Delete", "Delete this e-mail", "DeleteCross");
    ToolUnmatchedActions->Add_Menu_Entry(remove, "Delete", "Delete this Email");
    ToolUnmatchedActions->Add_Menu_Entry(remove, "SDelete", "Delete E-mails with the same address");
    ToolUnmatchedActions->Add_Button("Junk", "Junk",
                                     "Junk this e-mail and never receive anything from \"it\" ever again!",
                                     "StopSign");
    display->addWidget(ToolUnmatchedActions);
    ToolUnmatchedEmailing = new Key_Toolbar("ToolUnmatchedEmailing");
    ToolUnmatchedEmailing->Add_Button("SendEmail", "Send", "Send ", "SendEmail");
    ToolUnmatchedEmailing->Add_Button("Spell", "Spell", "Spell Check this text", "FieldsNotSetup");
    ToolUnmatchedEmailing->Add_Button("Cancel", "Cancel", "Cancel this operation", "DeleteCross");
    display->addWidget(ToolUnmatchedEmailing);

    auto* form = new QGridLayout;
    UnmatchedName = Text_Box("UnmatchedName");
    UnmatchedEmail = Text_Box("UnmatchedEmail");
    UnmatchedDate = Text_Box("UnmatchedDate");
    UnmatchedSubject = Text_Box("UnmatchedSubject");
    for (QLineEdit* box : {UnmatchedName, UnmatchedEmail, UnmatchedDate, UnmatchedSubject})
        box->setReadOnly(true);
    UnmatchedMessage = Named(new QTextEdit, "UnmatchedMessage");
    UnmatchedMessage->setReadOnly(true);
    UnmatchedMessage->setAcceptRichText(false);
    ListUnmatchedAttachments = Named(new QListWidget, "ListUnmatchedAttachments");
    ListUnmatchedAttachments->setMaximumHeight(60);
    ToolManageEmaiAttachment = new Key_Toolbar("ToolManageEmaiAttachment");
    QAction* clip = ToolManageEmaiAttachment->Add_Button("", "", "Manage the attachments", "Clip");
    ToolManageEmaiAttachment->Add_Menu_Entry(clip, "Save", "Save");
    ToolManageEmaiAttachment->Add_Menu_Entry(clip, "Delete", "Delete");
    txtUnmatchedUniqueID = Hidden_Box("txtUnmatchedUniqueID", frameUnmatchedDisplay);
    txtUnmatchedUniqueDate = Hidden_Box("txtUnmatchedUniqueDate", frameUnmatchedDisplay);
    txtUnmatched_ID = Hidden_Box("txtUnmatched_ID", frameUnmatchedDisplay);

    form->addWidget(Caption("From:", UnmatchedName), 0, 0);
    form->addWidget(UnmatchedName, 0, 1);
    form->addWidget(Caption("Email:", UnmatchedEmail), 0, 2);
    form->addWidget(UnmatchedEmail, 0, 3);
    form->addWidget(Caption("Received:", UnmatchedDate), 1, 0);
    form->addWidget(UnmatchedDate, 1, 1);
    form->addWidget(Caption("Subject:", UnmatchedSubject), 2, 0);
    form->addWidget(UnmatchedSubject, 2, 1, 1, 3);
    form->addWidget(Caption("Attachments:", ListUnmatchedAttachments), 3, 0, Qt::AlignTop);
    auto* attachments = new QHBoxLayout;
    attachments->addWidget(ListUnmatchedAttachments, 1);
    attachments->addWidget(ToolManageEmaiAttachment, 0, Qt::AlignTop);
    form->addLayout(attachments, 3, 1, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    display->addLayout(form);
    display->addWidget(UnmatchedMessage, 1);
    Place(ToolUnmatchedAll, ListUnmatched, frameUnmatchedDisplay);

    ToolUnmatchedEmailing->hide();
    // The e-mail's commands while the page holds the keyboard; the reply's
    // while the display does.
    for (const auto& [key, keys] : {std::pair{"Convert", "Ctrl+Shift+N"}, std::pair{"Reply", "Ctrl+R"},
                                    std::pair{"Print", "Ctrl+Alt+P"}, std::pair{"Delete", "Ctrl+Shift+D"},
                                    std::pair{"Junk", "Ctrl+J"}})
        Key_Toolbar::Give_Shortcut(ToolUnmatchedActions->Button(key), QKeySequence(QString::fromLatin1(keys)), this);
    Key_Toolbar::Give_Shortcut(ToolUnmatchedEmailing->Button("SendEmail"), QKeySequence(Qt::CTRL | Qt::Key_Return),
                               frameUnmatchedDisplay);
    Key_Toolbar::Give_Shortcut(ToolUnmatchedEmailing->Button("Spell"), QKeySequence(Qt::Key_F7), frameUnmatchedDisplay);
    Key_Toolbar::Give_Shortcut(ToolUnmatchedEmailing->Button("Cancel"), QKeySequence(Qt::Key_Escape),
                               frameUnmatchedDisplay);
    connect(ListUnmatched, &List_View::Item_Click, this, &Unmatched_Page::ListUnmatched_ItemClick);
    connect(ListUnmatched, &List_View::Column_Click, this, &Unmatched_Page::ListUnmatched_ColumnClick);
    connect(ToolUnmatchedActions, &Key_Toolbar::Button_Click, this, &Unmatched_Page::ToolUnmatchedActions_ButtonClick);
    connect(ToolUnmatchedActions, &Key_Toolbar::Button_Menu_Click, this,
            &Unmatched_Page::ToolUnmatchedActions_ButtonMenuClick);
    connect(ToolUnmatchedAll, &Key_Toolbar::Button_Click, this, &Unmatched_Page::ToolUnmatchedAll_ButtonClick);
    connect(ToolUnmatchedEmailing, &Key_Toolbar::Button_Click, this,
            &Unmatched_Page::ToolUnmatchedEmailing_ButtonClick);
    connect(ToolManageEmaiAttachment, &Key_Toolbar::Button_Menu_Click, this,
            &Unmatched_Page::ToolManageEmaiAttachment_ButtonMenuClick);
}

void Unmatched_Page::Fill_Unmatched_List()
{
    // The page is first shown now, in the window's own size.
    Fit_List_Side();
    const QList<QSqlRecord> rows = Open_List_Recordset(
        "SELECT Email_Unique_ID, Has_Attachments, Email_Subject, Email_Received_Date, Email_From_Name, "
        "Email_From FROM NewEmails ORDER BY Email_From_Name, ID");
    for (const QSqlRecord& row : rows)
        Add_Unmatched_List_Item(row.value("Email_From_Name"), row.value("Email_Subject"),
                                Db_To_Date(row.value("Email_Received_Date")), Db_Text(row, "Email_Unique_ID"),
                                row.value("Has_Attachments").toLongLong() != 0);
    if (ListUnmatched->Row_Count() > 0) {
        Show_Unmatched_Email(ListUnmatched->Key_At(1));
        ListUnmatched->Select_At(1);
    }
    ToolUnmatchedEmailing->hide();
}

void Unmatched_Page::Clear_Unmatched_Display()
{
    for (QLineEdit* box : {UnmatchedDate, UnmatchedEmail, UnmatchedName, UnmatchedSubject,
                           txtUnmatchedUniqueDate, txtUnmatchedUniqueID})
        box->clear();
    UnmatchedMessage->clear();
}

void Unmatched_Page::Show_Unmatched_Email(const QString& Key)
{
    const QString id = Get_Key_ID(Key);
    const QString date = Get_Key_Tail(Key);
    QString message_id;
    // Whatever comes, a reply under way is dropped: its fields are the
    // e-mail's again, and no Send answers another e-mail's sender.
    const bool was_replying = replying_;
    End_Reply();
    if (id.isEmpty() || date.isEmpty()) {
        Clear_Unmatched_Display();
        txtUnmatched_ID->clear();
    } else {
        const QSqlRecord row = Open_Database().Select_First(
            "SELECT * FROM NewEmails WHERE Email_Unique_ID = ? AND Email_Received_Date = ? ORDER BY ID LIMIT 1",
            {id, Key_Date(date)});
        if (row.isEmpty()) {
            if (was_replying)
                Clear_Unmatched_Display();
            Message_Box("Error on accessing unmatched emails!");
            return;
        }
        UnmatchedName->setText(Db_Text(row, "Email_From_Name"));
        UnmatchedEmail->setText(Db_Text(row, "Email_From"));
        UnmatchedDate->setText(Db_To_Date(row.value("Email_Received_Date")).toString(Shown_Date_Format));
        UnmatchedSubject->setText(Db_Text(row, "Email_Subject"));
        UnmatchedMessage->setPlainText(Db_Text(row, "Email_Message"));
        txtUnmatchedUniqueDate->setText(date);
        txtUnmatchedUniqueID->setText(id);
        message_id = Db_Text(row, "ID");
        txtUnmatched_ID->setText(message_id);
    }
    ListUnmatchedAttachments->clear();

    QList<QSqlRecord> files;
    if (!message_id.isEmpty())
        files = Open_List_Recordset(
            "SELECT Attachment_Final_Name FROM Attachments WHERE Link_ID = ? AND Link_Database = 'U' ORDER BY rowid",
            {message_id.toLongLong()});
    ListUnmatchedAttachments->setVisible(!files.isEmpty());
    ToolManageEmaiAttachment->setVisible(!files.isEmpty());
    if (QLabel* caption = Caption_Of(frameUnmatchedDisplay, ListUnmatchedAttachments))
        caption->setVisible(!files.isEmpty());
    for (const QSqlRecord& file : files)
        ListUnmatchedAttachments->addItem(Db_Text(file, "Attachment_Final_Name"));
    if (!files.isEmpty())
        ListUnmatchedAttachments->setCurrentRow(0);
}

void Unmatched_Page::Select_Unmatched_Item_At(int& Position)
{
    Select_Row_At(Position);
}

void Unmatched_Page::Show_Entry(const QString& Key)
{
    Show_Unmatched_Email(Key);
}

void Unmatched_Page::Show_No_Entry()
{
    End_Reply();
    Clear_Unmatched_Display();
    // Nor the files of the e-mail that went: they are gone with it.
    txtUnmatched_ID->clear();
    ListUnmatchedAttachments->clear();
    ListUnmatchedAttachments->hide();
    ToolManageEmaiAttachment->hide();
    if (QLabel* caption = Caption_Of(frameUnmatchedDisplay, ListUnmatchedAttachments))
        caption->hide();
}

void Unmatched_Page::ListUnmatched_ItemClick(QTreeWidgetItem* item)
{
    if (!edits_.Save_Pending_Edits())
        return;
    try {
        Show_Unmatched_Email(List_View::Item_Key(item));
    } catch (const Program_Error& e) {
        Message_Box("Error on Show Unmatched Email: " + e.Description());
    }
}

void Unmatched_Page::ListUnmatched_ColumnClick(int column)
{
    if (!edits_.Save_Pending_Edits())
        return;
    ListUnmatched->Column_Sort(column);
}

QString Unmatched_Page::Shown_Key() const
{
    return Make_Unmatched_Key(Key_Date(txtUnmatchedUniqueDate->text()), txtUnmatchedUniqueID->text());
}

void Unmatched_Page::End_Reply()
{
    replying_ = false;
    for (QLineEdit* box : {UnmatchedSubject, UnmatchedDate, UnmatchedName})
        box->setReadOnly(true);
    UnmatchedMessage->setReadOnly(true);
    ToolUnmatchedEmailing->hide();
}

// ---- The commands on the shown e-mail -------------------------------------------------

void Unmatched_Page::ToolUnmatchedActions_ButtonClick(const QString& Key)
{
    if (!edits_.Save_Pending_Edits())
        return;
    try {
        if (Key == "Convert")
            Convert_Unmatched_Email_To_Contact();
        else if (Key == "Reply")
            Reply_To_Unmatched_Email();
        else if (Key == "Print")
            Print_Unmatched_Email();
        else if (Key == "Junk")
            Junk_Unmatched_Email();
        else if (Key == "Delete")
            Delete_Unmatched_Email();
        else if (Key == "SDelete")
            Delete_All_Emails_From_Source();
    } catch (const Program_Error& e) {
        Message_Box("Error on Tool_Unmatched Actions: " + e.Description());
    }
}

// The drop-down's entries carry the keys of the commands they run.
void Unmatched_Page::ToolUnmatchedActions_ButtonMenuClick(const QString& Key)
{
    ToolUnmatchedActions_ButtonClick(Key);
}

void Unmatched_Page::Convert_Unmatched_Email_To_Contact()
{
    if (txtUnmatchedUniqueID->text().isEmpty()) {
        Message_Box("There is no message to convert!");
        return;
    }
    const Unmatched_Conversion done =
        ::Convert_Unmatched_Email_To_Contact(txtUnmatchedUniqueID->text(), Key_Date(txtUnmatchedUniqueDate->text()));
    switch (done.Result) {
    case Unmatched_Conversion::Outcome::No_Such_Email:
        Message_Box("Error on accessing unmatched emails!");
        return;
    case Unmatched_Conversion::Outcome::No_Sender_Address:
        Message_Box("This e-mail has no sender address to make a contact of!");
        return;
    case Unmatched_Conversion::Outcome::Converted:
        break;
    }
    if (done.Filed > 0) {
        int position = done.Position;
        Select_Unmatched_Item_At(position);
    }
    if (done.Not_Filed > 0)
        Message_Box(QString("%1 e-mail(s) of this sender could not be filed under the contact and stay unmatched: ")
                        .arg(done.Not_Filed)
                    + done.Failure);
}

void Unmatched_Page::Delete_Unmatched_Email()
{
    if (txtUnmatchedUniqueID->text().isEmpty()) {
        Message_Box("There is no message to delete!");
        return;
    }
    if (Current_Settings().Confirm_Email_Deletes
        && Message_Box("Do you want to delete the message?", vbOKCancel) != vbOK)
        return;
    int position = ::Delete_Unmatched_Email(txtUnmatchedUniqueID->text(), Key_Date(txtUnmatchedUniqueDate->text()));
    Select_Unmatched_Item_At(position);
}

void Unmatched_Page::Delete_All_Emails_From_Source()
{
    if (txtUnmatchedUniqueID->text().isEmpty()) {
        Message_Box("There are no messages to delete!");
        return;
    }
    if (Message_Box("Do you want to delete all the emails from this source?", vbYesNo) != vbYes)
        return;
    int position = Delete_Unmatched_Emails_From(UnmatchedEmail->text());
    Select_Unmatched_Item_At(position);
}

void Unmatched_Page::Junk_Unmatched_Email()
{
    if (txtUnmatchedUniqueID->text().isEmpty()) {
        Message_Box("There is no message to junk!");
        return;
    }
    // An empty junk address would stand for no sender at all.
    if (UnmatchedEmail->text().trimmed().isEmpty()) {
        Message_Box("This e-mail has no sender address to junk!");
        return;
    }
    if (Message_Box("Do you want to Junk this e-mail?", vbOKCancel) != vbOK)
        return;
    int position = Junk_Unmatched_Emails_From(UnmatchedEmail->text());
    Select_Unmatched_Item_At(position);
}

void Unmatched_Page::Print_Unmatched_Email()
{
    if (txtUnmatchedUniqueID->text().isEmpty()) {
        Message_Box("There is no message to print!");
        return;
    }
    if (!::Print_Unmatched_Email(txtUnmatchedUniqueID->text(), Key_Date(txtUnmatchedUniqueDate->text())))
        Message_Box("Error on accessing unmatched emails!");
}

void Unmatched_Page::Reply_To_Unmatched_Email()
{
    if (txtUnmatchedUniqueID->text().isEmpty()) {
        Message_Box("There is no message to reply!");
        return;
    }
    UnmatchedMessage->setPlainText(Reply_Quote(UnmatchedMessage->toPlainText()));
    for (QLineEdit* box : {UnmatchedSubject, UnmatchedDate, UnmatchedName})
        box->setReadOnly(false);
    UnmatchedMessage->setReadOnly(false);
    replying_ = true;
    ToolUnmatchedEmailing->show();
    UnmatchedMessage->setFocus();
    UnmatchedMessage->moveCursor(QTextCursor::Start);
}

// ---- The reply ---------------------------------------------------------------------

void Unmatched_Page::ToolUnmatchedEmailing_ButtonClick(const QString& Key)
{
    // Its keys reach here while no reply is open too.
    if (!replying_)
        return;
    if (Key == "SendEmail") {
        if (UnmatchedEmail->text().trimmed().isEmpty()) {
            Message_Box("There is no address to send this reply to!");
            return;
        }
        const Program_Settings& settings = Current_Settings();
        // A posting that failed has said so; the reply stays to be sent again.
        if (!Send_To_Outbox(0, UnmatchedEmail->text().trimmed(), UnmatchedName->text(), UnmatchedSubject->text(),
                            UnmatchedMessage->toPlainText(), settings.DefaultEmailAddress, settings.DefaultEmailName,
                            QString(), 0, "Email Out", Now(), 0))
            return;
        Show_Unmatched_Email(Shown_Key());
    } else if (Key == "Spell") {
        UnmatchedMessage->setPlainText(Spell_Check(UnmatchedMessage->toPlainText()));
    } else if (Key == "Cancel") {
        const QString key = Shown_Key();
        Show_Unmatched_Email(key);
        if (QTreeWidgetItem* row = ListUnmatched->Find_Key(key))
            ListUnmatched->Select_Item(row);
    }
}

// ---- The whole list ----------------------------------------------------------------

void Unmatched_Page::ToolUnmatchedAll_ButtonClick(const QString& Key)
{
    if (!edits_.Save_Pending_Edits())
        return;
    try {
        if (Key == "PrintAll") {
            Print_All_Unmatched_Emails();
        } else if (Key == "DeleteAll") {
            if (Message_Box("Do you want to Delete all Unmatched e-mails?", vbOKCancel,
                            "Deleting all Unmatched Emails")
                != vbOK)
                return;
            Delete_All_Unmatched_Emails();
            ListUnmatched->clear();
            Show_No_Entry();
        }
    } catch (const Program_Error& e) {
        Message_Box("Error on Tool_Unmatched All: " + e.Description());
    }
}

// ---- The attached files -----------------------------------------------------------

void Unmatched_Page::ToolManageEmaiAttachment_ButtonMenuClick(const QString& Key)
{
    QListWidgetItem* selected = ListUnmatchedAttachments->currentItem();
    const QString name = selected ? selected->text() : QString();
    QStringList entries;
    for (int i = 0; i < ListUnmatchedAttachments->count(); ++i)
        entries << ListUnmatchedAttachments->item(i)->text();
    const int occurrence = Attachment_Occurrence(entries, ListUnmatchedAttachments->row(selected));
    try {
        if (Key == "Save") {
            if (name.isEmpty()) {
                Message_Box("There is either no attachment to save or no attachment has been selected!");
                return;
            }
            Save_Attachment_Copy(txtUnmatched_ID->text().toLongLong(), "U", name, occurrence);
        } else if (Key == "Delete") {
            if (name.isEmpty()) {
                Message_Box("First select the attachment to remove.");
                return;
            }
            const qint64 owner = txtUnmatched_ID->text().toLongLong();
            Delete_One_Attachment(owner, "U", name, occurrence);
            delete ListUnmatchedAttachments->takeItem(ListUnmatchedAttachments->row(selected));
            if (ListUnmatchedAttachments->count() == 0) {
                Open_Database().Execute("UPDATE NewEmails SET Has_Attachments = 0 WHERE ID = ?", {owner});
                const QString key = Make_Unmatched_Key(Key_Date(txtUnmatchedUniqueDate->text()),
                                                       txtUnmatchedUniqueID->text());
                if (QTreeWidgetItem* row = ListUnmatched->Find_Key(key))
                    row->setIcon(0, QIcon());
            }
        }
    } catch (const Program_Error&) {
        // The attachment menu ends quietly, as its dialogs' Cancel does.
    }
}
