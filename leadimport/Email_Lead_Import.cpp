#include "Email_Lead_Import.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
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

struct Part {
    QString field;   // Contacts column
    QString name;    // as the tester lists it
    QString value;
};

using Parts = QList<Part>;

void Add_Part(Parts& parts, const QString& field, const QString& name, const QString& value)
{
    if (value.isEmpty() || field.isEmpty() || parts.size() >= Max_Pairs)
        return;
    parts << Part{field, name, value};
}

void Run_Label_Search(const Email_Field_Rule& rule, const QString& text, Parts& parts)
{
    const auto lsv = [&](const QVariant& end) {
        return Label_Search_Value(text, rule.Label, rule.After_Label, end);
    };
    const auto lsw = [&](const QString& separator, int n) {
        return Label_Search_Word(2, text, rule.Label, rule.After_Label, rule.End_Label, separator, n);
    };
    const QString& field = rule.Event_Field;
    if (field == "City, State") {
        Add_Part(parts, "City", "City", lsv(","));
        Add_Part(parts, "State", "State", lsw(",", 1));
    } else if (field == "State Zip") {
        Add_Part(parts, "State", "State", lsv(" "));
        Add_Part(parts, "Zipcode", "Zip", lsw(" ", 0));
    } else if (field == "City, State Zip") {
        Add_Part(parts, "City", "City", lsv(","));
        Add_Part(parts, "State", "State", lsw(",", 1));
        Add_Part(parts, "Zipcode", "Zip", lsw(",", 2));
    } else if (field == "Year Make") {
        Add_Part(parts, "Year", "Year", lsv(" "));
        Add_Part(parts, "Make", "Make", lsw(" ", 0));
    } else if (field == "Year Make Model") {
        Add_Part(parts, "Year", "Year", lsv(" "));
        Add_Part(parts, "Make", "Make", lsw(" ", 0));
        Add_Part(parts, "Model", "Model", lsw(" ", 1));
    } else if (field == "Year Model") {
        Add_Part(parts, "Year", "Year", lsv(" "));
        Add_Part(parts, "Model", "Model", lsw(" ", 0));
    } else if (field == "Make Model") {
        Add_Part(parts, "Make", "Make", lsv(" "));
        Add_Part(parts, "Model", "Model", lsw(" ", 0));
    } else if (field == "Name") {
        Add_Part(parts, "FirstName", "Firstname", lsv(" "));
        Add_Part(parts, "LastName", "Lastname", lsw(" ", 0));
    } else if (field == "Mr/Mrs Name") {
        Add_Part(parts, "FirstName", "Firstname", lsw(" ", 0));
        Add_Part(parts, "LastName", "Lastname", lsw(" ", 1));
    } else {
        const QString value = lsv(rule.End_Label);
        if (!value.isEmpty())
            Add_Part(parts, Get_Contact_Field_For_Label(field), field, value);
    }
}

void Run_Line_Instance_Search(const Email_Field_Rule& rule, const QString& text, Parts& parts)
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
        Add_Part(parts, "City", "City", lsv(","));
        Add_Part(parts, "State", "State", lsw(",", 1));
    } else if (field == "State Zip") {
        Add_Part(parts, "State", "State", first());
        Add_Part(parts, "Zipcode", "Zip", second());
    } else if (field == "City, State Zip") {
        Add_Part(parts, "City", "City", lsv(","));
        Add_Part(parts, "State", "State", lsw(",", 1));
        Add_Part(parts, "Zipcode", "Zip", lsw(",", 2));
    } else if (field == "Year Make") {
        Add_Part(parts, "Year", "Year", first());
        Add_Part(parts, "Make", "Make", second());
    } else if (field == "Year Make Model") {
        Add_Part(parts, "Year", "Year", first());
        Add_Part(parts, "Make", "Make", second());
        Add_Part(parts, "Model", "Model", third());
    } else if (field == "Year Model") {
        Add_Part(parts, "Year", "Year", first());
        Add_Part(parts, "Model", "Model", after_first());
    } else if (field == "Make Model") {
        Add_Part(parts, "Make", "Make", first());
        Add_Part(parts, "Model", "Model", after_first());
    } else if (field == "Name") {
        Add_Part(parts, "FirstName", "Firstname", first());
        Add_Part(parts, "LastName", "Lastname", after_first());
    } else if (field == "Mr/Mrs Name") {
        Add_Part(parts, "FirstName", "Firstname", second());
        Add_Part(parts, "LastName", "Lastname", third());
    } else if (!line.isEmpty()) {
        Add_Part(parts, Get_Contact_Field_For_Label(field), field, line);
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

Lead_Filters_Hold* filters_hold = nullptr;

QList<Lead_Filters_Hold::Filter> Read_Filters()
{
    QList<Lead_Filters_Hold::Filter> filters;
    for (const QSqlRecord& filter : Open_Database().Select(
             "SELECT Name_Of_Site, Search_String_On_Subject_Line FROM EmailContactImports ORDER BY ID"))
        filters << Lead_Filters_Hold::Filter{Db_Text(filter, "Name_Of_Site"),
                                            Db_Text(filter, "Search_String_On_Subject_Line")};
    return filters;
}

QList<Email_Field_Rule> Read_Rules(const QString& site)
{
    QList<Email_Field_Rule> rules;
    if (site.isEmpty())
        return rules;
    const QList<QSqlRecord> rows = Open_Database().Select(
        "SELECT EmailImportFieldsInfo.Event_Field, EmailImportFieldsInfo.Import_Type, "
        "EmailImportFieldsInfo.Label, EmailImportFieldsInfo.After_Label, "
        "EmailImportFieldsInfo.End_Label FROM EmailContactImports INNER JOIN EmailImportFieldsInfo "
        "ON EmailContactImports.ID = EmailImportFieldsInfo.Email_Import_ID "
        "WHERE EmailContactImports.Name_Of_Site = ? "
        "ORDER BY EmailImportFieldsInfo.Event_Field, EmailImportFieldsInfo.ID",
        {site});
    for (const QSqlRecord& row : rows)
        rules << Email_Field_Rule{Db_Text(row, "Event_Field"), Db_Text(row, "Import_Type"), row.value("Label"),
                                  row.value("After_Label"), row.value("End_Label")};
    return rules;
}

} // namespace

