#include "List_Rows.h"

#include <charconv>

#include "Database.h"
#include "Main_Window_Lists.h"

namespace {

int Separator_Position(const QString& Key)
{
    // Sought from the third character on, so a prefix never ends the first value.
    return Key.indexOf(QLatin1String(Key_Separator), 2);
}

// A database null shows as an empty cell.
QString Cell(const QVariant& Value)
{
    return Value.isNull() ? QString() : Value.toString();
}

} // namespace

QString Get_Key_ID(const QString& Key)
{
    const int p = Separator_Position(Key);
    if (p < 0)
        return {};
    return p > 3 ? Key.mid(3, p - 3) : QString();
}

QString Get_Key_Tail(const QString& Key)
{
    const int p = Separator_Position(Key);
    if (p < 0)
        return {};
    return Key.mid(p + int(qstrlen(Key_Separator)));
}

QString Key_Date_Text(const QDateTime& Date)
{
    return Db_Date_Text(Date);
}

QDateTime Key_Date(const QString& Text)
{
    return Db_To_Date(Text);
}

QString Make_Unmatched_Key(const QDateTime& Received_Date, const QString& Email_Unique_ID)
{
    return "unm" + Email_Unique_ID + Key_Separator + Key_Date_Text(Received_Date);
}

bool Add_Unmatched_List_Item(const QVariant& Sender_Name, const QVariant& Subject,
                             const QDateTime& Received_Date, const QString& Email_Unique_ID,
                             bool Has_Attachments)
{
    List_Row row;
    row.key = Make_Unmatched_Key(Received_Date, Email_Unique_ID);
    row.texts << Cell(Sender_Name) << Cell(Subject)
              << Received_Date.toString("MM/dd/yyyy HH:mm:ss");
    if (Has_Attachments)
        row.icon = "Clip";
    return Main_Window().Add_List_Row(Main_List::Unmatched, row);
}

int Remove_Unmatched_List_Item(const QDateTime& Received_Date, const QString& Email_Unique_ID)
{
    return Main_Window().Remove_List_Row(Main_List::Unmatched,
                                         Make_Unmatched_Key(Received_Date, Email_Unique_ID));
}

QString Make_Contact_Key(qint64 ID)
{
    // Made once per listed contact: written straight, not as two texts joined.
    char key[32] = "key";
    const auto end = std::to_chars(key + 3, key + sizeof key, ID).ptr;
    return QString::fromLatin1(key, end - key);
}

List_Row Contact_List_Row(qint64 ID, const QString& First_Name, const QString& Last_Name,
                          const QString& Product, const QString& Relationship, const QString& Title,
                          bool Pending_Events_To_Read, bool New_Contact, const QString& Email)
{
    List_Row row;
    row.key = Make_Contact_Key(ID);
    row.texts.reserve(6);
    row.texts << First_Name << Last_Name << Email << Product << Relationship << Title;
    // One shared list for every marked row.
    static const QList<int> Names{1, 2};
    if (Pending_Events_To_Read)
        row.bold = Names;
    if (New_Contact)
        row.highlighted = Names;
    return row;
}

bool Add_Contact_List_Item(qint64 ID, const QVariant& First_Name, const QVariant& Last_Name,
                           const QVariant& Product, const QVariant& Relationship,
                           const QVariant& Title, bool Pending_Events_To_Read, bool New_Contact,
                           const QVariant& Email)
{
    return Main_Window().Add_List_Row(Main_List::Contacts,
                                      Contact_List_Row(ID, Cell(First_Name), Cell(Last_Name), Cell(Product),
                                                       Cell(Relationship), Cell(Title), Pending_Events_To_Read,
                                                       New_Contact, Cell(Email)));
}

QString Make_ToDo_Key(qint64 Out_Contact_ID, const QDateTime& Date_Sent_To_Outbox)
{
    return "tdo" + QString::number(Out_Contact_ID) + Key_Separator + Key_Date_Text(Date_Sent_To_Outbox);
}

bool Add_ToDo_List_Item(qint64 Out_Contact_ID, const QDateTime& Date_Sent_To_Outbox,
                        const QVariant& First_Name, const QVariant& Last_Name,
                        const QVariant& Event_Type, const QVariant& Subject,
                        const QDateTime& Date_To_Show)
{
    List_Row row;
    row.key = Make_ToDo_Key(Out_Contact_ID, Date_Sent_To_Outbox);
    const QString type = Cell(Event_Type);
    row.texts << Cell(First_Name) << Cell(Last_Name) << type
              << Cell(Subject) << Date_To_Show.toString("MM/dd/yy HH:mm:ss");
    if (type == "Call Out")
        row.icon = "Phone";
    else if (type == "To Do")
        row.icon = "WritePad";
    return Main_Window().Add_List_Row(Main_List::ToDo, row);
}

int Remove_ToDo_List_Item(qint64 Out_Contact_ID, const QDateTime& Date_Sent_To_Outbox)
{
    return Main_Window().Remove_List_Row(Main_List::ToDo,
                                         Make_ToDo_Key(Out_Contact_ID, Date_Sent_To_Outbox));
}
