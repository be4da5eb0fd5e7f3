#include "Bench_Works.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QJsonArray>
#include <QTreeWidget>
#include <functional>

#include "Bench_Probe.h"
#include "Bench_Session.h"
#include "Database.h"
#include "Engine_Calls.h"
#include "frmContactSystem.h"

namespace {

// No work of the benchmark should take this long; past it the run is a failure.
constexpr double Work_Timeout_Seconds = 900;

double Seconds(qint64 from, qint64 to)
{
    return double(to - from) / 1e9;
}

double span_from = 0, span_to = 0;

// The stall probe and the memory peak over one stretch of work, from its
// making on.
class Measure {
public:
    Measure()
    {
        if (span_from == 0)
            span_from = Monotonic_Seconds();
        Reset_Peak_Resident();
        before_ = Resident_Kib();
        probe_.Start();
        begin_ = Bench_Ns();
    }
    qint64 Begin() const { return begin_; }

    // The stretch ended at end; stalls count from stall_from on.
    Work_Result Finish(qint64 end, qint64 stall_from)
    {
        span_to = Monotonic_Seconds() - Seconds(end, Bench_Ns());
        probe_.Stop();
        Work_Result result;
        result.seconds = Seconds(begin_, end);
        result.stall_ms = probe_.Longest_Stall_Ms(stall_from, end);
        result.before_kib = before_;
        result.peak_kib = Peak_Resident_Kib();
        result.after_kib = Resident_Kib();
        return result;
    }

private:
    Stall_Probe probe_;
    qint64 before_ = 0;
    qint64 begin_ = 0;
};

// Times one work from its start to its done test.
Work_Result Timed(const std::function<void()>& start, const std::function<bool()>& done)
{
    Measure measure;
    start();
    const bool finished = Wait_For(done, Work_Timeout_Seconds);
    Work_Result result = measure.Finish(Bench_Ns(), measure.Begin());
    if (!finished)
        result.error = "did not finish";
    return result;
}

frmContactSystem* Started_Window(Bench_Session& session, Work_Result& failed)
{
    QString error;
    frmContactSystem* window = session.Start_Window(&error);
    if (!window)
        failed.error = error;
    return window;
}

void Use_Mail_Store(const Bench_Session& session)
{
    qputenv("MAILDIR", QFile::encodeName(session.Options().maildir));
}

// Rows of a table (those matching where, when given) that a work adds.
struct Row_Count {
    const char* name;
    const char* table;
    const char* where = nullptr;
};

// The window started, the rows counted, then the command timed until done;
// what each count grew by goes into the result's extra.
Work_Result Command_Work(Bench_Session& session, const QList<Row_Count>& counts,
                         const std::function<void(frmContactSystem&)>& start, const std::function<bool()>& done,
                         const std::function<void()>& before = {})
{
    Work_Result result;
    frmContactSystem* window = Started_Window(session, result);
    if (!window)
        return result;
    QList<qint64> rows;
    for (const Row_Count& count : counts)
        rows << session.Count(count.table, count.where);
    if (before)
        before();
    result = Timed([&] { start(*window); }, done);
    for (int i = 0; i < counts.size(); ++i)
        result.extra[counts[i].name] = session.Count(counts[i].table, counts[i].where) - rows[i];
    return result;
}

// Notes the moments of the start-up: the main window shown, first drawn, and
// its contact list drawn holding every contact.
class Start_Up_Watch : public QObject {
public:
    Start_Up_Watch(qint64 contacts) : contacts_(contacts) {}
    frmContactSystem* window = nullptr;
    qint64 shown = 0, first_paint = 0, list_painted = 0;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (window && object->isWidgetType()) {
            QWidget* widget = static_cast<QWidget*>(object);
            if (event->type() == QEvent::Show && widget == window && shown == 0)
                shown = Bench_Ns();
            if (event->type() == QEvent::Paint && widget->window() == window) {
                if (first_paint == 0)
                    first_paint = Bench_Ns();
                if (list_painted == 0 && widget == Contact_List(*window)->viewport()
                    && Contact_List(*window)->topLevelItemCount() >= contacts_)
                    list_painted = Bench_Ns();
            }
        }
        return QObject::eventFilter(object, event);
    }

private:
    qint64 contacts_;
};

} // namespace

