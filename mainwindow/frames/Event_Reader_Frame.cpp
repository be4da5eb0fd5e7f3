#include "Event_Reader_Frame.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTextEdit>
#include <QVBoxLayout>
#include <functional>

#include "Attachment_Copy.h"
#include "Attachment_Store.h"
#include "Contact_Reports.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History.h"
#include "Frame_Command.h"
#include "Key_Toolbar.h"
#include "List_Rows.h"
#include "Named_Controls.h"
#include "Pending_Edits.h"

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

Event_Reader_Frame::Event_Reader_Frame(Pending_Edits& edits, QWidget* parent)
    : QGroupBox("Event Reader", parent)
    , edits_(edits)
{
    setObjectName("frameEventView");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QGridLayout;
    txtFrameEvent_Date = Text_Box("txtFrameEvent_Date");
    txtFrameEvent_Type = Text_Box("txtFrameEvent_Type");
    txtFrameEvent_Subject = Text_Box("txtFrameEvent_Subject");
    for (QLineEdit* box : {txtFrameEvent_Date, txtFrameEvent_Type, txtFrameEvent_Subject})
        box->setReadOnly(true);
    txtFrameEvent_Message = Named(new QTextEdit, "txtFrameEvent_Message");
    txtFrameEvent_Message->setReadOnly(true);
    ListEventAttachments = Choice_Box("ListEventAttachments", false);
    ToolEventAttachmentActions = new Key_Toolbar("ToolEventAttachmentActions");
    QAction* clip = ToolEventAttachmentActions->Add_Button("", "", "Attachments of this event", "Clip");
    ToolEventAttachmentActions->Add_Menu_Entry(clip, "Save", "Save");
    ToolEventAttachmentActions->Add_Menu_Entry(clip, "Delete", "Delete");
    ToolEventActions = new Key_Toolbar("ToolEventActions");
    ToolEventActions->Add_Button("Print", "Print", "Print this event", "Print");
    ToolEventActions->Add_Button("Reply", "Reply", "Reply to this event", "SendEmail");
    ToolEventActions->Add_Button("Delete", "Delete", "Delete this event", "DeleteCross");
    txtEventID = Hidden_Box("txtEventID", this);
    txtEventContactID = Hidden_Box("txtEventContactID", this);
    txtEventUnique_ID = Hidden_Box("txtEventUnique_ID", this);

    form->addWidget(Caption("Date:", txtFrameEvent_Date), 0, 0);
    form->addWidget(txtFrameEvent_Date, 0, 1);
    form->addWidget(Caption("Event:", txtFrameEvent_Type), 0, 2);
    form->addWidget(txtFrameEvent_Type, 0, 3);
    form->addWidget(Caption("Subject:", txtFrameEvent_Subject), 1, 0);
    form->addWidget(txtFrameEvent_Subject, 1, 1, 1, 3);
    ListEventAttachments_Caption = Caption("Attachments:", ListEventAttachments);
    form->addWidget(ListEventAttachments_Caption, 2, 0);
    auto* attachments = new QHBoxLayout;
    attachments->addWidget(ListEventAttachments, 1);
    attachments->addWidget(ToolEventAttachmentActions);
    form->addLayout(attachments, 2, 1, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    layout->addWidget(ToolEventActions);
    layout->addLayout(form);
    layout->addWidget(txtFrameEvent_Message, 1);

    ListEventAttachments->installEventFilter(
        new Double_Click_Filter(this, [this] { ListEventAttachments_DblClick(); }));
    // Keys while an event is shown.
    for (const auto& [key, keys] : {std::pair{"Reply", "Ctrl+R"}, std::pair{"Print", "Ctrl+Alt+P"},
                                    std::pair{"Delete", "Ctrl+Shift+D"}})
        Key_Toolbar::Give_Shortcut(ToolEventActions->Button(key), QKeySequence(QString::fromLatin1(keys)), this,
                                   Qt::WindowShortcut);
    connect(ToolEventActions, &Key_Toolbar::Button_Click, this, &Event_Reader_Frame::ToolEventActions_ButtonClick);
    connect(ToolEventAttachmentActions, &Key_Toolbar::Button_Menu_Click, this,
            &Event_Reader_Frame::ToolEventAttachmentActions_ButtonMenuClick);
}

void Event_Reader_Frame::Show_Event(const QString& Key)
{
    Clear_Event();
    Display_Event_History(Key);
}

void Event_Reader_Frame::Clear_Event()
{
    for (QLineEdit* box : {txtFrameEvent_Date, txtFrameEvent_Subject, txtFrameEvent_Type})
        box->clear();
    txtFrameEvent_Message->clear();
}

void Event_Reader_Frame::Display_Event_History(const QString& Key)
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
        Q_EMIT Event_Read(Key);
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
        for (QWidget* control : std::initializer_list<QWidget*>{ListEventAttachments, ToolEventAttachmentActions,
                                                                ListEventAttachments_Caption})
            control->setVisible(!attachments.isEmpty());
        if (!attachments.isEmpty())
            ListEventAttachments->setCurrentIndex(0);
    } catch (const Program_Error& e) {
        Message_Box("Error in Display_Event_History: " + e.Description());
    }
}