Lead_Filters_Hold::Lead_Filters_Hold()
{
    filters_hold = this;
}

Lead_Filters_Hold::~Lead_Filters_Hold()
{
    if (filters_hold == this)
        filters_hold = nullptr;
}

QString Find_Import_Source_For_Subject(const QString& Subject)
{
    QList<Lead_Filters_Hold::Filter> read;
    if (filters_hold && !filters_hold->Filters_Read) {
        filters_hold->Filters = Read_Filters();
        filters_hold->Filters_Read = true;
    }
    const QList<Lead_Filters_Hold::Filter>& filters = filters_hold ? filters_hold->Filters : (read = Read_Filters());
    for (const Lead_Filters_Hold::Filter& filter : filters) {
        if (!filter.Search.isEmpty() && Subject.contains(filter.Search, Qt::CaseSensitive))
            return filter.Name_Of_Site;
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

QList<Lead_Field_Value> Lead_Field_Values(const QList<Email_Field_Rule>& Rules, const QString& Text)
{
    Init_Email_Field_Names();
    Parts parts;
    for (const Email_Field_Rule& rule : Rules) {
        if (rule.Import_Type == "Label Search")
            Run_Label_Search(rule, Text, parts);
        else if (rule.Import_Type == "Line Instance Search")
            Run_Line_Instance_Search(rule, Text, parts);
    }
    QList<Lead_Field_Value> values;
    for (int at = 0; at < parts.size(); ++at) {
        const Part& part = parts.at(at);
        // The import sets the received date itself; a column found again keeps its later value.
        if (!Lead_Columns().contains(part.field) || part.field == "Contact_Received_Date")
            continue;
        bool found_again = false;
        for (int later = at + 1; later < parts.size() && !found_again; ++later)
            found_again = parts.at(later).field == part.field;
        if (found_again)
            continue;
        const bool name = part.field == "FirstName" || part.field == "LastName";
        values << Lead_Field_Value{part.field, part.name, name ? Proper_Case(part.value) : part.value};
    }
    return values;
}

Email_Lead_Result Import_Contact_From_Email(const QString& Subject, const QString& Text,
                                            const QString& Message_ID,
                                            const QDateTime& Received_Date, int Attachment_Count,
                                            bool List_New_Contact)
{
    const QString site = Find_Import_Source_For_Subject(Subject);
    Init_Email_Field_Names();

    Database db = Open_Database();
    QList<Email_Field_Rule> rules;
    if (!filters_hold) {
        rules = Read_Rules(site);
    } else {
        if (!filters_hold->Rules.contains(site))
            filters_hold->Rules.insert(site, Read_Rules(site));
        rules = filters_hold->Rules.value(site);
    }
    const QList<Lead_Field_Value> found = Lead_Field_Values(rules, Text);

    QString email, product;
    for (const Lead_Field_Value& value : found) {
        if (value.Field_Name == "Email")
            email = value.Value;
        else if (value.Field_Name == "Product")
            product = value.Value;
    }

    Email_Lead_Result result;
    Database_Transaction transaction(db);
    if (!email.isEmpty())
        result.Contact_ID = Find_Contact_By_Email(email);
    if (result.Contact_ID == 0) {
        // The fixed values come last.
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
        for (const Lead_Field_Value& value : found)
            set(value.Field_Name, value.Value);
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

    if (result.New_Contact && List_New_Contact)
        Add_Contact_List_Items({result.Contact_ID});
    return result;
}

void Add_Contact_List_Items(const QList<qint64>& Contact_IDs)
{
    if (Contact_IDs.isEmpty())
        return;
    QJsonArray ids;
    for (qint64 id : Contact_IDs)
        ids << id;
    // In one look-up, in the order given.
    const QList<QSqlRecord> contacts = Open_Database().Select(
        "SELECT c.ID, c.FirstName, c.LastName, c.Product, c.Contact_Relationship, c.Contact_Title, "
        "c.Pending_Events_To_Read, c.New_Contact, c.Email FROM json_each(?) AS j JOIN Contacts AS c ON c.ID = j.value "
        "ORDER BY j.key",
        {QString::fromUtf8(QJsonDocument(ids).toJson(QJsonDocument::Compact))});
    for (const QSqlRecord& contact : contacts)
        Add_Contact_List_Item(contact.value(0).toLongLong(), contact.value(1), contact.value(2), contact.value(3),
                              contact.value(4), contact.value(5), contact.value(6).toLongLong() != 0,
                              contact.value(7).toLongLong() != 0, contact.value(8));
}
