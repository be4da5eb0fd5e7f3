#pragma once
// The to-do page's list side: the calls and to-dos waiting in the outbox,
// earliest due first, each with its contact. Filled on the page's first
// visit; a chosen entry is shown in the record frame beside the list, where
// recording it completes it.

#include <QDateTime>
#include <QGroupBox>

class List_View;
class QTreeWidgetItem;

class ToDo_Page : public QGroupBox {
    Q_OBJECT
public:
    explicit ToDo_Page(QWidget* parent = nullptr);
    List_View* List() const { return ListToDo; }

    // Adds a row per call and to-do of a listed contact; the number added.
    int Fill_ToDo_List();
    // Shows the row at the 1-based position (the last one when past the end);
    // with no row left, asks for the contact details instead. The position follows.
    void Select_ToDo_Item_At(int& Position);
    // The entry was recorded: it leaves the outbox with its files and its
    // row, and the row now at its place is shown. Database failures are thrown.
    void Complete_ToDo_Entry(qint64 Contact_ID, const QDateTime& Date_Sent_To_Outbox);

Q_SIGNALS:
    // An entry is to be shown: its row key and its outbox type.
    void Entry_Chosen(const QString& Key, const QString& Type);
    // No entry is left to show.
    void List_Emptied();

private:
    void ListToDo_ItemClick(QTreeWidgetItem* item);

    List_View* ListToDo = nullptr;
};

// Asks whether the contact's outbox entries (e-mails, calls and to-dos) go
// too, and deletes them with their files and list rows on Yes. The number
// deleted. Database failures are thrown.
int Delete_Contact_Outbox_Emails(qint64 ID);
