#include "Outbox_Page.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTextEdit>
#include <QVBoxLayout>

#include "Attachment_Pick_List.h"
#include "Attachment_Store.h"
#include "Contact_Record.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History.h"
#include "GlobalVariables.h"
#include "Image_List.h"
#include "Key_Toolbar.h"
#include "List_Recordset.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Mapi_Send.h"
#include "Named_Controls.h"
#include "Outbox_List_Rows.h"
#include "Pending_Edits.h"
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

Outbox_Page::Outbox_Page(Pending_Edits& edits, QWidget* parent)
    : List_Detail_Page("Outbox", "frameOutbox", parent)
    , edits_(edits)
{
    ToolOutboxAll = new Key_Toolbar("ToolOutboxAll");
    ToolOutboxAll->Add_Button("MapiSend", "Send All", "Send E-Mail Using MAPI", "Mail");
    ToolOutboxAll->Add_Button("DeleteAll", "Delete All", "Delete All Emails in the outbox", "DeleteCross");
    ListOutbox = new List_View("ListOutbox");
    ListOutbox->Set_Columns({{"", 200}, {"Name", 1500}, {"Address", 1500}, {"Subject", 3000}});

    auto* editor = new QWidget;
    auto* editor_layout = new QVBoxLayout(editor);
    editor_layout->setContentsMargins(0, 0, 0, 0);
    ToolOutbox = new Key_Toolbar("ToolOutbox");
    ToolOutbox->Add_Button("Delete", "Delete", "Delete this Email from the outbox", "DeleteCross");
    editor_layout->addWidget(ToolOutbox);
    lblOutboxFields = Named(new QLabel, "lblOutboxFields");
    lblOutboxFields->hide();   // its caption is shown with the first entry
    editor_layout->addWidget(lblOutboxFields);

    auto* form = new QGridLayout;
    txtFrameOutbox_Name = Text_Box("txtFrameOutbox_Name");
    txtFrameOutbox_Email = Text_Box("txtFrameOutbox_Email");
    txtFrameOutbox_Subject = Text_Box("txtFrameOutbox_Subject");
    txtFrameOutbox_Product = Text_Box("txtFrameOutbox_Product");
    txtFrameOutbox_Date_Due = Text_Box("txtFrameOutbox_Date_Due");
    txtFrameOutbox_Date_Due->setReadOnly(true);
    txtFrameOutbox_Message = Named(new QTextEdit, "txtFrameOutbox_Message");
    txtFrameOutbox_Message->setAcceptRichText(false);
    Outbox_Attachments = new Attachment_Pick_List(
        {"List_Outbox_Attachments", "ToolOutboxAttachmentActions", "Add an attachment", "Add", "Remove", true, QString()});
    List_Outbox_Attachments = Outbox_Attachments->Box();
    ToolOutboxAttachmentActions = Outbox_Attachments->Toolbar();
    txtFrameOutbox_ID = Hidden_Box("txtFrameOutbox_ID", this);
    txtFrameOutboxDateSent = Hidden_Box("txtFrameOutboxDateSent", this);

    form->addWidget(Caption("Name:", txtFrameOutbox_Name), 0, 0);
    form->addWidget(txtFrameOutbox_Name, 0, 1);
    form->addWidget(Caption("Email:", txtFrameOutbox_Email), 0, 2);
    form->addWidget(txtFrameOutbox_Email, 0, 3);
    form->addWidget(Caption("Product:", txtFrameOutbox_Product), 1, 0);
    form->addWidget(txtFrameOutbox_Product, 1, 1);
    form->addWidget(Caption("Due:", txtFrameOutbox_Date_Due), 1, 2);
    form->addWidget(txtFrameOutbox_Date_Due, 1, 3);
    form->addWidget(Caption("Attachments:", List_Outbox_Attachments), 2, 0);
    form->addWidget(Outbox_Attachments, 2, 1, 1, 3);
    form->addWidget(Caption("Subject:", txtFrameOutbox_Subject), 3, 0);
    form->addWidget(txtFrameOutbox_Subject, 3, 1, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    editor_layout->addLayout(form);
    editor_layout->addWidget(txtFrameOutbox_Message, 1);
    Place(ToolOutboxAll, ListOutbox, editor);

    const std::initializer_list<QLineEdit*> edited = {txtFrameOutbox_Email, txtFrameOutbox_Name,
                                                      txtFrameOutbox_Product, txtFrameOutbox_Subject};
    Take_Any_Length(edited);
    for (QLineEdit* box : edited)
        connect(box, &QLineEdit::textChanged, this, [this] { modified_ = true; });
    connect(txtFrameOutbox_Message, &QTextEdit::textChanged, this, [this] { modified_ = true; });
    connect(ListOutbox, &List_View::Item_Click, this, &Outbox_Page::ListOutbox_ItemClick);
    connect(ListOutbox, &List_View::Column_Click, this, &Outbox_Page::ListOutbox_ColumnClick);
    connect(ToolOutbox, &Key_Toolbar::Button_Click, this, &Outbox_Page::ToolOutbox_ButtonClick);
    connect(ToolOutboxAll, &Key_Toolbar::Button_Click, this, &Outbox_Page::ToolOutboxAll_ButtonClick);
    // The files of an entry change only while one is shown.
    Outbox_Attachments->Set_Command_Guard([this] { return !txtFrameOutbox_ID->text().isEmpty(); });
    connect(Outbox_Attachments, &Attachment_Pick_List::Entries_Changed, this, [this] {
        modified_ = true;
        if (QTreeWidgetItem* row = ListOutbox->Find_Key(Outbox_Shown_Key))
            row->setIcon(0, Image_List_Icon(List_Outbox_Attachments->count() > 0 ? "Clip" : "Remove"));
    });
    // Rows come and go from the senders and the posting as well as from here.
    QAbstractItemModel* rows = ListOutbox->model();
    connect(rows, &QAbstractItemModel::rowsInserted, this, &Outbox_Page::Enable_Commands);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &Outbox_Page::Enable_Commands);
    connect(rows, &QAbstractItemModel::modelReset, this, &Outbox_Page::Enable_Commands);
    Enable_Commands();
}