void Event_Reader_Frame::ListEventAttachments_DblClick()
{
    if (ListEventAttachments->currentText().isEmpty())
        return;
    Save_Event_Attachment();
}

int Event_Reader_Frame::Selected_Occurrence() const
{
    QStringList entries;
    for (int i = 0; i < ListEventAttachments->count(); ++i)
        entries << ListEventAttachments->itemText(i);
    return Attachment_Occurrence(entries, ListEventAttachments->currentIndex());
}

void Event_Reader_Frame::Save_Event_Attachment()
{
    try {
        Save_Attachment_Copy(txtEventID->text().toLongLong(), "E", ListEventAttachments->currentText(),
                             Selected_Occurrence());
    } catch (const Program_Error&) {
        // Ends quietly, as the dialog's Cancel does.
    }
}

// ---- The attachment menu ----------------------------------------------------------

void Event_Reader_Frame::ToolEventAttachmentActions_ButtonMenuClick(const QString& Key)
{
    if (Key == "Save") {
        if (ListEventAttachments->currentText().isEmpty()) {
            Message_Box("First, select the attachment to save.");
            return;
        }
        Save_Event_Attachment();
    } else if (Key == "Delete") {
        if (ListEventAttachments->currentText().isEmpty()) {
            Message_Box("First select the attachment to remove.");
            return;
        }
        Delete_Event_Attachment();
    }
}

void Event_Reader_Frame::Delete_Event_Attachment()
{
    try {
        const int index = ListEventAttachments->currentIndex();
        Delete_One_Attachment(txtEventID->text().toLongLong(), "E", ListEventAttachments->currentText(),
                              Selected_Occurrence());
        // The event keeps its attachment mark: the list stays, empty or not.
        ListEventAttachments->removeItem(index);
    } catch (const Program_Error&) {
        // The attachment menu ends quietly.
    }
}

// ---- The event commands -----------------------------------------------------------

void Event_Reader_Frame::ToolEventActions_ButtonClick(const QString& Key)
{
    Run_Frame_Command(*ToolEventActions, edits_, "Tool Event Actions", [this, &Key] {
        if (Key == "Reply")
            Reply_To_Event_Email();
        else if (Key == "Print")
            Print_Event(txtEventID->text().toLongLong());
        else if (Key == "Delete")
            Delete_Event();
    });
}

void Event_Reader_Frame::Reply_To_Event_Email()
{
    const QSqlRecord event = Open_Database().Select_First(
        "SELECT EventSubject, EventMessage FROM Eventhistory WHERE ID = ?", {txtEventID->text().toLongLong()});
    if (event.isEmpty()) {
        Message_Box("Error on Tool Event Actions: This event no longer exists.");
        return;
    }
    Q_EMIT Reply_Wanted(txtEventContactID->text().toLongLong(), Db_Text(event, "EventSubject"),
                        Db_Text(event, "EventMessage"));
}

void Event_Reader_Frame::Delete_Event()
{
    if (txtEventID->text().isEmpty())
        return;
    if (Message_Box("Do you want to delete the selected event?", vbYesNo) != vbYes)
        return;
    Delete_Event_History(txtEventID->text().toLongLong());
    Q_EMIT Event_Deleted("evt" + txtEventUnique_ID->text() + Key_Separator + txtEventContactID->text());
}
