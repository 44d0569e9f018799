#include "platform/base/Trace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Trace, LinesLongerThanTheBufferEndInTruncated) {
    std::vector<std::string> lines;
    rigel::TraceSink old = rigel::SetTraceSink([&](std::string_view l) { lines.emplace_back(l); });
    rigel::Trace("[%s] %s\n", "Test", std::string(2000, 'x'));
    rigel::Trace("%s", std::string(1023, 'y'));
    rigel::Trace("%s", std::string(1024, 'z'));
    WINVDS01_TRACE1("%d points\n", 12);
    rigel::SetTraceEnabled(false);
    rigel::Trace("silent");
    rigel::SetTraceEnabled(true);
    rigel::SetTraceSink(old);

    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].size(), 1023u);
    EXPECT_EQ(lines[0].substr(0, 7), "[Test] ");
    EXPECT_EQ(lines[0].substr(1023 - 12), " [Truncated]");
    EXPECT_EQ(lines[1], std::string(1023, 'y')) << "exactly fits: not cut";
    EXPECT_EQ(lines[2], std::string(1011, 'z') + " [Truncated]");
    EXPECT_EQ(lines[3], "12 points\n");
}
