#include "points/CPerfTimer.h"

#include "platform/host/Win32.h"

#include <mutex>

namespace {

std::int64_t gFrequency = 1;
std::int64_t gOffset = 0;
std::once_flag gCalibrated;

} // namespace

std::int64_t CPerfTimer::Reading() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

CPerfTimer::CPerfTimer(bool startNow) {
    std::call_once(gCalibrated, [this] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        gFrequency = frequency.QuadPart == 0 ? 1 : frequency.QuadPart;
        // The overhead of one Start/Stop pair, measured with no offset applied yet.
        gOffset = 0;
        value_ = 0;
        Start(false);
        Stop();
        gOffset = value_;
    });
    value_ = 0;
    if (startNow)
        Start(false);
}

CPerfTimer::CPerfTimer(const CPerfTimer& other) {
    other.Lock();
    value_ = other.value_;
    other.Unlock();
}

CPerfTimer& CPerfTimer::operator=(const CPerfTimer& other) {
    if (this == &other)
        return *this;
    Lock();
    other.Lock();
    value_ = other.value_;
    other.Unlock();
    Unlock();
    return *this;
}

void CPerfTimer::Start(bool reset) {
    const std::int64_t reading = Reading();
    Lock();
    if (!reset && value_ < 0)
        value_ += reading;
    else
        value_ = reading;
    Unlock();
}

void CPerfTimer::Stop() {
    Lock();
    if (value_ > 0) {
        const std::int64_t stopped = value_ - Reading();
        value_ = stopped < gOffset ? stopped - gOffset : 0;
    }
    Unlock();
}

double CPerfTimer::ElapsedMilliseconds() const {
    CPerfTimer copy(*this);
    copy.Stop();
    return static_cast<double>(-copy.value_) * 1000.0 / static_cast<double>(gFrequency);
}

std::int64_t CPerfTimer::Frequency() {
    return gFrequency;
}

std::int64_t CPerfTimer::CalibrationOffset() {
    return gOffset;
}
