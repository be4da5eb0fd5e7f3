#include "List_Recordset.h"

#include <QCoreApplication>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Shared_Routines.h"

namespace {

void Show_List_Failure(const QString& sql, const QString& description)
{
    Message_Box("Error on open temp record. msg: " + description + "\r\n\r\nOn query: " + sql);
}

// Runs read, saying a failure with the query; false then.
bool Open_List(const QString& sql, const std::function<void(Database&)>& read)
{
    try {
        Database db = Open_Database();
        read(db);
        return true;
    } catch (const Program_Error& e) {
        Show_List_Failure(sql, e.Description());
        return false;
    }
}

} // namespace

QList<QSqlRecord> Open_List_Recordset(const QString& sql, const QVariantList& params, bool* ok)
{
    QList<QSqlRecord> rows;
    const bool read = Open_List(sql, [&](Database& db) { rows = db.Select(sql, params); });
    if (ok)
        *ok = read;
    return rows;
}

bool Read_List_Rows(const QString& sql, const QVariantList& params, int slice_rows,
                    const std::function<List_Row(const Row_Values&)>& make,
                    const std::function<void(QList<List_Row>&)>& take)
{
    // Reads the rows into slices, handing each full one and the last to hand_over.
    const auto read_slices = [&](Database& db, const std::function<void(QList<List_Row>&)>& hand_over) {
        QList<List_Row> slice;
        slice.reserve(slice_rows);
        db.Read_Rows(sql, params, [&](const Row_Values& row) {
            slice << make(row);
            if (slice.size() >= slice_rows) {
                hand_over(slice);
                slice = {};
                slice.reserve(slice_rows);
            }
        });
        if (!slice.isEmpty())
            hand_over(slice);
    };
    QString path;
    bool read_here = false;
    if (!Open_List(sql, [&](Database& db) {
            path = db.Path();
            // Another connection would not see what an open transaction of this one wrote.
            read_here = db.In_Transaction();
            if (read_here)
                read_slices(db, take);
        }))
        return false;
    if (read_here)
        return true;
    // Reading the rows takes as long as listing them: the two go side by
    // side. The reader never waits for the window, so the window's own
    // statements meanwhile wait at most for the reading.
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<QList<List_Row>> slices;
    bool done = false;
    QString failure;
    std::thread reader([&] {
        QString error;
        try {
            Database db(path);
            read_slices(db, [&](QList<List_Row>& slice) {
                {
                    std::lock_guard lock(mutex);
                    slices.push_back(std::move(slice));
                }
                ready.notify_one();
            });
        } catch (const Program_Error& e) {
            error = e.Description();
        }
        Database::Close_This_Thread();
        {
            std::lock_guard lock(mutex);
            failure = error;
            done = true;
        }
        ready.notify_one();
    });
    for (;;) {
        QList<List_Row> slice;
        bool finished = false;
        {
            std::unique_lock lock(mutex);
            ready.wait_for(lock, std::chrono::milliseconds(10), [&] { return !slices.empty() || done; });
            if (!slices.empty()) {
                slice = std::move(slices.front());
                slices.pop_front();
            } else {
                finished = done;
            }
        }
        if (finished)
            break;
        if (!slice.isEmpty())
            take(slice);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    reader.join();
    if (failure.isEmpty())
        return true;
    Show_List_Failure(sql, failure);
    return false;
}

QStringList First_Column_Texts(const QList<QSqlRecord>& rows)
{
    QStringList texts;
    for (const QSqlRecord& row : rows)
        texts << Null_To_Empty(row.value(0));
    return texts;
}