// The list's model outlives this page's part of the object while the child
// widgets are torn down, and empties itself on the way.
Outbox_Page::~Outbox_Page()
{
    ListOutbox->model()->disconnect(this);
}

void Outbox_Page::Enable_Commands()
{
    const bool shown = !txtFrameOutbox_ID->text().isEmpty();
    for (QWidget* field : std::initializer_list<QWidget*>{txtFrameOutbox_Name, txtFrameOutbox_Email,
                                                          txtFrameOutbox_Subject, txtFrameOutbox_Product,
                                                          txtFrameOutbox_Date_Due, txtFrameOutbox_Message,
                                                          Outbox_Attachments})
        field->setEnabled(shown);
    ToolOutbox->Button("Delete")->setEnabled(shown);
    ToolOutboxAll->Button("DeleteAll")->setEnabled(ListOutbox->Row_Count() > 0);
}

void Outbox_Page::Fill_Outbox_List()
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

void Outbox_Page::Clear_Outbox_Editor()
{
    for (QLineEdit* box : {txtFrameOutbox_Email, txtFrameOutbox_Date_Due, txtFrameOutbox_ID,
                           txtFrameOutbox_Product, txtFrameOutbox_Subject, txtFrameOutbox_Name})
        box->clear();
    txtFrameOutbox_Message->clear();
    List_Outbox_Attachments->clear();
    Outbox_Shown_Key.clear();
    modified_ = false;
    Enable_Commands();
}

void Outbox_Page::Display_Outgoing_Email(const QString& Key)
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

    modified_ = false;
    List_Outbox_Attachments->clear();
    const QList<QSqlRecord> files = Open_List_Recordset(
        "SELECT Attachment_Path FROM Outbox_Attachments WHERE Outbox_ID = ? ORDER BY ID", {row.value("ID")});
    lblOutboxFields->setText(Outbox_Fields_Caption);
    Outbox_Attachments->setVisible(true);
    for (const QSqlRecord& file : files)
        List_Outbox_Attachments->addItem(Db_Text(file, "Attachment_Path"));
    if (List_Outbox_Attachments->count() > 0)
        List_Outbox_Attachments->setCurrentIndex(0);
    Enable_Commands();
}

void Outbox_Page::ListOutbox_ItemClick(QTreeWidgetItem* item)
{
    if (modified_ && !Save_Outbox_Email()) {
        // The edits that could not be stored stay on screen, with their entry.
        if (QTreeWidgetItem* shown = ListOutbox->Find_Key(Outbox_Shown_Key))
            ListOutbox->Select_Item(shown);
        return;
    }
    if (item)
        Display_Outgoing_Email(List_View::Item_Key(item));
}

void Outbox_Page::ListOutbox_ColumnClick(int column)
{
    if (!edits_.Save_Pending_Edits_Outbox_First())
        return;
    ListOutbox->Column_Sort(column);
}

bool Outbox_Page::Save_Outbox_Email()
{
    const qint64 id = txtFrameOutbox_ID->text().toLongLong();
    if (id <= 0) {
        modified_ = false;
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
            {txtFrameOutbox_Name->text(), txtFrameOutbox_Message->toPlainText(), txtFrameOutbox_Subject->text(),
             txtFrameOutbox_Product->text(), id});
        if (changed == 0) {
            modified_ = false;
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
        modified_ = false;
        return true;
    } catch (const Program_Error& e) {
        // The edits stay in the editor, and its mark stays set.
        Message_Box("Error on Save Outbox Email: " + e.Description());
        return false;
    }
}

void Outbox_Page::Select_Outbox_Item_At(int& Position)
{
    Select_Row_At(Position);
}

void Outbox_Page::Show_Entry(const QString& Key)
{
    Display_Outgoing_Email(Key);
}

void Outbox_Page::Show_No_Entry()
{
    const QString date_sent = txtFrameOutboxDateSent->text();
    Clear_Outbox_Editor();
    txtFrameOutboxDateSent->setText(date_sent);
}

void Outbox_Page::ToolOutbox_ButtonClick(const QString& Key)
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
        int position = ListOutbox->Remove_Key(Outbox_Shown_Key);
        Delete_Outbox_Attachments(id);
        Select_Outbox_Item_At(position);
        modified_ = false;
    } catch (const Program_Error& e) {
        Message_Box("Error on Tool Outbox: " + e.Description());
    }
}

void Outbox_Page::ToolOutboxAll_ButtonClick(const QString& Key)
{
    if (Key == "MapiSend") {
        Send_Outbox_Through_Mail_Client();
        return;
    }
    if (Key != "DeleteAll")
        return;
    if (!edits_.Save_Pending_Edits_Outbox_First())
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

void Outbox_Page::Send_Outbox_Through_Mail_Client()
{
    if (!edits_.Save_Pending_Edits_Outbox_First())
        return;
    Clear_Outbox_Editor();
    txtFrameOutboxDateSent->clear();
    Send_All_Mapi_Messages();
}

void Outbox_Page::ToolOutboxAttachmentActions_ButtonMenuClick(const QString& Key)
{
    Outbox_Attachments->Run_Command(Key);
}

void Outbox_Page::Outbox_Entry_Gone(qint64 Outbox_ID)
{
    if (Outbox_ID > 0 && txtFrameOutbox_ID->text().toLongLong() == Outbox_ID)
        Clear_Outbox_Editor();
}
