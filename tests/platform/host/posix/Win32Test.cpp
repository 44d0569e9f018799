#include "platform/host/Win32.h"

#include "support/TestSupport.h"

#include <chrono>
#include <cstring>
#include <ctime>

namespace {

TEST(GetUserNameA, WindowsBufferRules) {
    EXPECT_EQ(GetUserNameA(nullptr, nullptr), FALSE);
    DWORD size = 0;
    EXPECT_EQ(GetUserNameA(nullptr, &size), FALSE);
    ASSERT_GT(size, 1u); // the length including the NUL
    const DWORD needed = size;

    std::string buffer(needed + 4, '#');
    size = needed - 1;
    EXPECT_EQ(GetUserNameA(buffer.data(), &size), FALSE);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(buffer, std::string(needed + 4, '#')); // nothing copied

    size = static_cast<DWORD>(buffer.size());
    ASSERT_EQ(GetUserNameA(buffer.data(), &size), TRUE);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(std::strlen(buffer.c_str()) + 1, needed);
    EXPECT_EQ(buffer[needed], '#');
}

int SecondOfDay(const SYSTEMTIME& t) {
    return (t.wHour * 60 + t.wMinute) * 60 + t.wSecond;
}

TEST(SystemTime, UtcAndLocalAgreeWithTheClock) {
    const char* oldTz = std::getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "RIG-02:30", 1); // a zone 2 h 30 min east of UTC
    tzset();
    SYSTEMTIME utc{}, local{};
    GetSystemTime(&utc);
    GetLocalTime(&local);
    const auto secs = std::chrono::duration_cast<std::chrono::seconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
    if (oldTz)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();

    const int day = 86400;
    auto near = [&](int a, int b) { return ((a - b) % day + day) % day <= 2; };
    EXPECT_TRUE(near(static_cast<int>(secs % day), SecondOfDay(utc))) << SecondOfDay(utc);
    EXPECT_TRUE(near(SecondOfDay(local), (SecondOfDay(utc) + 9000) % day));
    EXPECT_EQ(utc.wDayOfWeek, (secs / day + 4) % 7); // 1 January 1970 was a Thursday
}

TEST(OutputDebugStringA, GoesToTheSinkEvenWithTheSwitchOff) {
    rigel::test::TraceCapture trace;
    rigel::SetTraceEnabled(false);
    OutputDebugStringA("[Test] line\n");
    OutputDebugStringA(nullptr);
    rigel::SetTraceEnabled(true);
    EXPECT_EQ(trace.lines, std::vector<std::string>{"[Test] line\n"});
}

} // namespace
