#include "Bench_Probe.h"

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <ctime>

qint64 Bench_Ns()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.nsecsElapsed();
}

double Monotonic_Seconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

Stall_Probe::Stall_Probe()
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, [this] { turns_.push_back(Bench_Ns()); });
}

void Stall_Probe::Start()
{
    turns_.clear();
    turns_.reserve(1 << 16);
    timer_.start();
}

void Stall_Probe::Stop()
{
    timer_.stop();
}

double Stall_Probe::Longest_Stall_Ms(qint64 from, qint64 to) const
{
    qint64 last = from;
    qint64 longest = 0;
    for (const qint64 turn : turns_) {
        if (turn <= from)
            continue;
        if (turn >= to)
            break;
        longest = std::max(longest, turn - last);
        last = turn;
    }
    longest = std::max(longest, to - last);
    return double(longest) / 1e6;
}

namespace {

// A "Name:   123 kB" line of /proc/self/status, in KiB.
qint64 Status_Kib(const char* name)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(name) + ":";
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

qint64 Resident_Kib()
{
    return Status_Kib("VmRSS");
}

qint64 Peak_Resident_Kib()
{
    return Status_Kib("VmHWM");
}

void Reset_Peak_Resident()
{
    // "5" resets the peak resident size to the present one (Linux 4.0 on).
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
