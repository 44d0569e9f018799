#pragma once
// Elapsed wall time from the performance counter, for the analysis traces.
//
// The stored counter value encodes the state: positive while running (the reading at start),
// zero or negative when stopped (minus the elapsed ticks, less the measured overhead of a
// Start/Stop pair).

#include <cstdint>

class CPerfTimer {
public:
    explicit CPerfTimer(bool startNow = false);
    CPerfTimer(const CPerfTimer& other);
    CPerfTimer& operator=(const CPerfTimer& other);
    virtual ~CPerfTimer() = default;
    virtual void Lock() const {}
    virtual void Unlock() const {}

    // Starts; without reset a stopped timer resumes (its elapsed time is kept).
    void Start(bool reset = false);
    // Stops a running timer; a stopped one is left alone.
    void Stop();
    // Elapsed milliseconds; the timer itself keeps running.
    double ElapsedMilliseconds() const;

    static std::int64_t Frequency();
    static std::int64_t CalibrationOffset();

private:
    static std::int64_t Reading();
    std::int64_t value_ = 0;
};
