// The outbox page: the list of e-mails waiting to go out, the entry editor,
// its delete, delete-all and attachment commands; and Actions > Process
// Workflows, whose sending window this page's list shows the work of.

#include "frmContactSystem.h"

#include <QDir>
#include <QFileInfo>

#include "Attachment_Store.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History.h"
#include "Image_List.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "MessageCenter.h"
#include "Outbox_List_Rows.h"
#include "Workflow_Run.h"
#include "Settings.h"

namespace {

const char* const Outbox_Fields_Caption =
    "Name                         Email                          Attachments         Subject     "
    "                  Message";

// Only these types are listed and sent; calls and to-dos belong to the to-do page.
const char* const Listed_Types = "Out_Event_Type IN ('Email Out', 'Sent Quote')";

QString Date_Text(const QVariant& stored)
{
    const QDateTime date = Db_To_Date(stored);
    return date.isValid() ? Key_Date_Text(date) : QString();
}

} // namespace

void frmContactSystem::Set_Up_Outbox_Page()
{
    Install_Smtp_Sender();
    mnuProcessWorkflows->setEnabled(true);
    ToolOutbox->Set_Buttons_Enabled(true);
    ToolOutboxAttachmentActions->Set_Buttons_Enabled(true);
    // Send All goes through the mail client (the unmatched page's code).
    if (QAction* delete_all = ToolOutboxAll->Button("DeleteAll"))
        delete_all->setEnabled(true);

    connect(mnuProcessWorkflows, &QAction::triggered, this, &frmContactSystem::mnuProcessWorkflows_Click);
    connect(ListOutbox, &List_View::Item_Click, this, &frmContactSystem::ListOutbox_ItemClick);
    connect(ToolOutbox, &Key_Toolbar::Button_Click, this, &frmContactSystem::ToolOutbox_ButtonClick);
    connect(ToolOutboxAll, &Key_Toolbar::Button_Click, this, &frmContactSystem::ToolOutboxAll_ButtonClick);
    connect(ToolOutboxAttachmentActions, &Key_Toolbar::Button_Menu_Click, this,
            &frmContactSystem::ToolOutboxAttachmentActions_ButtonMenuClick);
    connect(ToolOutboxAttachmentActions, &Key_Toolbar::Button_Click, this,
            &frmContactSystem::ToolOutboxAttachmentActions_ButtonMenuClick);
}

void frmContactSystem::mnuProcessWorkflows_Click()
{
    if (!Save_Pending_Edits())
        return;
    try {
        Process_All_Contacts();
    } catch (const Program_Error& e) {
        Set_Status_Panel(3, QString());
        Set_Status_Panel(4, QString());
        Set_Status_Panel(5, QString());
        Message_Box("Error on Process Workflows: " + e.Description());
    }
}

void frmContactSystem::Unload_Message_Center()
{
    Stop_Message_Center();
}

void frmContactSystem::Fill_Outbox_List()
{
    const QList<QSqlRecord> rows = Open_List_Recordset(
        QString("SELECT ID, ToEmailName, Subject, ToEmail, Date_Sent_To_Outbox, Date_To_Execute_Event "
                "FROM Outbox WHERE %1 ORDER BY Date_To_Execute_Event, ID")
            .arg(Listed_Types));
    if (!rows.isEmpty())
        Display_Outgoing_Email(Make_Outbox_Key(Db_Text(rows.first(), "ToEmail"),
                                               Db_To_Date(rows.first().value("Date_Sent_To_Outbox"))));
    for (const QSqlRecord& row : rows)
        Add_Outbox_List_Item(row.value("ID").toLongLong(), Db_Text(row, "ToEmailName"),
                             Db_Text(row, "ToEmail"), Db_To_Date(row.value("Date_Sent_To_Outbox")),
                             Db_Text(row, "Subject"));
}

void frmContactSystem::Clear_Outbox_Editor()
{
    for (QLineEdit* box : {txtFrameOutbox_Email, txtFrameOutbox_Date_Due, txtFrameOutbox_ID,
                           txtFrameOutbox_Product, txtFrameOutbox_Subject, txtFrameOutbox_Name})
        box->clear();
    txtFrameOutbox_Message->clear();
    List_Outbox_Attachments->clear();
    Outbox_Shown_Key.clear();
    Outbox_Item_Changed = false;
}

