#include "File_Import.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Lead_Import_State.h"
#include "Lead_Line.h"
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


// The insert up to its VALUES, and the marks of one row.
QString Insert_Contact_Sql(QString& row_marks)
{
    QStringList fields;
    for (const Field_Position& p : Field_Positions)
        fields << p.field;
    fields << "B_Day" << "B_Month" << "B_Year" << "Import_Source" << "Contact_Received_Date"
           << "Workflow_Start_Date" << "New_Contact";
    QStringList marks;
    for (int i = 0; i < fields.size(); ++i)
        marks << "?";
    row_marks = "(" + marks.join(", ") + ")";
    return "INSERT INTO Contacts (" + fields.join(", ") + ") VALUES ";
}

// The whole file; false with the reason when it could not be read to its end.
bool Read_Whole_File(const QString& path, QByteArray& content, QString& failure)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        failure = file.errorString();
        return false;
    }
    constexpr qint64 Chunk = 1 << 20;
    for (;;) {
        const qsizetype had = content.size();
        content.resize(had + Chunk);
        const qint64 got = file.read(content.data() + had, Chunk);
        if (got < 0) {
            failure = file.errorString();
            content.clear();
            return false;
        }
        content.resize(had + got);
        if (got == 0)
            return true;
    }
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
// The common form of a birthday, M/d/yyyy in digits alone, read without the
// date parser; the parser reads it the same way, and reads everything else.
std::optional<QDate> Read_Plain_Birthday(QStringView text)
{
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    for (const QChar c : text) {
        if (c == u'/') {
            if (++part > 2)
                return std::nullopt;
        } else if (c >= u'0' && c <= u'9') {
            parts[part] = parts[part] * 10 + (c.unicode() - '0');
            ++digits[part];
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits[0] < 1 || digits[0] > 2 || digits[1] < 1 || digits[1] > 2 || digits[2] != 4)
        return std::nullopt;
    const QDate date(parts[2], parts[0], parts[1]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QDate> Read_Birthday(const QString& value)
{
    if (const std::optional<QDate> plain = Read_Plain_Birthday(QStringView(value).trimmed()))
        return plain;
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
    return Whole_Position(source.value(column));
}

// Field Position (1-based) of a line; the empty text for 0.
const QString& Field_At(const Line_Fields& fields, int position)
{
    static const QString empty("");
    return position > 0 ? fields[position - 1] : empty;
}

// The database compares text without regard to the case of A to Z alone.
QString Nocase_Key(const QString& text)
{
    QString key = text;
    for (QChar& c : key) {
        if (c >= 'A' && c <= 'Z')
            c = QChar(ushort(c.unicode() + ('a' - 'A')));
    }
    return key;
}

QString Json_Text(const QJsonArray& array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

// One line of a batch: its fields and the four values the checks compare.
struct Batch_Line {
    Line_Fields fields;
    QString first, middle, last, email;
};

// The checks of a batch's lines against the database in three look-ups:
// the e-mails that are junk or a contact's, the names that are junk, and
// the lines without e-mail whose three names a contact without e-mail has
// (sought by the names: the "+" keeps the database from walking every
// contact without e-mail instead).
struct Batch_Hits {
    QSet<QString> emails, names;
    QSet<int> nameless_lines;
};

Batch_Hits Look_Up_Batch(Database& db, const QList<Batch_Line>& lines, bool check_names)
{
    Batch_Hits hits;
    QJsonArray emails, names, no_email;
    for (int i = 0; i < lines.size(); ++i) {
        const Batch_Line& line = lines.at(i);
        if (!line.email.isEmpty())
            emails << line.email;
        else
            no_email << QJsonArray{i, line.first, line.middle, line.last};
        if (check_names) {
            if (!line.first.isEmpty())
                names << line.first;
            if (!line.last.isEmpty())
                names << line.last;
        }
    }
    if (!emails.isEmpty()) {
        for (const QVariantList& row : db.Select_Values(
                 "SELECT j.value FROM json_each(?) AS j WHERE EXISTS (SELECT 1 FROM JunkEmails WHERE Email = j.value) "
                 "OR EXISTS (SELECT 1 FROM Contacts WHERE Email = j.value)",
                 {Json_Text(emails)}))
            hits.emails.insert(row.at(0).toString());
    }
    if (!names.isEmpty()) {
        for (const QVariantList& row : db.Select_Values(
                 "SELECT j.value FROM json_each(?) AS j WHERE EXISTS (SELECT 1 FROM JunkNames WHERE Name = j.value)",
                 {Json_Text(names)}))
            hits.names.insert(row.at(0).toString());
    }
    if (!no_email.isEmpty()) {
        for (const QVariantList& row : db.Select_Values(
                 "SELECT json_extract(j.value, '$[0]') FROM json_each(?) AS j WHERE EXISTS (SELECT 1 FROM Contacts "
                 "WHERE FirstName = json_extract(j.value, '$[1]') AND MiddleInitial = json_extract(j.value, '$[2]') "
                 "AND LastName = json_extract(j.value, '$[3]') AND +Email = '')",
                 {Json_Text(no_email)}))
            hits.nameless_lines.insert(row.at(0).toInt());
    }
    return hits;
}

// Rows written by one statement.
constexpr int Rows_Per_Insert = 50;

// Writes the rows, many to a statement; after a failure the rows are written
// one by one up to the one that fails. Returns how many were written, with
// the failure's description when not all were.
int Insert_Contacts(Database& db, const QString& insert_sql, const QString& row_marks,
                    const QList<QVariantList>& rows, QString& failure)
{
    int written = 0;
    for (qsizetype from = 0; from < rows.size(); from += Rows_Per_Insert) {
        const qsizetype count = qMin<qsizetype>(Rows_Per_Insert, rows.size() - from);
        QVariantList values;
        QStringList marks;
        for (qsizetype i = from; i < from + count; ++i) {
            values << rows.at(i);
            marks << row_marks;
        }
        try {
            db.Insert(insert_sql + marks.join(", "), values);
            written += int(count);
        } catch (const Database_Error&) {
            for (qsizetype i = from; i < from + count; ++i) {
                try {
                    db.Insert(insert_sql + row_marks, rows.at(i));
                    ++written;
                } catch (const Database_Error& e) {
                    failure = e.Description();
                    return written;
                }
            }
        }
    }
    return written;
}

// Writes the taken contacts on a thread of its own, with its own connection,
// one transaction per hand-over: a transaction of many contacts spends most
// of its time writing the journal and the file, and the window stays live
// while it does. The window's thread reads and checks the lines meanwhile;
// at most one hand-over waits, so the lines are never far ahead.
class Contact_Writer {
public:
    Contact_Writer(const QString& path, const QString& insert_sql, const QString& row_marks, int& count)
        : path_(path)
        , insert_sql_(insert_sql)
        , row_marks_(row_marks)
        , count_(count)
        , thread_([this] { Run(); })
    {
    }

    ~Contact_Writer()
    {
        Finish();
        thread_.join();
    }

    Contact_Writer(const Contact_Writer&) = delete;
    Contact_Writer& operator=(const Contact_Writer&) = delete;

    // Hands the rows over to be written in one transaction, once the one
    // waiting before them is taken; false when a failure stopped the writing.
    bool Write(QList<QVariantList>& rows)
    {
        if (!rows.isEmpty()) {
            Wait_For_Writer([this] { return queue_.empty() || !failure_.isNull(); });
            std::lock_guard lock(mutex_);
            if (failure_.isNull())
                queue_.push_back(std::move(rows));
            rows.clear();
        }
        wake_.notify_all();
        return Failure().isNull();
    }

    // Waits until every row handed over is written or the writing failed.
    void Finish()
    {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
        }
        wake_.notify_all();
        Wait_For_Writer([this] { return done_; });
    }

    // What stopped the writing; a null text while nothing did.
    QString Failure() const
    {
        std::lock_guard lock(mutex_);
        return failure_;
    }

private:
    // The window's events are handled while the writer works.
    void Wait_For_Writer(const std::function<bool()>& ready)
    {
        std::unique_lock lock(mutex_);
        while (!ready()) {
            lock.unlock();
            QCoreApplication::processEvents();
            lock.lock();
            wake_.wait_for(lock, std::chrono::milliseconds(10), ready);
        }
        count_ = written_;
    }

    void Run()
    {
        QString failure;
        try {
            Database db(path_);
            // The contacts' indexes take new rows all over.
            const Page_Cache_Hold cache(db, 65536);
            const Journal_Kept_Hold journal(db);
            for (;;) {
                QList<QVariantList> rows;
                {
                    std::unique_lock lock(mutex_);
                    wake_.wait(lock, [this] { return !queue_.empty() || closing_; });
                    if (queue_.empty())
                        break;
                    rows = std::move(queue_.front());
                    queue_.pop_front();
                }
                wake_.notify_all();
                int written = 0;
                try {
                    Database_Transaction transaction(db);
                    written = Insert_Contacts(db, insert_sql_, row_marks_, rows, failure);
                    transaction.Commit();
                } catch (const Database_Error& e) {
                    // These could not be stored; the contacts written before stay.
                    written = 0;
                    failure = e.Description();
                }
                std::lock_guard lock(mutex_);
                written_ += written;
                if (!failure.isEmpty())
                    break;
            }
        } catch (const Program_Error& e) {
            failure = e.Description();
        }
        Database::Close_This_Thread();
        {
            std::lock_guard lock(mutex_);
            if (!failure.isEmpty()) {
                failure_ = failure;
                queue_.clear();
            }
            done_ = true;
        }
        wake_.notify_all();
    }

    const QString path_;
    const QString insert_sql_;
    const QString row_marks_;
    int& count_;   // the window's thread's count of the written contacts
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<QList<QVariantList>> queue_;
    bool closing_ = false;
    bool done_ = false;
    int written_ = 0;
    QString failure_;
    std::thread thread_;   // last: it starts once everything above is made
};

} // namespace

QString Get_Merge_Field(const QVariant& Position)
{
    const int position = Whole_Position(Position);
    if (position == 0)
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
            return !db.Scalar(sql, values).isNull();
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
    // Read to its end before anything is imported: a read that fails part
    // way (a failing disk, a dropped share) imports nothing.
    QByteArray content;
    QString failure;
    if (!Read_Whole_File(file_name, content, failure)) {
        Message_Box("File: " + file_name + " could not be read to its end: " + failure
                    + ". Nothing was imported from it.");
        return result;
    }
    // A file of many leads takes a while to read, decode and check: the
    // window is handled between the steps.
    QCoreApplication::processEvents();
    QString text = Decode_Lead_File(content);
    content.clear();
    QCoreApplication::processEvents();
    // The end-of-file mark of old DOS files is no line.
    if (text.endsWith(QChar(0x1A)))
        text.chop(1);
    const QString not_text = Not_Text_Reason(text);
    if (!not_text.isEmpty()) {
        Message_Box("File: " + file_name + " is not a text file of leads: " + not_text
                    + ". Nothing was imported from it.");
        return result;
    }
    Line_Reader lines(text, Db_Text(source, "From_System"));
    text.clear();
    QCoreApplication::processEvents();

    int positions[std::size(Field_Positions)];
    for (size_t i = 0; i < std::size(Field_Positions); ++i)
        positions[i] = Position_Of(source, Field_Positions[i].position);
    const int first_position = Position_Of(source, "Firstname_Position");
    const int middle_position = Position_Of(source, "MiddleInitial_Position");
    const int last_position = Position_Of(source, "Lastname_Position");
    const int email_position = Position_Of(source, "Email_Position");
    const int birthday_position = Position_Of(source, "Bdate_Position");
    QString row_marks;
    const QString insert_sql = Insert_Contact_Sql(row_marks);
    const QString source_text = Text(Source_Name);

    // The leads taken and not yet handed to the writer, and every lead the
    // file gave, for the lines after them that repeat them.
    QList<QVariantList> rows;
    QSet<QString> taken_emails, taken_names;
    int handed_over = 0;
    Contact_Writer writer(db.Path(), insert_sql, row_marks, count);
    // Hands what is taken to the writer; false (after the message) once a write failed.
    const auto write_rows = [&](bool last) -> bool {
        handed_over += int(rows.size());
        if (writer.Write(rows) && last)
            writer.Finish();
        const QString failure = writer.Failure();
        if (failure.isNull())
            return true;
        // The file stays for another run; the contacts written before stay.
        writer.Finish();
        Message_Box("Error in Merge: " + failure);
        return false;
    };

    bool too_many_fields = false;
    while (!lines.At_End() && !too_many_fields) {
        // A batch: its lines split and checked together, its contacts
        // written in one transaction, the window's events after it.
        QList<Batch_Line> batch;
        batch.reserve(Merge_Batch_Size);
        while (!lines.At_End() && batch.size() < Merge_Batch_Size) {
            const QString line = lines.Next();
            // A blank line holds no lead; stored, it would become an empty contact.
            if (line.trimmed().isEmpty())
                continue;
            Batch_Line entry;
            if (!Split_Line(line, delimiter, entry.fields)) {
                too_many_fields = true;
                break;
            }
            // Nor does a line of delimiters alone, as an empty spreadsheet row is saved.
            if (std::all_of(entry.fields.begin(), entry.fields.begin() + Max_Fields,
                            [](const QString& field) { return field.trimmed().isEmpty(); }))
                continue;
            entry.first = Field_At(entry.fields, first_position);
            entry.middle = Field_At(entry.fields, middle_position);
            entry.last = Field_At(entry.fields, last_position);
            entry.email = Field_At(entry.fields, email_position);
            batch << std::move(entry);
        }
        if (batch.isEmpty())
            continue;

        const bool check_names = Current_Settings().Check_For_Bad_Names;
        // The time the batch's contacts are received and start their workflow.
        const QDateTime now = Now();
        // Bound as its stored text: made once, not for every row.
        const QVariant now_text = Db_Date_Text(now);
        Batch_Hits hits;
        bool checked = true;
        try {
            hits = Look_Up_Batch(db, batch, check_names);
        } catch (const Database_Error& e) {
            // Discarding the lines is the safe answer when the checks cannot run.
            Message_Box(e.Description());
            checked = false;
        }
        for (int i = 0; i < batch.size(); ++i) {
            const Batch_Line& line = batch.at(i);
            Merge_Fields() = line.fields;
            const QString names_key = Nocase_Key(line.first + '\n' + line.middle + '\n' + line.last);
            window.Set_Status_Panel(4, line.email);
            window.Set_Status_Panel(5, "Checking if Duplicate or junk");
            const bool hit = !checked
                || (!line.email.isEmpty()
                    && (hits.emails.contains(line.email) || taken_emails.contains(Nocase_Key(line.email))))
                || (check_names && (hits.names.contains(line.first) || hits.names.contains(line.last)))
                || (line.email.isEmpty() && (hits.nameless_lines.contains(i) || taken_names.contains(names_key)));
            if (hit) {
                window.Set_Status_Panel(4, line.email);
                window.Set_Status_Panel(5, "Duplicate Found. Contact Discarded");
                continue;
            }
            window.Set_Status_Panel(4, line.email);
            window.Set_Status_Panel(5, "Integrating to contact database.");
            QVariantList values;
            values.reserve(int(std::size(Field_Positions)) + 7);
            for (int position : positions)
                values << Field_At(line.fields, position);
            int day = 0, month = 0, year = 0;
            const QString& birthday = Field_At(line.fields, birthday_position);
            if (!birthday.isEmpty()) {
                // A birthday that reads as no date is left at 0.
                if (const std::optional<QDate> date = Read_Birthday(birthday)) {
                    day = date->day();
                    month = date->month();
                    year = date->year();
                }
            }
            values << day << month << year << source_text << now_text << now_text << true;
            rows << values;
            if (!line.email.isEmpty())
                taken_emails.insert(Nocase_Key(line.email));
            else
                taken_names.insert(names_key);
            window.Set_Status_Panel(4, line.email);
            window.Set_Status_Panel(5, QString::number(handed_over + int(rows.size())));
        }

        if (rows.size() >= Merge_Rows_Per_Transaction && !write_rows(false))
            return result;
        // Let the window repaint its panels and answer the user.
        QCoreApplication::processEvents();
    }
    if (!write_rows(true))
        return result;
    if (too_many_fields) {
        Message_Box("Error in Merge. Max number of fields reached. Change Merge Field Settings "
                    "to match input file.");
        return result;
    }
    result = 1;
    return result;
}
