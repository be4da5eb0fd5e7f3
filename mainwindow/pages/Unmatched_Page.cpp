#include "Unmatched_Page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSqlRecord>
#include <QTextEdit>
#include <QVBoxLayout>

#include "Attachment_Copy.h"
#include "Attachment_Store.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Key_Toolbar.h"
#include "List_Recordset.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Named_Controls.h"
#include "Pending_Edits.h"

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

    // Of the page's commands only the attachment menu is built yet.
    for (Key_Toolbar* toolbar : {ToolUnmatchedActions, ToolUnmatchedAll, ToolUnmatchedEmailing})
        toolbar->Set_Buttons_Enabled(false);
    ToolUnmatchedEmailing->hide();
    connect(ListUnmatched, &List_View::Item_Click, this, &Unmatched_Page::ListUnmatched_ItemClick);
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