Work_Result Work_Workflow(Bench_Session& session)
{
    return Command_Work(session,
                        {{"postings", "Outbox"},
                         {"newly_finished", "Contacts", "Finished_Timeline_Execution = 1"}},
                        Start_Workflow_Run, [&] { return Workflow_Run_Done(session); });
}

Work_Result Work_Intake(Bench_Session& session)
{
    Work_Result result = Command_Work(
        session,
        {{"events", "Eventhistory"}, {"unmatched", "NewEmails"}, {"new_contacts", "Contacts"},
         {"attachments", "Attachments"}},
        Start_Mail_Intake, [] { return Mail_Intake_Done(); }, [&] { Use_Mail_Store(session); });
    result.extra["kept_kib"] = result.after_kib - result.before_kib;
    return result;
}

Work_Result Work_Tab_Click(Bench_Session& session)
{
    Work_Result result;
    frmContactSystem* window = Started_Window(session, result);
    if (!window)
        return result;
    const qint64 filed = session.Count("Eventhistory") + session.Count("NewEmails");
    Use_Mail_Store(session);
    const Work_Result fetch = Timed([] { Start_Start_Up_Mail_Fetch(); }, [] { return Mail_Intake_Done(); });
    if (!fetch.error.isEmpty())
        return fetch;

    Work_Result clicks;
    QJsonArray times;
    Reset_Peak_Resident();
    clicks.before_kib = Resident_Kib();
    for (int i = 0; i < session.Options().clicks; ++i) {
        const Work_Result click = Timed([&] { Click_Current_Tab(*window); }, [] { return Tab_Click_Done(); });
        if (!click.error.isEmpty())
            return click;
        times.append(click.seconds);
        clicks.seconds = qMax(clicks.seconds, click.seconds);
        clicks.stall_ms = qMax(clicks.stall_ms, click.stall_ms);
        clicks.peak_kib = qMax(clicks.peak_kib, click.peak_kib);
    }
    clicks.after_kib = Resident_Kib();
    clicks.extra["click_seconds"] = times;
    clicks.extra["start_up_fetch_seconds"] = fetch.seconds;
    clicks.extra["start_up_fetch_stall_ms"] = fetch.stall_ms;
    clicks.extra["filed_again"] = session.Count("Eventhistory") + session.Count("NewEmails") - filed;
    return clicks;
}

Work_Result Work_Lead_File(Bench_Session& session)
{
    return Command_Work(session, {{"new_contacts", "Contacts"}}, Start_Automatic_File_Import,
                        [&] { return File_Import_Done(session); });
}

Work_Result Work_Start_Up(Bench_Session& session)
{
    const qint64 contacts = session.Count("Contacts");
    Database::Close_All();
    Start_Up_Watch watch(contacts);
    qApp->installEventFilter(&watch);

    Measure measure;
    frmContactSystem* window = session.Make_Window();
    watch.window = window;
    const bool started = Start_Up_Window(*window);
    const qint64 returned = Bench_Ns();
    const bool drawn = started && Wait_For([&] { return watch.list_painted != 0; }, Work_Timeout_Seconds);
    qApp->removeEventFilter(&watch);
    // The window can only freeze once it is there.
    Work_Result result = drawn ? measure.Finish(watch.list_painted, watch.shown)
                               : measure.Finish(Bench_Ns(), measure.Begin());
    if (!started) {
        result.error = "the start-up ended the program";
        return result;
    }
    if (!drawn) {
        result.error = "the contact list was never drawn with every contact";
        return result;
    }
    const qint64 begin = measure.Begin();
    result.extra["window_shown_seconds"] = Seconds(begin, watch.shown);
    result.extra["first_paint_seconds"] = Seconds(begin, watch.first_paint);
    result.extra["start_up_returned_seconds"] = Seconds(begin, returned);
    result.extra["listed"] = Contact_List(*window)->topLevelItemCount();
    return result;
}

QString Timed_Span()
{
    return QString::asprintf("%.6f,%.6f", span_from, span_to);
}

Work_Result Run_Work(Bench_Session& session)
{
    const QString work = session.Options().work;
    if (work == "workflow")
        return Work_Workflow(session);
    if (work == "intake")
        return Work_Intake(session);
    if (work == "tabclick")
        return Work_Tab_Click(session);
    if (work == "leadfile")
        return Work_Lead_File(session);
    if (work == "startup")
        return Work_Start_Up(session);
    Work_Result unknown;
    unknown.error = "unknown work " + work;
    return unknown;
}
