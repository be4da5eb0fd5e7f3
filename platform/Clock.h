#pragma once
// The clock: the time of day and waits that keep the window responsive.
// Tests install a clock whose waits handle pending events and move time on at
// once, so a five-second pause costs no test time.

#include <QDateTime>
#include <functional>

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() = 0;
    // Waits the given seconds, handling window messages meanwhile.
    virtual void Pause(double seconds) = 0;
    // Handles events for a short while, or until Wake_Waits() is called.
    virtual void Wait_Slice() = 0;
};

QDateTime Now();

// Waits the given seconds (fractions honoured) while handling window messages.
void Time_Pause(double seconds);

// Handles events until done() holds or timeout_seconds of clock time passed.
// Returns done() at the end.
bool Wait_Until(const std::function<bool()>& done, double timeout_seconds);

// Ends the current Wait_Slice early, so a waiting loop looks at its flag now.
void Wake_Waits();

// Runs work on a thread of its own while this thread handles its events,
// and returns when it is done; what work throws is thrown here. For work
// that waits on the disk (a sync, a long listing), which on a busy disk can
// take far longer than its computing. Off the application's thread work
// runs here. The caller keeps what work touches to itself until it is done.
void Run_Letting_Events(const std::function<void()>& work);

// Test seam: installs a clock (nullptr restores the real one). Not owned.
void Set_Clock(Clock* clock);
Clock* Current_Clock();
