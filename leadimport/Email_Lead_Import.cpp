#include "Email_Lead_Import.h"

#include <QList>
#include <QPair>
#include <QSet>
#include <QSqlRecord>

#include "Clock.h"
#include "Data_Access.h"
#include "Event_History.h"
#include "Field_Rules.h"
#include "List_Rows.h"
#include "Shared_Routines.h"

namespace {

// A lead carries at most this many values; further ones are dropped.
constexpr int Max_Pairs = 31;

struct Rule {
    QString Event_Field;
    QString Import_Type;
    QVariant Label, After_Label, End_Label;
};

using Pairs = QList<QPair<QString, QString>>;

void Add_Pair(Pairs& pairs, const QString& field, const QString& value)
{
    if (value.isEmpty() || field.isEmpty() || pairs.size() >= Max_Pairs)
        return;
    pairs << qMakePair(field, value);
}

void Run_Label_Search(const Rule& rule, const QString& text, Pairs& pairs)
{
    const auto lsv = [&](const QVariant& end) {
        return Label_Search_Value(text, rule.Label, rule.After_Label, end);
    };
    const auto lsw = [&](const QString& separator, int n) {
        return Label_Search_Word(2, text, rule.Label, rule.After_Label, rule.End_Label, separator, n);
    };
    const QString& field = rule.Event_Field;
    if (field == "City, State") {
        Add_Pair(pairs, "City", lsv(","));
        Add_Pair(pairs, "State", lsw(",", 1));
    } else if (field == "State Zip") {
        Add_Pair(pairs, "State", lsv(" "));
        Add_Pair(pairs, "Zipcode", lsw(" ", 0));
    } else if (field == "City, State Zip") {
        Add_Pair(pairs, "City", lsv(","));
        Add_Pair(pairs, "State", lsw(",", 1));
        Add_Pair(pairs, "Zipcode", lsw(",", 2));
    } else if (field == "Year Make") {
        Add_Pair(pairs, "Year", lsv(" "));
        Add_Pair(pairs, "Make", lsw(" ", 0));
    } else if (field == "Year Make Model") {
        Add_Pair(pairs, "Year", lsv(" "));
        Add_Pair(pairs, "Make", lsw(" ", 0));
        Add_Pair(pairs, "Model", lsw(" ", 1));
    } else if (field == "Year Model") {
        Add_Pair(pairs, "Year", lsv(" "));
        Add_Pair(pairs, "Model", lsw(" ", 0));
    } else if (field == "Make Model") {
        Add_Pair(pairs, "Make", lsv(" "));
        Add_Pair(pairs, "Model", lsw(" ", 0));
    } else if (field == "Name") {
        Add_Pair(pairs, "FirstName", lsv(" "));
        Add_Pair(pairs, "LastName", lsw(" ", 0));
    } else if (field == "Mr/Mrs Name") {
        Add_Pair(pairs, "FirstName", lsw(" ", 0));
        Add_Pair(pairs, "LastName", lsw(" ", 1));
    } else {
        const QString value = lsv(rule.End_Label);
        if (!value.isEmpty())
            Add_Pair(pairs, Get_Contact_Field_For_Label(field), value);
    }
}

void Run_Line_Instance_Search(const Rule& rule, const QString& text, Pairs& pairs)
{
    const QString line = Line_Instance_Search_Value(text, rule.Label, rule.End_Label);
    const auto lsv = [&](const QVariant& end) {
        return Label_Search_Value(line, QString(""), rule.After_Label, end);
    };
    const auto lsw = [&](const QString& separator, int n) {
        return Label_Search_Word(2, line, QString(""), QString(""), QString(""), separator, n);
    };
    // The word routines trim their argument: each works on its own copy.
    const auto first = [&] { QString copy = line; return Get_First_Word(copy); };
    const auto second = [&] { QString copy = line; return Get_Second_Word(copy); };
    const auto third = [&] { QString copy = line; return Get_Third_Word(copy); };
    const auto after_first = [&] { QString copy = line; return Get_After_First_Word(copy); };
    const QString& field = rule.Event_Field;
    if (field == "City, State") {
        Add_Pair(pairs, "City", lsv(","));
        Add_Pair(pairs, "State", lsw(",", 1));
    } else if (field == "State Zip") {
        Add_Pair(pairs, "State", first());
        Add_Pair(pairs, "Zipcode", second());
    } else if (field == "City, State Zip") {
        Add_Pair(pairs, "City", lsv(","));
        Add_Pair(pairs, "State", lsw(",", 1));
        Add_Pair(pairs, "Zipcode", lsw(",", 2));
    } else if (field == "Year Make") {
        Add_Pair(pairs, "Year", first());
        Add_Pair(pairs, "Make", second());
    } else if (field == "Year Make Model") {
        Add_Pair(pairs, "Year", first());
        Add_Pair(pairs, "Make", second());
        Add_Pair(pairs, "Model", third());
    } else if (field == "Year Model") {
        Add_Pair(pairs, "Year", first());
        Add_Pair(pairs, "Model", after_first());
    } else if (field == "Make Model") {
        Add_Pair(pairs, "Make", first());
        Add_Pair(pairs, "Model", after_first());
    } else if (field == "Name") {
        Add_Pair(pairs, "FirstName", first());
        Add_Pair(pairs, "LastName", after_first());
    } else if (field == "Mr/Mrs Name") {
        Add_Pair(pairs, "FirstName", second());
        Add_Pair(pairs, "LastName", third());
    } else if (!line.isEmpty()) {
        Add_Pair(pairs, Get_Contact_Field_For_Label(field), line);
    }
}

// The Contacts columns a lead may fill: the only names that go into the SQL text.
const QSet<QString>& Lead_Columns()
{
    static const QSet<QString> columns = {
        "FirstName", "LastName", "Address", "City", "State", "Zipcode", "Email", "Homephone",
        "Workphone", "Cellphone", "Company", "Product", "Notes", "Contact_Received_Date",
        "Contact_Title", "Contact_Relationship", "Best_Time_To_Contact", "Options", "Referred_By",
        "Year", "Make", "Model"};
    return columns;
}

} // namespace

