// brackenlead_bench WORK --folder DIR --maildir DIR --empty-maildir DIR [--clicks N]
//
// Runs one timed work of the program (workflow, intake, tabclick, leadfile,
// startup) in the program folder DIR and prints its measures as one line
// "BENCH_RESULT {json}". ./bench makes the folders and runs it; run by hand
// it times one work alone (see benchmark/README.md). "perf_time" in the result
// is the timed stretch for "perf report --time" of a "perf record -k
// CLOCK_MONOTONIC" of the run.

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

#include "Bench_Session.h"
#include "Database.h"
#include "Bench_Works.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Brackenlead");
    Bench_Options options;
    QString error;
    if (!Parse_Options(QCoreApplication::arguments(), &options, &error)) {
        std::fprintf(stderr, "brackenlead_bench: %s\n", qPrintable(error));
        return 2;
    }
    Bench_Session session(options);
    const Work_Result result = Run_Work(session);

    QJsonObject out;
    out["work"] = options.work;
    out["seconds"] = result.seconds;
    out["stall_ms"] = result.stall_ms;
    out["before_kib"] = result.before_kib;
    out["peak_kib"] = result.peak_kib;
    out["after_kib"] = result.after_kib;
    out["extra"] = result.extra;
    out["messages"] = QJsonArray::fromStringList(session.Messages());
    out["error"] = result.error;
    out["perf_time"] = Timed_Span();
    std::printf("BENCH_RESULT %s\n", QJsonDocument(out).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
    // The window with its large lists is not taken down piece by piece: the
    // database is closed and everything else ends with the process.
    Database::Close_All();
    std::_Exit(result.error.isEmpty() ? 0 : 1);
}
