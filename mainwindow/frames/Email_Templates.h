#pragma once
// The e-mail templates the composer and the schedule frame offer, and their
// merge with the contact's record and vehicle. Database failures are thrown
// (Database_Error).

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

class QComboBox;

// Every template name, in name order ("Birthday" too).
QStringList Email_Template_Names();

struct Email_Template {
    bool Found = false;
    QString Subject;
    QString Message;
};
Email_Template Read_Email_Template(const QString& Name);

// A frame's template picker: every name, none chosen.
void Fill_Template_Picker(QComboBox* Picker);
// The template chosen in the picker; false when none is chosen, or when it no
// longer exists (said; the picker then lists the templates there are).
bool Read_Chosen_Template(QComboBox* Picker, Email_Template* Chosen);

// The contact's row; empty when there is no such contact.
QSqlRecord Read_Contact(qint64 ID);

// The contact tokens, with the first and last name given (the schedule frame
// passes the stored names, the composer the words of its recipient box).
QString Merge_Template_Contact(const QString& Text, const QSqlRecord& Contact, const QVariant& First_Name,
                               const QVariant& Last_Name);
// The vehicle tokens; "[Price]" and "[VIN]" always go (these pickers know no price or VIN).
QString Merge_Template_Vehicle(const QString& Text, const QSqlRecord& Contact);
