#pragma once
// Lead e-mails: an import filter recognised by the subject runs its field
// rules over the text; the lead becomes a new contact with an "Email Entry"
// event, or only that event for the contact that has the lead's address.

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

// What the import filed; zeros when nothing.
struct Email_Lead_Result {
    qint64 Contact_ID = 0;
    bool New_Contact = false;
    qint64 Event_ID = 0;   // 0 when the contact already held an event of this message id
};

// One field rule of an import filter (a row of EmailImportFieldsInfo).
struct Email_Field_Rule {
    QString Event_Field;
    QString Import_Type;   // "Label Search" or "Line Instance Search"; any other finds nothing
    QVariant Label, After_Label, End_Label;
};

// One value of a lead: the Contacts column it is stored in, and the name the
// rule tester lists it under ("City", "Zip", "Firstname"..., or the rule's
// own Event_Field).
struct Lead_Field_Value {
    QString Field_Name;
    QString Part_Name;
    QString Value;
};

// The values a lead's text gives under a filter's rules (taken in the order
// given, as the import takes them: by Event_Field), exactly as the import
// stores them: a field found again keeps its later value (listed where that
// one was found), first and last names in proper case, and no received date,
// which the import sets itself. The import and the rule tester both use it.
QList<Lead_Field_Value> Lead_Field_Values(const QList<Email_Field_Rule>& Rules, const QString& Text);

// The Name_Of_Site of the first filter (table order) whose non-empty subject
// text occurs in the subject (case-sensitive); empty when none.
QString Find_Import_Source_For_Subject(const QString& Subject);

// The Contacts column of a filter editor label; empty when the label names none.
QString Get_Contact_Field_For_Label(const QString& Label);

// Files one lead message. The event carries the message id and received date
// and the attachment count given. A new contact is added to the main
// window's contact list unless List_New_Contact is false (the caller lists it
// later with Add_Contact_List_Items). Database failures are thrown.
Email_Lead_Result Import_Contact_From_Email(const QString& Subject, const QString& Text,
                                            const QString& Message_ID,
                                            const QDateTime& Received_Date,
                                            int Attachment_Count = 0, bool List_New_Contact = true);

// While one lives, the import filters and their rules are read from the
// database once, not for every lead (the mail intake holds one per batch).
class Lead_Filters_Hold {
public:
    Lead_Filters_Hold();
    ~Lead_Filters_Hold();
    Lead_Filters_Hold(const Lead_Filters_Hold&) = delete;
    Lead_Filters_Hold& operator=(const Lead_Filters_Hold&) = delete;

    struct Filter {
        QString Name_Of_Site, Search;
    };
    QList<Filter> Filters;
    bool Filters_Read = false;
    QHash<QString, QList<Email_Field_Rule>> Rules;   // by Name_Of_Site, once read
};

// Adds these contacts to the main window's contact list, in this order, as
// the lead import adds a new contact (those gone meanwhile are left out).
void Add_Contact_List_Items(const QList<qint64>& Contact_IDs);
