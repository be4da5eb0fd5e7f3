#include "Email_Templates.h"

#include <QComboBox>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Merge.h"

QStringList Email_Template_Names()
{
    QStringList names;
    for (const QSqlRecord& row : Open_Database().Select("SELECT FormatID FROM emailformats ORDER BY FormatID"))
        names << Db_Text(row, "FormatID");
    return names;
}

Email_Template Read_Email_Template(const QString& Name)
{
    const QSqlRecord row = Open_Database().Select_First(
        "SELECT EmailSubject, EmailMessage FROM emailformats WHERE FormatID = ? ORDER BY ID LIMIT 1", {Name});
    if (row.isEmpty())
        return {};
    return {true, Db_Text(row, "EmailSubject"), Db_Text(row, "EmailMessage")};
}

void Fill_Template_Picker(QComboBox* Picker)
{
    Picker->clear();
    Picker->addItems(Email_Template_Names());
    Picker->setCurrentIndex(-1);
}

bool Read_Chosen_Template(QComboBox* Picker, Email_Template* Chosen)
{
    const QString name = Picker->currentText();
    if (name.isEmpty())
        return false;
    *Chosen = Read_Email_Template(name);
    if (Chosen->Found)
        return true;
    // Deleted in the planning window while the picker still listed it.
    Message_Box("The template \"" + name + "\" no longer exists.");
    Fill_Template_Picker(Picker);
    return false;
}

QSqlRecord Read_Contact(qint64 ID)
{
    return Open_Database().Select_First("SELECT * FROM Contacts WHERE ID = ?", {ID});
}

QString Merge_Template_Contact(const QString& Text, const QSqlRecord& Contact, const QVariant& First_Name,
                               const QVariant& Last_Name)
{
    const auto v = [&Contact](const char* field) { return Contact.value(field); };
    // Stored as text; the merge writes a date in the system's general date form.
    QVariant received = v("Contact_Received_Date");
    if (const QDateTime date = Db_To_Date(received); date.isValid())
        received = date;
    return Merge_Contact_Fields(Text, First_Name, Last_Name, v("Address"), v("City"), v("State"), v("Zipcode"),
                                v("Company"), v("Product"), v("Import_Source"), v("Homephone"), v("Workphone"),
                                v("Cellphone"), received, v("Email"), v("Notes"));
}

QString Merge_Template_Vehicle(const QString& Text, const QSqlRecord& Contact)
{
    const auto v = [&Contact](const char* field) { return Contact.value(field); };
    return Merge_Vehicle_Fields(Text, v("Product"), v("Year"), v("Make"), v("Model"), v("Number_Of_Cylinders"),
                                QString(""), v("Transmission"), v("Size_Of_Engine"), QString(""),
                                v("Number_Of_Doors"), v("Exterior_Color"), v("Interior_Color"), v("Options"));
}
