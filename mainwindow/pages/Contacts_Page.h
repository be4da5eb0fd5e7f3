#pragma once
// The contacts page's list side: the contacts of the current group under the
// group toolbar. The shown contact's row has red names; names are bold while
// its events wait to be read.

#include <QGroupBox>
#include <QVariantList>

class Key_Toolbar;
class List_View;
class Pending_Edits;
class QTreeWidgetItem;

// A contact group: the text put between "FROM Contacts " and the ordering,
// with '?' where a user value stands, and those values in order. The empty
// text is the group of all contacts.
struct Where_Clause {
    QString Text;
    QVariantList Values;
};

class Contacts_Page : public QGroupBox {
    Q_OBJECT
public:
    explicit Contacts_Page(Pending_Edits& edits, QWidget* parent = nullptr);
    List_View* List() const { return ListContacts; }

    // Fills the list with the group's contacts, their number in status panel
    // 2. The first contact's ID; 0 when the group has none (said) or cannot be read.
    qint64 Fill_Contact_List(const Where_Clause& clause);
    // Adds a row for a new contact and selects it.
    void Add_Contact_List_Row(qint64 ID, const QString& First_Name, const QString& Last_Name,
                              const QString& Email, const QString& Product, const QString& Relationship);
    // The contact's row becomes the shown one's; the row shown before is plain again.
    void Mark_Current_Contact(qint64 ID);
    void Select_Contact(qint64 ID);
    void Set_Pending_Mark(qint64 ID, bool pending);
    // Writes an edit of the shown contact into its row at once (1-based sub-item).
    void Set_Contact_Column(const QString& ID, int sub_item, const QString& text);
    // The IDs of the listed contacts, first row first.
    QList<qint64> Listed_Contact_IDs() const;
    // Status panel 2 says how many contacts are listed.
    void Show_Contact_Count();
    // The group toolbar's buttons and menus.
    void Set_Group_Commands_Enabled(bool enabled);

Q_SIGNALS:
    // The user chose a contact (the shown contact's edits are stored).
    void Contact_Chosen(qint64 ID);
    // A button or a menu entry of the group toolbar, by its key.
    void Toolbar1_ButtonClick(const QString& Key);
    void Toolbar1_ButtonMenuClick(const QString& Key);

private:
    void ListContacts_ItemClick(QTreeWidgetItem* item);

    Key_Toolbar* Toolbar1 = nullptr;
    List_View* ListContacts = nullptr;

    Pending_Edits& edits_;
    QString current_key_;   // the shown contact's row
};
