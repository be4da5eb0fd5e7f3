#pragma once
// What the bench measures around a work: the time, the longest stretch in
// which the event loop handled nothing, and the memory of the process.

#include <QObject>
#include <QTimer>
#include <vector>

// Nanoseconds on one monotonic clock, from the first call on.
qint64 Bench_Ns();
// The system's monotonic clock (CLOCK_MONOTONIC) in seconds, as
// "perf record -k CLOCK_MONOTONIC" stamps its samples.
double Monotonic_Seconds();

// A 10 ms timer whose firings mark the turns of the event loop: the longest
// gap between two firings is the longest time the window could not react.
class Stall_Probe : public QObject {
public:
    Stall_Probe();
    void Start();
    void Stop();
    // The longest gap between turns within [from, to] (Bench_Ns values), in ms;
    // the stretches from "from" to the first turn and from the last turn to
    // "to" count as gaps too.
    double Longest_Stall_Ms(qint64 from, qint64 to) const;

private:
    QTimer timer_;
    std::vector<qint64> turns_;
};

// Memory of this process in KiB: resident now, and the peak since the last reset.
qint64 Resident_Kib();
qint64 Peak_Resident_Kib();
// Starts the peak over from what is resident now, so that a work's peak is
// not the start-up's.
void Reset_Peak_Resident();