void frmContactSystem::Display_Outgoing_Email(const QString& Key)
{
    const QList<QSqlRecord> rows = Open_List_Recordset(
        QString("SELECT * FROM Outbox WHERE ToEmail = ? AND Date_Sent_To_Outbox = ? AND %1 "
                "ORDER BY ID LIMIT 1")
            .arg(Listed_Types),
        {Get_Key_ID(Key), Key_Date(Get_Key_Tail(Key))});
    if (rows.isEmpty()) {
        // Sent or deleted meanwhile: nothing of it is left to edit.
        Clear_Outbox_Editor();
        return;
    }
    const QSqlRecord& row = rows.first();
    txtFrameOutbox_Name->setText(Db_Text(row, "ToEmailName"));
    txtFrameOutbox_Email->setText(Db_Text(row, "ToEmail"));
    txtFrameOutbox_Subject->setText(Db_Text(row, "Subject"));
    txtFrameOutbox_Message->setPlainText(Db_Text(row, "Message"));
    txtFrameOutbox_Product->setText(Db_Text(row, "Product_Name"));
    const QDateTime due = Db_To_Date(row.value("Date_To_Execute_Event"));
    txtFrameOutbox_Date_Due->setText(due.isValid() ? due.toString(Workflow_Date_Format) : QString());
    txtFrameOutbox_ID->setText(row.value("ID").toString());
    txtFrameOutboxDateSent->setText(Date_Text(row.value("Date_Sent_To_Outbox")));
    Outbox_Shown_Key = Key;

    Outbox_Item_Changed = false;
    List_Outbox_Attachments->clear();
    const QList<QSqlRecord> files = Open_List_Recordset(
        "SELECT Attachment_Path FROM Outbox_Attachments WHERE Outbox_ID = ? ORDER BY ID",
        {row.value("ID")});
    lblOutboxFields->setText(Outbox_Fields_Caption);
    List_Outbox_Attachments->setVisible(true);
    ToolOutboxAttachmentActions->setVisible(true);
    for (const QSqlRecord& file : files)
        List_Outbox_Attachments->addItem(Db_Text(file, "Attachment_Path"));
    if (List_Outbox_Attachments->count() > 0)
        List_Outbox_Attachments->setCurrentIndex(0);
}

void frmContactSystem::ListOutbox_ItemClick(QTreeWidgetItem* item)
{
    if (Outbox_Item_Changed && !Save_Outbox_Email()) {
        // The edits that could not be stored stay on screen, with their entry.
        if (QTreeWidgetItem* shown = ListOutbox->Find_Key(Outbox_Shown_Key))
            ListOutbox->Select_Item(shown);
        return;
    }
    if (item)
        Display_Outgoing_Email(List_View::Item_Key(item));
}

bool frmContactSystem::Save_Outbox_Email()
{
    const qint64 id = txtFrameOutbox_ID->text().toLongLong();
    if (id <= 0) {
        Outbox_Item_Changed = false;
        return true;
    }
    try {
        // A file the user picked stays theirs: the entry keeps a copy in the
        // attachment store, which deleting or sending the entry may remove.
        const QString store = QDir::cleanPath(Attachments_Folder());
        for (int i = 0; i < List_Outbox_Attachments->count(); ++i) {
            const QString path = List_Outbox_Attachments->itemText(i);
            if (QDir::cleanPath(QFileInfo(path).absolutePath()) == store)
                continue;
            QDir().mkpath(Attachments_Folder());
            const QString copy = Attachment_Free_Name(path);
            if (!QFile::copy(path, copy)) {
                Message_Box("Error on Save Outbox Email. Could not copy the attachment: " + path);
                return false;
            }
            List_Outbox_Attachments->setItemText(i, copy);
        }

        Database db = Open_Database();
        Database_Transaction transaction(db);
        const int changed = db.Execute(
            "UPDATE Outbox SET ToEmailName = ?, Message = ?, Subject = ?, Product_Name = ? WHERE ID = ?",
            {txtFrameOutbox_Name->text(), txtFrameOutbox_Message->toPlainText(),
             txtFrameOutbox_Subject->text(), txtFrameOutbox_Product->text(), id});
        if (changed == 0) {
            Outbox_Item_Changed = false;
            Message_Box("This e-mail is no longer in the outbox (it has been sent or deleted); the "
                        "changes were not stored.");
            return true;
        }
        db.Execute("DELETE FROM Outbox_Attachments WHERE Outbox_ID = ?", {id});
        for (int i = 0; i < List_Outbox_Attachments->count(); ++i) {
            const QString path = List_Outbox_Attachments->itemText(i);
            db.Execute("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Name, Attachment_Path) "
                       "VALUES (?, ?, ?)",
                       {id, QFileInfo(path).fileName(), path});
        }
        transaction.Commit();
        Outbox_Item_Changed = false;
        return true;
    } catch (const Program_Error& e) {
        // The edits stay in the editor, and its flag stays set.
        Message_Box("Error on Save Outbox Email: " + e.Description());
        return false;
    }
}

