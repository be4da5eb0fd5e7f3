#include "File_Import.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <optional>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Lead_Import_State.h"
#include "Main_Window_Lists.h"
#include "Settings.h"

namespace {

constexpr int Max_Fields = Lead_Import_State::Max_Fields;

std::array<QString, Max_Fields + 2>& Merge_Fields()
{
    return Lead_Import().Merge_Fields;
}

QString Text(const QString& value)
{
    return value.isNull() ? QString("") : value;
}

// The position column of a source and the Contacts field it fills, in the
// order the fields are written.
struct Field_Position {
    const char* position;
    const char* field;
};

const Field_Position Field_Positions[] = {
    {"Firstname_Position", "FirstName"},
    {"MiddleInitial_Position", "MiddleInitial"},
    {"Lastname_Position", "LastName"},
    {"Address_Position", "Address"},
    {"City_Position", "City"},
    {"State_Position", "State"},
    {"Zip_Position", "Zipcode"},
    {"Email_Position", "Email"},
    {"Homephone_Position", "Homephone"},
    {"Workphone_Position", "Workphone"},
    {"Cellphone_Position", "Cellphone"},
    {"Company_Position", "Company"},
    {"Product_Position", "Product"},
    {"Title_Position", "Contact_Title"},
    {"Relationship_Position", "Contact_Relationship"},
    {"Referred_By_Position", "Referred_By"},
    {"Time_To_Contact_Position", "Best_Time_To_Contact"},
    {"Year_Position", "Year"},
    {"Make_Position", "Make"},
    {"Model_Position", "Model"},
    {"Interior_Color_Position", "Interior_Color"},
    {"Exterior_Color_Position", "Exterior_Color"},
    {"Transmission_Position", "Transmission"},
    {"Size_Of_Engine_Position", "Size_Of_Engine"},
    {"Number_Of_Doors_Position", "Number_Of_Doors"},
    {"Number_Of_Cylinders_Position", "Number_Of_Cylinders"},
    {"Options_Position", "Options"},
};

QString Insert_Contact_Sql()
{
    QStringList fields;
    for (const Field_Position& p : Field_Positions)
        fields << p.field;
    fields << "B_Day" << "B_Month" << "B_Year" << "Import_Source" << "Contact_Received_Date"
           << "Workflow_Start_Date" << "New_Contact";
    QStringList marks;
    for (int i = 0; i < fields.size(); ++i)
        marks << "?";
    return "INSERT INTO Contacts (" + fields.join(", ") + ") VALUES (" + marks.join(", ") + ")";
}

// Splits one line into Merge_Fields; false when it holds more than 40 fields.
bool Split_Line(const QString& line, const QString& delimiter)
{
    for (int i = 0; i < Max_Fields; ++i)
        Merge_Fields()[i] = QString("");
    int index = 0;
    QString rest = line;
    for (;;) {
        // With no delimiter known the whole line is one field.
        const qsizetype found = delimiter.isEmpty() ? -1 : rest.indexOf(delimiter);
        const bool last = found < 0;
        QString field = last ? rest : rest.left(found);
        if (field.startsWith(' '))
            field.remove(0, 1);
        // A quoted field loses its quotes, and only its quotes.
        if (field.startsWith('"')) {
            field.remove(0, 1);
            if (field.endsWith('"'))
                field.chop(1);
        }
        Merge_Fields()[index] = Text(field);
        if (!last)
            rest = rest.mid(found + delimiter.size());
        ++index;
        if (index == Max_Fields + 1)
            return false;
        if (last)
            return true;
    }
}

// The file's text: UTF-8 (a byte-order mark dropped); a file that is not
// valid UTF-8 was written in the Western Windows code page.
QString Decode(const QByteArray& bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(data);
    if (!utf8.hasError())
        return text;
    QStringDecoder western("windows-1252");
    return western.isValid() ? western(data) : QString::fromLatin1(data);
}

// Lines of the file by the source's line-end rule.
class Line_Reader {
public:
    Line_Reader(const QString& text, const QString& from_system)
        : text_(text),
          unix_rule_(from_system == "Linux" || from_system == "UNIX" || from_system == "Unix")
    {
    }

    bool At_End() const { return pos_ >= text_.size(); }

