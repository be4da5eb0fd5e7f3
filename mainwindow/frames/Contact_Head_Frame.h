#pragma once
// The head of the shown contact above its events: names, e-mail, phones,
// product, title and relationship, and the contact action toolbar. Its boxes
// are half of the contact record (the contact details frame holds the rest).

#include <QFrame>

#include "Contact_Record.h"

class Key_Toolbar;
class Lookup_Combo;
class QComboBox;
class QLineEdit;
class QPushButton;

class Contact_Head_Frame : public QFrame {
    Q_OBJECT
public:
    explicit Contact_Head_Frame(QWidget* parent = nullptr);

    void Show_Contact(const QSqlRecord& contact);
    // The columns of this frame's boxes.
    void Read_Changes(Contact_Changes& changes) const;
    bool Modified() const { return modified_; }
    void Set_Modified(bool modified) { modified_ = modified; }

    // The text of the contact-id box (empty: no contact shown).
    QString Contact_ID() const;
    // The name boxes' texts as one ("first last"), and the e-mail box's text.
    QString Shown_Name() const;
    QString Shown_Email() const;
    // The keyboard goes to the first name, its text selected to be typed over.
    void Start_Typing();
    // The shown contact has events to read.
    bool Pending_Events() const;
    void Set_Pending_Events(bool pending);

    void Refresh_Product_Title_Relationship_Lists();
    void Redraw_Product_List();
    // The catalog renamed a product the database already carries under the
    // new name: the box shows it too, without counting as an edit.
    void Product_Renamed(const QString& Old_Name, const QString& New_Name);
    void Fill_Title_Combo();
    void Fill_Relationship_Combo();

    void ToolContactActions_ButtonClick(const QString& Key);
    void ToolContactActions_ButtonMenuClick(const QString& Key);

Q_SIGNALS:
    // An edit that the contact's row in the contact list shows at once
    // (1-based sub-item: 1 first name, 2 last name, 4 product, 5 relation, 6 title).
    void List_Column_Edited(int sub_item, const QString& text);
    // "Details": the contact details frame is asked for.
    void Details_Requested();
    // The contact action toolbar: an e-mail now; an outbox entry of the type
    // ("Email Out", "To Do", "Call Out") for later; an event of the type
    // ("Outgoing Call", "Incoming Call", "Custom Event") to record; a printout
    // of the details, or of the contact and its events.
    void Compose_Requested();
    void Schedule_Requested(const QString& Type);
    void Record_Requested(const QString& Type);
    void Print_Requested(bool With_Events);
    // "Quote": a catalog quote for the shown contact.
    void Quote_Requested();
    // "Delete" and "Junk": the shown contact is to be removed.
    void Delete_Requested();
    void Junk_Requested();

private:
    void Capitalize_First_And_Last_Click();
    void lstProduct_Change();
    void Delete_Lookup_Values(bool relationship);

    QLineEdit* txtContact_ID = nullptr;
    QLineEdit* txtfirstname = nullptr;
    QLineEdit* txtMiddle_Initials = nullptr;
    QLineEdit* txtlastname = nullptr;
    QPushButton* Capitalize_First_And_Last = nullptr;   // "C"
    QLineEdit* txtEmail = nullptr;
    QLineEdit* txtHomephone = nullptr;
    QLineEdit* txtWorkphone = nullptr;
    QLineEdit* txtCellphone = nullptr;
    QLineEdit* txtBest_Time_To_Contact = nullptr;
    QLineEdit* txtReferred_By = nullptr;
    QComboBox* lstProduct = nullptr;
    Lookup_Combo* Combo_Title = nullptr;
    Lookup_Combo* Combo_Relationship = nullptr;
    QLineEdit* txtContactReceivedDate = nullptr;
    QLineEdit* txtPendingEvents = nullptr;           // hidden
    QPushButton* Show_Product_Details = nullptr;     // "Details"
    Key_Toolbar* ToolContactActions = nullptr;

    bool modified_ = false;
};