void frmContactSystem::Select_Outbox_Item_At(int& Position)
{
    if (ListOutbox->Row_Count() == 0) {
        const QString date_sent = txtFrameOutboxDateSent->text();
        Clear_Outbox_Editor();
        txtFrameOutboxDateSent->setText(date_sent);
        return;
    }
    if (Position >= ListOutbox->Row_Count())
        Position = ListOutbox->Row_Count();
    if (Position < 1)
        Position = 1;
    Display_Outgoing_Email(ListOutbox->Key_At(Position));
    ListOutbox->Select_At(Position);
}

void frmContactSystem::ToolOutbox_ButtonClick(const QString& Key)
{
    if (Key != "Delete")
        return;
    try {
        const qint64 id = txtFrameOutbox_ID->text().toLongLong();
        if (id <= 0)
            return;
        if (Current_Settings().Confirm_Email_Deletes
            && Message_Box("Delete this outgoing e-mail?", vbOKCancel) == vbCancel)
            return;
        // By its ID: another entry of the same address and second stays.
        Open_Database().Execute("DELETE FROM Outbox WHERE ID = ?", {id});
        int position = Remove_List_Row(Main_List::Outbox, Outbox_Shown_Key);
        Delete_Outbox_Attachments(id);
        Select_Outbox_Item_At(position);
        Outbox_Item_Changed = false;
    } catch (const Program_Error& e) {
        Message_Box("Error on Tool Outbox: " + e.Description());
    }
}

void frmContactSystem::ToolOutboxAll_ButtonClick(const QString& Key)
{
    if (Key != "DeleteAll")
        return;   // "MapiSend" belongs to the sending through the mail client
    if (!Save_Pending_Edits_Outbox_First())
        return;
    try {
        if (ListOutbox->Row_Count() == 0)
            return;
        if (Message_Box("Do you want to remove all the messages on the Outbox?", vbYesNo) != vbYes)
            return;
        Database db = Open_Database();
        for (int position = 1; position <= ListOutbox->Row_Count(); ++position) {
            const QString key = ListOutbox->Key_At(position);
            const QList<QSqlRecord> rows = db.Select(
                QString("SELECT ID FROM Outbox WHERE ToEmail = ? AND Date_Sent_To_Outbox = ? AND %1")
                    .arg(Listed_Types),
                {Get_Key_ID(key), Key_Date(Get_Key_Tail(key))});
            for (const QSqlRecord& row : rows) {
                const qint64 id = row.value("ID").toLongLong();
                Delete_Outbox_Attachments(id);
                db.Execute("DELETE FROM Outbox WHERE ID = ?", {id});
            }
        }
        ListOutbox->clear();
        Clear_Outbox_Editor();
    } catch (const Program_Error& e) {
        Message_Box("Error on Tool Outbox All: " + e.Description());
    }
}

void frmContactSystem::ToolOutboxAttachmentActions_ButtonMenuClick(const QString& Key)
{
    if (txtFrameOutbox_ID->text().isEmpty())
        return;
    QTreeWidgetItem* row = ListOutbox->Find_Key(Outbox_Shown_Key);
    if (Key == "Add") {
        const QString path = Open_File_Dialog("Open Attachment", "All Files (*.*)");
        if (path.isEmpty())
            return;
        List_Outbox_Attachments->addItem(path);
        List_Outbox_Attachments->setCurrentIndex(List_Outbox_Attachments->count() - 1);
        Outbox_Item_Changed = true;
        if (row)
            row->setIcon(0, Image_List_Icon("Clip"));
    } else if (Key == "Remove") {
        const int index = List_Outbox_Attachments->currentIndex();
        if (index < 0)
            return;
        List_Outbox_Attachments->removeItem(index);
        Outbox_Item_Changed = true;
        if (List_Outbox_Attachments->count() == 0 && row)
            row->setIcon(0, Image_List_Icon("Remove"));
    }
}

void frmContactSystem::Outbox_Entry_Gone(qint64 Outbox_ID)
{
    if (Outbox_ID > 0 && txtFrameOutbox_ID->text().toLongLong() == Outbox_ID)
        Clear_Outbox_Editor();
}