    QString Next()
    {
        QString line;
        if (unix_rule_) {
            const qsizetype end = text_.indexOf('\n', pos_);
            line = end < 0 ? text_.mid(pos_) : text_.mid(pos_, end - pos_);
            pos_ = end < 0 ? text_.size() : end + 1;
            // A CR LF file read by this rule: the CR is a line end, not data.
            if (line.endsWith('\r'))
                line.chop(1);
        } else {
            const qsizetype end = text_.indexOf('\r', pos_);
            line = end < 0 ? text_.mid(pos_) : text_.mid(pos_, end - pos_);
            pos_ = end < 0 ? text_.size() : end + 1;
            if (end >= 0 && pos_ < text_.size() && text_.at(pos_) == '\n')
                ++pos_;
        }
        return Text(line);
    }

private:
    QString text_;
    bool unix_rule_;
    qsizetype pos_ = 0;
};

// A birthday read as the program's (United States) date rules read dates.
std::optional<QDate> Read_Birthday(const QString& value)
{
    static const char* const formats[] = {
        "M/d/yyyy", "M/d/yy", "M-d-yyyy", "M-d-yy", "M.d.yyyy", "yyyy-M-d", "yyyy/M/d",
        "MMMM d, yyyy", "MMM d, yyyy", "MMMM d yyyy", "MMM d yyyy", "d MMMM yyyy", "d MMM yyyy",
    };
    QStringList candidates{value.trimmed()};
    // A date written with a time of day after it.
    const qsizetype blank = candidates.first().indexOf(' ');
    if (blank > 0 && candidates.first().mid(blank + 1).contains(':'))
        candidates << candidates.first().left(blank);
    for (const QString& text : candidates) {
        for (const char* format : formats) {
            QDate date = QLocale::c().toDate(text, QString::fromLatin1(format));
            if (!date.isValid())
                continue;
            // Two-digit years: 00 to 29 are this century, 30 to 99 the last.
            if (QString::fromLatin1(format).endsWith("yy") && !QString::fromLatin1(format).endsWith("yyyy")
                && date.year() < 1930)
                date = date.addYears(100);
            return date;
        }
    }
    return std::nullopt;
}

int Position_Of(const QSqlRecord& source, const char* column)
{
    const QVariant value = source.value(column);
    return value.isNull() ? 0 : qRound(value.toDouble());
}

} // namespace

QString Get_Merge_Field(const QVariant& Position)
{
    if (!Position.isValid() || Position.isNull())
        return QString("");
    bool ok = false;
    const double number = Position.toDouble(&ok);
    const int position = ok ? qRound(number) : 0;
    if (position <= 0 || position > Max_Fields)
        return QString("");
    return Text(Merge_Fields()[position - 1]);
}

int Is_Duplicate_Or_Junk(const QString& First_Name, const QString& Middle_Initial,
                         const QString& Last_Name, const QString& Email)
{
    const QString first = Text(First_Name);
    const QString middle = Text(Middle_Initial);
    const QString last = Text(Last_Name);
    const QString email = Text(Email);
    try {
        Database db = Open_Database();
        const auto found = [&db](const QString& sql, const QVariantList& values) {
            return !db.Select_First(sql, values).isEmpty();
        };
        if (!email.isEmpty() && found("SELECT ID FROM JunkEmails WHERE Email = ? LIMIT 1", {email}))
            return 1;
        if (Current_Settings().Check_For_Bad_Names) {
            if (!first.isEmpty() && found("SELECT ID FROM JunkNames WHERE Name = ? LIMIT 1", {first}))
                return 1;
            if (!last.isEmpty() && found("SELECT ID FROM JunkNames WHERE Name = ? LIMIT 1", {last}))
                return 1;
        }
        if (found("SELECT ID FROM Contacts WHERE FirstName = ? AND MiddleInitial = ? AND LastName = ? "
                  "AND Email = ? LIMIT 1",
                  {first, middle, last, email}))
            return 1;
        if (!email.isEmpty() && found("SELECT ID FROM Contacts WHERE Email = ? LIMIT 1", {email}))
            return 1;
    } catch (const Database_Error& e) {
        // Discarding the line is the safe answer when the checks cannot run.
        Message_Box(e.Description());
        return 1;
    }
    return 0;
}

int Last_Merge_Count()
{
    return Lead_Import().Last_Merge_Count;
}

