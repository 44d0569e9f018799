#include "platform/base/Trace.h"
#include "support/TestSupport.h"

TEST(Trace, LinesLongerThanTheBufferEndInTruncated) {
    rigel::test::TraceCapture trace;
    rigel::Trace("[%s] %s\n", "Test", std::string(2000, 'x'));
    rigel::Trace("%s", std::string(1023, 'y'));
    rigel::Trace("%s", std::string(1024, 'z'));
    WINVDS01_TRACE1("%d points\n", 12);
    rigel::SetTraceEnabled(false);
    rigel::Trace("silent");
    rigel::SetTraceEnabled(true);
    const std::vector<std::string>& lines = trace.lines;

    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].size(), 1023u);
    EXPECT_EQ(lines[0].substr(0, 7), "[Test] ");
    EXPECT_EQ(lines[0].substr(1023 - 12), " [Truncated]");
    EXPECT_EQ(lines[1], std::string(1023, 'y')) << "exactly fits: not cut";
    EXPECT_EQ(lines[2], std::string(1011, 'z') + " [Truncated]");
    EXPECT_EQ(lines[3], "12 points\n");
}
