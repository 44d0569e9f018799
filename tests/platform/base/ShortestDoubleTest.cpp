// Shortest round-trip text of doubles.

#include "platform/base/ShortestDouble.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

TEST(ShortestDouble, ExactTextOfTypicalValues) {
    EXPECT_EQ(rigel::ShortestDouble(0.0), "0");
    EXPECT_EQ(rigel::ShortestDouble(-0.0), "-0");
    EXPECT_EQ(rigel::ShortestDouble(100000.0), "100000");
    EXPECT_EQ(rigel::ShortestDouble(1.0 / 3.0), "0.3333333333333333");
    EXPECT_EQ(rigel::ShortestDouble(-0.0025), "-0.0025");
    EXPECT_EQ(rigel::ShortestDouble(1.5e-7), "1.5e-07");
    EXPECT_EQ(rigel::ShortestDouble(2e20), "2e+20");
    EXPECT_EQ(rigel::ShortestDouble(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(rigel::ShortestDouble(std::numeric_limits<double>::quiet_NaN()), "nan");
}

TEST(ShortestDouble, EveryFiniteValueReadsBackExactly) {
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<std::uint64_t> bits;
    int checked = 0;
    while (checked < 20000) {
        const std::uint64_t b = bits(random);
        double v;
        static_assert(sizeof v == sizeof b);
        std::memcpy(&v, &b, sizeof v);
        if (!std::isfinite(v))
            continue;
        // Scale a share of them into the positional range, where the text is longest.
        if (checked % 2 == 0) {
            int exponent = 0;
            v = std::ldexp(std::frexp(v, &exponent), checked % 60 - 16);
        }
        const std::string text = rigel::ShortestDouble(v);
        double back = 0.0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_EQ(result.ptr, text.data() + text.size()) << text;
        ASSERT_EQ(back, v) << text;
        ++checked;
    }
}
