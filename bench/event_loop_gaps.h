#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <functional>

namespace verdan::bench {

// Watches the event loop while work runs on it: a timer without interval fires at every turn of the loop,
// and the longest time between two firings is the longest the program stood frozen for the user. Work
// that keeps the window responsive shows gaps of a few milliseconds; a stall shows as one long gap.
//
//     EventLoopGaps gaps;
//     gaps.Start();
//     window.StartSomething();
//     gaps.RunUntil([&] { return window.Done(); }, 60000);
//     std::printf("longest gap %.1f ms\n", gaps.LongestMs());
//
// On a machine shared with other work the wall-clock gaps include the time others had the processor;
// LongestCpuMs is the most processor time this thread spent between two turns, which others do not
// inflate.
class EventLoopGaps : public QObject {
public:
    EventLoopGaps() {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Turn(); });
    }

    // Starts watching anew: the time from now to the first turn counts as a gap too.
    void Start() {
        longest_ = 0;
        longestCpu_ = 0;
        turns_ = 0;
        cpuSince_ = ThreadCpuNsecs();
        since_.start();
        timer_.start();
    }
    void Stop() {
        Turn();
        timer_.stop();
    }

    // Runs the event loop until `done` says so or `timeoutMs` passed; false on the timeout. The loop is
    // turned as a running program turns it, so work scheduled on it runs in its own slices.
    bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        }
        return true;
    }

    // The longest time between two turns of the loop since Start, in milliseconds.
    double LongestMs() const { return static_cast<double>(longest_) / 1e6; }
    // The most processor time the thread spent between two turns since Start, in milliseconds.
    double LongestCpuMs() const { return static_cast<double>(longestCpu_) / 1e6; }
    // How many times the loop turned since Start.
    long Turns() const { return turns_; }

private:
    void Turn() {
        if (!since_.isValid())
            return;
        longest_ = std::max(longest_, since_.nsecsElapsed());
        const qint64 cpu = ThreadCpuNsecs();
        longestCpu_ = std::max(longestCpu_, cpu - cpuSince_);
        cpuSince_ = cpu;
        ++turns_;
        since_.restart();
    }

    static qint64 ThreadCpuNsecs() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
    }

    QTimer timer_;
    QElapsedTimer since_;
    qint64 longest_ = 0;
    qint64 longestCpu_ = 0;
    qint64 cpuSince_ = 0;
    long turns_ = 0;
};

} // namespace verdan::bench
