// The event list's rows: showing one event in the event reader, the pending
// mark of its contact, and saving a copy of one of its attachments.

#include <QMouseEvent>
#include <QSqlRecord>

#include "Attachment_Copy.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "List_Rows.h"
#include "Shared_Routines.h"
#include "frmContactSystem.h"

namespace {

// Hands a double click on a widget to a handler.
class Double_Click_Filter : public QObject {
public:
    Double_Click_Filter(QObject* parent, std::function<void()> handler)
        : QObject(parent), handler_(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick) {
            handler_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> handler_;
};

} // namespace

void frmContactSystem::Set_Up_Event_Reader()
{
    ListEventAttachments->installEventFilter(
        new Double_Click_Filter(this, [this] { ListEventAttachments_DblClick(); }));
    // Saving an attachment is the one command of the reader's attachment menu that is built.
    if (QAction* clip = ToolEventAttachmentActions->Button(QString()))
        if (QAction* save = ToolEventAttachmentActions->Menu_Entry(clip, "Save")) {
            clip->setEnabled(true);
            save->setEnabled(true);
        }
    connect(ToolEventAttachmentActions, &Key_Toolbar::Button_Menu_Click, this, [this](const QString& key) {
        if (key != "Save")
            return;
        if (ListEventAttachments->currentText().isEmpty()) {
            Message_Box("First, select the attachment to save.");
            return;
        }
        Save_Event_Attachment();
    });
}

void frmContactSystem::Event_Row_Click(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const QString key = List_View::Item_Key(item);
    const QString contact = Get_Key_Tail(key);
    for (QLineEdit* box : {txtFrameEvent_Date, txtFrameEvent_Subject, txtFrameEvent_Type})
        box->clear();
    txtFrameEvent_Message->clear();
    Display_Event_History(key);
    Show_Detail_Frame(frameEventView);

    // The contact keeps its pending mark while one of its events is unread.
    for (int position = 1; position <= ListEvents->Row_Count(); ++position)
        if (List_View::Is_Bold(ListEvents->Row_At(position), 1))
            return;
    if (QTreeWidgetItem* row = ListContacts->Find_Key("key" + contact))
        for (int sub : {1, 2})
            List_View::Set_Bold(row, sub, false);
    try {
        Open_Database().Execute("UPDATE Contacts SET Pending_Events_To_Read = 0 WHERE ID = ?",
                                {contact.toLongLong()});
        if (txtContact_ID->text() == contact)
            txtPendingEvents->setText("False");
    } catch (const Program_Error& e) {
        Message_Box("Error on ListEvents_ItemClick: " + e.Description());
    }
}

void frmContactSystem::Display_Event_History(const QString& Key)
{
    try {
        Database db = Open_Database();
        const QSqlRecord event = db.Select_First(
            "SELECT * FROM Eventhistory WHERE Event_Unique_ID = ? AND ContactID = ?",
            {Get_Key_ID(Key), Get_Key_Tail(Key).toLongLong()});
        if (event.isEmpty()) {
            Message_Box("Error in Display_Event_History. EOF Encountered!");
            return;
        }
        const QDateTime date = Db_To_Date(event.value("EventDate"));
        txtFrameEvent_Date->setText(date.isValid() ? date.toString("MM/dd/yy HH:mm:ss") : QString());
        txtFrameEvent_Type->setText(Db_Text(event, "Event_Type"));
        txtFrameEvent_Message->setPlainText(Db_Text(event, "EventMessage"));
        txtFrameEvent_Subject->setText(Db_Text(event, "EventSubject"));
        const qint64 ID = event.value("ID").toLongLong();
        if (event.value("EventRead").toLongLong() == 0)
            db.Execute("UPDATE Eventhistory SET EventRead = 1 WHERE ID = ?", {ID});
        if (QTreeWidgetItem* row = ListEvents->Find_Key(Key))
            for (int sub : {1, 2, 3})
                List_View::Set_Bold(row, sub, false);
        txtEventID->setText(QString::number(ID));
        txtEventContactID->setText(QString::number(event.value("ContactID").toLongLong()));
        txtEventUnique_ID->setText(Db_Text(event, "Event_Unique_ID"));

        ListEventAttachments->clear();
        const QList<QSqlRecord> attachments = db.Select(
            "SELECT Attachment_Final_Name FROM Attachments WHERE Link_ID = ? AND Link_Database = 'E' "
            "ORDER BY rowid",
            {ID});
        for (const QSqlRecord& attachment : attachments)
            ListEventAttachments->addItem(Db_Text(attachment, "Attachment_Final_Name"));
        ListEventAttachments->setVisible(!attachments.isEmpty());
        ToolEventAttachmentActions->setVisible(!attachments.isEmpty());
        if (QLabel* caption = qobject_cast<QLabel*>(ListEventAttachments_Caption))
            caption->setVisible(!attachments.isEmpty());
        if (!attachments.isEmpty())
            ListEventAttachments->setCurrentIndex(0);
    } catch (const Program_Error& e) {
        Message_Box("Error in Display_Event_History: " + e.Description());
    }
}

void frmContactSystem::ListEventAttachments_DblClick()
{
    if (ListEventAttachments->currentText().isEmpty())
        return;
    Save_Event_Attachment();
}

void frmContactSystem::Save_Event_Attachment()
{
    try {
        QStringList entries;
        for (int i = 0; i < ListEventAttachments->count(); ++i)
            entries << ListEventAttachments->itemText(i);
        Save_Attachment_Copy(txtEventID->text().toLongLong(), "E", ListEventAttachments->currentText(),
                             Attachment_Occurrence(entries, ListEventAttachments->currentIndex()));
    } catch (const Program_Error&) {
        // Ends quietly, as the dialog's Cancel does.
    }
}
