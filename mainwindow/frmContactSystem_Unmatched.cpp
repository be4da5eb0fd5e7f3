// The unmatched page: received e-mails that matched no contact, with their
// attached files; and the window's ways into the mail client (Get eMail, the
// start-up fetch, the check on every tab click, sending the outbox).

#include "frmContactSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QSqlRecord>
#include <QTextEdit>

#include "Attachment_Copy.h"
#include "Attachment_Store.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "Mapi_Fetch.h"
#include "Mapi_Send.h"
#include "frmMAPI_Get_Email.h"

namespace {

// The received date as the page shows it, as in the list.
const char* const Shown_Date_Format = "MM/dd/yyyy hh:mm:ss";

// The caption that goes with a control, shown and hidden with it.
QLabel* Caption_Of(QWidget* area, QWidget* control)
{
    for (QLabel* label : area->findChildren<QLabel*>()) {
        if (label->buddy() == control)
            return label;
    }
    return nullptr;
}

// Gives the list side of the page the width its columns take ("Received"
// included), the display the rest of the window's width.
void Fit_List_Side(QSplitter* splitter, QTreeWidget* list, int window_width)
{
    if (!splitter)
        return;
    int columns = 0;
    for (int i = 0; i < list->columnCount(); ++i)
        columns += list->columnWidth(i);
    const int wanted = columns + 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width() + 4;
    const int whole = window_width - 40;
    const int side = qMin(wanted, whole / 2 + whole / 8);
    splitter->setSizes({side, qMax(whole - side, 1)});
}

} // namespace

void frmContactSystem::Set_Up_Unmatched_Page()
{
    mnu_Get_Mapi_Mail->setEnabled(true);
    ToolManageEmaiAttachment->Set_Buttons_Enabled(true);
    if (QAction* send_all = ToolOutboxAll->Button("MapiSend"))
        send_all->setEnabled(true);

    connect(mnu_Get_Mapi_Mail, &QAction::triggered, this, &frmContactSystem::mnu_Get_Mapi_Mail_Click);
    connect(ListUnmatched, &List_View::Item_Click, this, &frmContactSystem::ListUnmatched_ItemClick);
    connect(ToolManageEmaiAttachment, &Key_Toolbar::Button_Menu_Click, this,
            &frmContactSystem::ToolManageEmaiAttachment_ButtonMenuClick);
    connect(ToolOutboxAll, &Key_Toolbar::Button_Click, this, [this](const QString& key) {
        if (key == "MapiSend")
            Send_Outbox_Through_Mail_Client();
    });
}

// ---- The mail client ---------------------------------------------------------

void frmContactSystem::Start_Up_Mail_Fetch()
{
    frmMAPI_Get_Email fetch(this);
    fetch.exec();
}

void frmContactSystem::mnu_Get_Mapi_Mail_Click()
{
    if (!Save_Pending_Edits())
        return;
    Sign_On_And_Get_All_Mail();
}

void frmContactSystem::Check_Unread_Mail()
{
    // A store that cannot be read now is tried again on the next click.
    MDICheck_Email_And_Integrate_If_Needed();
    update();
}

void frmContactSystem::Send_Outbox_Through_Mail_Client()
{
    if (!Save_Pending_Edits_Outbox_First())
        return;
    Clear_Outbox_Editor();
    txtFrameOutboxDateSent->clear();
    Send_All_Mapi_Messages();
}

// ---- The list and the display ----------------------------------------------------

void frmContactSystem::Fill_Unmatched_List()
{
    // The page is first shown now, in the window's own size.
    Fit_List_Side(qobject_cast<QSplitter*>(frameUnmatchedDisplay->parentWidget()), ListUnmatched, width());
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

void frmContactSystem::Clear_Unmatched_Display()
{
    for (QLineEdit* box : {UnmatchedDate, UnmatchedEmail, UnmatchedName, UnmatchedSubject,
                           txtUnmatchedUniqueDate, txtUnmatchedUniqueID})
        box->clear();
    UnmatchedMessage->clear();
}

void frmContactSystem::Show_Unmatched_Email(const QString& Key)
{
    const QString id = Get_Key_ID(Key);
    const QString date = Get_Key_Tail(Key);
    QString message_id;
    if (id.isEmpty() || date.isEmpty()) {
        Clear_Unmatched_Display();
        txtUnmatched_ID->clear();
    } else {
        const QSqlRecord row = Open_Database().Select_First(
            "SELECT * FROM NewEmails WHERE Email_Unique_ID = ? AND Email_Received_Date = ? ORDER BY ID LIMIT 1",
            {id, Key_Date(date)});
        if (row.isEmpty()) {
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
    for (QLineEdit* box : {UnmatchedSubject, UnmatchedDate, UnmatchedName})
        box->setReadOnly(true);
    UnmatchedMessage->setReadOnly(true);
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

void frmContactSystem::Select_Unmatched_Item_At(int& Position)
{
    const int rows = ListUnmatched->Row_Count();
    if (rows == 0) {
        Clear_Unmatched_Display();
        // Nor the files of the e-mail that went: they are gone with it.
        txtUnmatched_ID->clear();
        ListUnmatchedAttachments->clear();
        ListUnmatchedAttachments->hide();
        ToolManageEmaiAttachment->hide();
        if (QLabel* caption = Caption_Of(frameUnmatchedDisplay, ListUnmatchedAttachments))
            caption->hide();
        return;
    }
    if (Position >= rows)
        Position = rows;
    if (Position < 1)
        Position = 1;
    Show_Unmatched_Email(ListUnmatched->Key_At(Position));
    ListUnmatched->Select_At(Position);
}

void frmContactSystem::ListUnmatched_ItemClick(QTreeWidgetItem* item)
{
    if (!Save_Pending_Edits())
        return;
    try {
        Show_Unmatched_Email(List_View::Item_Key(item));
    } catch (const Program_Error& e) {
        Message_Box("Error on Show Unmatched Email: " + e.Description());
    }
}

// ---- The attached files -----------------------------------------------------------

void frmContactSystem::ToolManageEmaiAttachment_ButtonMenuClick(const QString& Key)
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
