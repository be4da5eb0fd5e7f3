#include "Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QList>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <exception>
#include <thread>

namespace {

QList<QPointer<QEventLoop>> wait_loops;

// Runs an event loop for at most milliseconds, ended early by Wake_Waits.
void Run_Wait_Loop(int milliseconds)
{
    if (!QCoreApplication::instance())
        return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(milliseconds);
    wait_loops << QPointer<QEventLoop>(&loop);
    loop.exec();
    wait_loops.removeAll(QPointer<QEventLoop>(&loop));
}

class Real_Clock : public Clock {
public:
    QDateTime Now() override { return QDateTime::currentDateTime(); }

    void Pause(double seconds) override
    {
        if (seconds <= 0 || !QCoreApplication::instance())
            return;
        // Measured on a monotonic timer: a pause across midnight or a clock change still ends.
        QElapsedTimer elapsed;
        elapsed.start();
        const qint64 total = qint64(seconds * 1000.0);
        while (elapsed.elapsed() < total) {
            QEventLoop loop;
            QTimer::singleShot(int(qMin<qint64>(total - elapsed.elapsed(), 100)), &loop, &QEventLoop::quit);
            loop.exec();
        }
    }

    // Short, so a wait whose condition changes without Wake_Waits (a finished
    // process) still ends soon after.
    void Wait_Slice() override { Run_Wait_Loop(100); }
};

Real_Clock real_clock;
Clock* current_clock = nullptr;

} // namespace

Clock* Current_Clock()
{
    return current_clock ? current_clock : &real_clock;
}

void Set_Clock(Clock* clock)
{
    current_clock = clock;
}

QDateTime Now()
{
    return Current_Clock()->Now();
}

void Time_Pause(double seconds)
{
    Current_Clock()->Pause(seconds);
}

bool Wait_Until(const std::function<bool()>& done, double timeout_seconds)
{
    const QDateTime deadline = Now().addMSecs(qint64(timeout_seconds * 1000.0));
    while (!done()) {
        if (Now() >= deadline)
            return done();
        Current_Clock()->Wait_Slice();
    }
    return true;
}

void Wake_Waits()
{
    for (const QPointer<QEventLoop>& loop : wait_loops)
        if (loop)
            loop->quit();
}

void Run_Letting_Events(const std::function<void()>& work)
{
    const QCoreApplication* application = QCoreApplication::instance();
    if (!application || application->thread() != QThread::currentThread()) {
        work();
        return;
    }
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    // Ends with the work, or earlier when the application quits.
    loop.exec();
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}