int Merge_The_Transferred_File(const QString& Source_Name, const QString& Local_File)
{
    int count = 0;
    int result = -1;
    Main_Window_Lists& window = Main_Window();

    // The common exit: every way out leaves the same panels behind.
    struct Finish {
        Main_Window_Lists& window;
        int& count;
        ~Finish()
        {
            Lead_Import().Last_Merge_Count = count;
            window.Set_Status_Panel(3, "File Merge Finished");
            window.Set_Status_Panel(4, QString::number(count) + " Records Merged");
            window.Set_Status_Panel(5, QString(""));
        }
    } finish{window, count};

    Database db = Open_Database();
    const QSqlRecord source =
        db.Select_First("SELECT * FROM ContactSources WHERE Name_Of_Site = ?", {Source_Name});
    window.Set_Status_Panel(3, "Importing " + Source_Name);
    window.Set_Status_Panel(4, QString(""));
    window.Set_Status_Panel(5, QString(""));
    if (source.isEmpty())
        return result;

    const QString file_name =
        Db_Text(source, "Type_Of_Source") == "FTP" ? Local_File : Db_Text(source, "Path_For_File");
    const QString delimiter_name = Db_Text(source, "Field_Delimiter");
    const QString delimiter = delimiter_name == "Tab" ? QString("\t")
                            : delimiter_name == "Comma" ? QString(",") : QString();

    if (file_name.isEmpty() || !QFileInfo(file_name).isFile()) {
        Message_Box("File: " + file_name + "does not exist. Exiting...");
        return result;
    }
    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly)) {
        Message_Box("File: " + file_name + " cannot be read. " + file.errorString());
        return result;
    }
    Line_Reader lines(Decode(file.readAll()), Db_Text(source, "From_System"));
    file.close();

    int positions[std::size(Field_Positions)];
    for (size_t i = 0; i < std::size(Field_Positions); ++i)
        positions[i] = Position_Of(source, Field_Positions[i].position);
    const int first_position = Position_Of(source, "Firstname_Position");
    const int middle_position = Position_Of(source, "MiddleInitial_Position");
    const int last_position = Position_Of(source, "Lastname_Position");
    const int email_position = Position_Of(source, "Email_Position");
    const int birthday_position = Position_Of(source, "Bdate_Position");
    const QString insert_sql = Insert_Contact_Sql();

    std::optional<Database_Transaction> batch;
    int lines_in_batch = 0;
    int added_in_batch = 0;
    try {
        while (!lines.At_End()) {
            const QString line = lines.Next();
            // A blank line holds no lead; stored, it would become an empty contact.
            if (line.trimmed().isEmpty())
                continue;
            if (!batch)
                batch.emplace(db);
            if (!Split_Line(line, delimiter)) {
                batch->Commit();
                batch.reset();
                Message_Box("Error in Merge. Max number of fields reached. Change Merge Field Settings "
                            "to match input file.");
                return result;
            }
            // Nor does a line of delimiters alone, as an empty spreadsheet row is saved.
            if (std::all_of(Merge_Fields().begin(), Merge_Fields().begin() + Max_Fields,
                            [](const QString& field) { return field.trimmed().isEmpty(); }))
                continue;
            const QString email = Get_Merge_Field(email_position);
            window.Set_Status_Panel(4, email);
            window.Set_Status_Panel(5, "Checking if Duplicate or junk");
            if (Is_Duplicate_Or_Junk(Get_Merge_Field(first_position), Get_Merge_Field(middle_position),
                                     Get_Merge_Field(last_position), email)) {
                window.Set_Status_Panel(4, email);
                window.Set_Status_Panel(5, "Duplicate Found. Contact Discarded");
            } else {
                window.Set_Status_Panel(4, email);
                window.Set_Status_Panel(5, "Integrating to contact database.");
                QVariantList values;
                for (int position : positions)
                    values << Get_Merge_Field(position);
                int day = 0, month = 0, year = 0;
                const QString birthday = Get_Merge_Field(birthday_position);
                if (!birthday.isEmpty()) {
                    // A birthday that reads as no date is left at 0.
                    if (const std::optional<QDate> date = Read_Birthday(birthday)) {
                        day = date->day();
                        month = date->month();
                        year = date->year();
                    }
                }
                values << day << month << year << Text(Source_Name) << Now() << Now() << true;
                db.Insert(insert_sql, values);
                ++count;
                ++added_in_batch;
                window.Set_Status_Panel(4, email);
                window.Set_Status_Panel(5, QString::number(count));
            }
            if (++lines_in_batch >= Merge_Batch_Size) {
                batch->Commit();
                batch.reset();
                lines_in_batch = 0;
                added_in_batch = 0;
                // Let the window repaint its panels and answer the user.
                QCoreApplication::processEvents();
            }
        }
        if (batch)
            batch->Commit();
    } catch (const Database_Error& e) {
        // Keep the contacts written before the failure; the file stays for another run.
        if (batch) {
            try {
                batch->Commit();
            } catch (const Database_Error&) {
                count -= added_in_batch;
            }
            batch.reset();
        }
        Message_Box("Error in Merge: " + e.Description());
        return result;
    }
    result = 1;
    return result;
}