QString Find_Import_Source_For_Subject(const QString& Subject)
{
    const QList<QSqlRecord> filters = Open_Database().Select(
        "SELECT Name_Of_Site, Search_String_On_Subject_Line FROM EmailContactImports ORDER BY ID");
    for (const QSqlRecord& filter : filters) {
        const QString search = Db_Text(filter, "Search_String_On_Subject_Line");
        if (!search.isEmpty() && Subject.contains(search, Qt::CaseSensitive))
            return Db_Text(filter, "Name_Of_Site");
    }
    return QString("");
}

QString Get_Contact_Field_For_Label(const QString& Label)
{
    for (int i = 0; i < Email_Field_Label_Count; ++i) {
        if (Email_Field_Label_Table[i].Label == Label)
            return Email_Field_Label_Table[i].Field_Name;
    }
    return QString("");
}

Email_Lead_Result Import_Contact_From_Email(const QString& Subject, const QString& Text,
                                            const QString& Message_ID,
                                            const QDateTime& Received_Date, int Attachment_Count)
{
    const QString site = Find_Import_Source_For_Subject(Subject);
    Init_Email_Field_Names();

    Database db = Open_Database();
    Pairs pairs;
    if (!site.isEmpty()) {
        const QList<QSqlRecord> rules = db.Select(
            "SELECT EmailImportFieldsInfo.Event_Field, EmailImportFieldsInfo.Import_Type, "
            "EmailImportFieldsInfo.Label, EmailImportFieldsInfo.After_Label, "
            "EmailImportFieldsInfo.End_Label FROM EmailContactImports INNER JOIN EmailImportFieldsInfo "
            "ON EmailContactImports.ID = EmailImportFieldsInfo.Email_Import_ID "
            "WHERE EmailContactImports.Name_Of_Site = ? "
            "ORDER BY EmailImportFieldsInfo.Event_Field, EmailImportFieldsInfo.ID",
            {site});
        for (const QSqlRecord& row : rules) {
            const Rule rule{Db_Text(row, "Event_Field"), Db_Text(row, "Import_Type"),
                            row.value("Label"), row.value("After_Label"), row.value("End_Label")};
            if (rule.Import_Type == "Label Search")
                Run_Label_Search(rule, Text, pairs);
            else if (rule.Import_Type == "Line Instance Search")
                Run_Line_Instance_Search(rule, Text, pairs);
        }
    }

    QString email, product;
    for (const auto& pair : pairs) {
        if (pair.first == "Email")
            email = pair.second;
        else if (pair.first == "Product")
            product = pair.second;
    }

    Email_Lead_Result result;
    Database_Transaction transaction(db);
    if (!email.isEmpty())
        result.Contact_ID = Find_Contact_By_Email(email);
    if (result.Contact_ID == 0) {
        // A field named twice keeps its later value; the fixed values come last.
        QStringList columns;
        QVariantList values;
        const auto set = [&](const QString& column, const QVariant& value) {
            const qsizetype at = columns.indexOf(column);
            if (at >= 0) {
                values[at] = value;
            } else {
                columns << column;
                values << value;
            }
        };
        for (const auto& pair : pairs) {
            if (Lead_Columns().contains(pair.first))
                set(pair.first, pair.second);
        }
        const QDateTime now = Now();
        if (email.isEmpty()) {
            email = "NoEmail@" + now.toString("M/d/yyyy h:mm:ss AP");
            set("Email", email);
        }
        set("Import_Source", site);
        set("New_Contact", true);
        set("Contact_Received_Date", now);
        set("Workflow_Start_Date", now);
        const qsizetype first = columns.indexOf("FirstName");
        set("FirstName", Proper_Case(first >= 0 ? values.at(first) : QVariant()));
        const qsizetype last = columns.indexOf("LastName");
        set("LastName", Proper_Case(last >= 0 ? values.at(last) : QVariant()));
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << "?";
        result.Contact_ID = db.Insert("INSERT INTO Contacts (" + columns.join(", ") + ") VALUES ("
                                          + marks.join(", ") + ")",
                                      values);
        result.New_Contact = true;
    }
    result.Event_ID = Add_Event_History(result.Contact_ID, Now(), product, "Email Entry", 0, site,
                                        Subject, Text, false, Received_Date, Message_ID, true,
                                        Attachment_Count);
    transaction.Commit();

    if (result.New_Contact) {
        const QSqlRecord contact =
            db.Select_First("SELECT * FROM Contacts WHERE ID = ?", {result.Contact_ID});
        if (!contact.isEmpty())
            Add_Contact_List_Item(result.Contact_ID, contact.value("FirstName"), contact.value("LastName"),
                                  contact.value("Product"), contact.value("Contact_Relationship"),
                                  contact.value("Contact_Title"),
                                  contact.value("Pending_Events_To_Read").toLongLong() != 0,
                                  contact.value("New_Contact").toLongLong() != 0, contact.value("Email"));
    }
    return result;
}
