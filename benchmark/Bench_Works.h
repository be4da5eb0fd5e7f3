#pragma once
// The timed works of the benchmark. Each runs in a process of its own (so
// peaks of memory do not mix) on a program folder made for it, and measures
// itself: wall time, the longest stall of the event loop, peak memory.

#include <QJsonObject>
#include <QString>

class Bench_Session;

struct Work_Result {
    double seconds = 0;       // the figure of the work
    double stall_ms = 0;      // longest time the event loop handled nothing
    qint64 before_kib = 0;    // resident before the work
    qint64 peak_kib = 0;      // peak resident during the work
    qint64 after_kib = 0;     // resident after it
    QJsonObject extra;        // what else the work saw (counts, partial times)
    QString error;            // empty when the work ran to its end
};

// Process Workflows over every contact (none due).
Work_Result Work_Workflow(Bench_Session& session);
// Get eMail over the mail store: every message new.
Work_Result Work_Intake(Bench_Session& session);
// The start-up fetch over a store whose messages are all filed, then tab
// clicks; the figure is the slowest click.
Work_Result Work_Tab_Click(Bench_Session& session);
// Automatic File Import of the lead file into the contacts.
Work_Result Work_Lead_File(Bench_Session& session);
// The start-up until the contact list is drawn with every contact.
Work_Result Work_Start_Up(Bench_Session& session);

// Where the timed stretches of the last work lie on the system's monotonic
// clock, from the first start to the last end: "FROM,TO" as
// "perf report --time" takes it.
QString Timed_Span();

// The work of that name; an error result for an unknown name.
Work_Result Run_Work(Bench_Session& session);
