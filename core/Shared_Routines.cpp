#include "Shared_Routines.h"

#include <QSqlRecord>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History.h"
#include "Random.h"

namespace {

Stats_Hold* stats_hold = nullptr;

} // namespace

Stats_Hold::Stats_Hold()
{
    stats_hold = this;
}

Stats_Hold::~Stats_Hold()
{
    if (stats_hold == this)
        stats_hold = nullptr;
}

void Stats_Hold::Add(const QString& Name, int Count)
{
    for (auto& count : counts_) {
        if (count.first == Name) {
            count.second += Count;
            return;
        }
    }
    counts_ << qMakePair(Name, Count);
}

void Stats_Hold::Store()
{
    if (stats_hold == this)
        stats_hold = nullptr;
    for (const auto& count : std::as_const(counts_))
        Add_Stats(count.first, count.second);
    counts_.clear();
    stats_hold = this;
}

void Add_Stats(const QString& Name, int Count)
{
    if (stats_hold) {
        stats_hold->Add(Name, Count);
        return;
    }
    // The day as a date (not as its "mm/dd/yyyy" text), so days sort in order across years.
    const QDateTime day(Now().date(), QTime(0, 0));
    try {
        Database db = Open_Database();
        Database_Transaction transaction(db);
        const int changed = db.Execute(
            "UPDATE Stats SET NumOfEvents = coalesce(NumOfEvents, 0) + ? WHERE rowid = "
            "(SELECT rowid FROM Stats WHERE EventDate = ? AND Event = ? ORDER BY rowid LIMIT 1)",
            {Count, day, Name});
        if (changed == 0)
            db.Execute("INSERT INTO Stats (EventDate, Event, NumOfEvents) VALUES (?, ?, ?)",
                       {day, Name, Count});
        transaction.Commit();
    } catch (const Database_Error& e) {
        Message_Box("Error on Add Stats: " + e.Description(), vbOKOnly);
    }
}

void Put_On_Junk_List(Database& db, const QString& Email)
{
    if (Email.trimmed().isEmpty())
        return;
    // Looked up as it is stored, so a long address is not added twice.
    const QString stored = Email.left(200);
    if (db.Select_First("SELECT ID FROM JunkEmails WHERE Email = ?", {stored}).isEmpty())
        db.Insert("INSERT INTO JunkEmails (Email) VALUES (?)", {stored});
}

void Add_To_Junk_Emails(const QVariant& Email)
{
    if (Is_Null(Email))
        return;
    const QString address = Email.toString();
    // An empty address would make every contact without an address junk.
    if (address.trimmed().isEmpty())
        return;
    try {
        Database db = Open_Database();
        Database_Transaction transaction(db);
        Put_On_Junk_List(db, address);
        transaction.Commit();
    } catch (const Database_Error& e) {
        Message_Box("Error on Adding to Junk Emails: " + address + " At " + e.Description(),
                    vbOKOnly);
    }
}

void Delete_Contact_Event_History(qint64 ContactID)
{
    const QList<QSqlRecord> rows = Open_Database().Select(
        "SELECT ID FROM Eventhistory WHERE ContactID = ? ORDER BY ID", {ContactID});
    for (const QSqlRecord& row : rows)
        Delete_Event_History(row.value(0).toLongLong());
}

QString Replace_All(const QString& Text, const QString& Search, const QVariant& Replacement)
{
    if (Is_Null(Replacement) || Search.isEmpty())
        return Text;
    const QString replacement = Replacement.toString();
    QString result = Text;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = result.indexOf(Search, from, Qt::CaseSensitive);
        if (at < 0)
            break;
        result.replace(at, Search.size(), replacement);
        // The replacement itself is not searched again.
        from = at + replacement.size();
    }
    return result;
}

bool Is_Null(const QVariant& Value)
{
    return !Value.isValid() || Value.isNull()
        || (Value.typeId() == QMetaType::QString && Value.toString().isNull());
}

QString Null_To_Empty(const QVariant& Value)
{
    if (Is_Null(Value))
        return QString("");
    return Value.toString();
}

QString Proper_Case(const QVariant& Text)
{
    const QString text = Null_To_Empty(Text);
    if (text.isEmpty())
        return QString("");
    return text.left(1).toUpper() + text.mid(1).toLower();
}

qint64 Create_Unique_Number()
{
    // Milliseconds of the clock, then a per-process sequence and a random
    // part: distinct within a millisecond and across starts.
    static qint64 sequence = 0;
    static qint64 last = 0;
    const qint64 ms = Now().toMSecsSinceEpoch();
    qint64 number = ms * 1000000 + (sequence++ % 1000) * 1000 + Random_Between(0, 999);
    if (number <= last)
        number = last + 1;
    last = number;
    return number;
}

int Find_List_Index(const QStringList& Entries, const QString& Text)
{
    return int(Entries.indexOf(Text));
}
