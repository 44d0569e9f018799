// The flat keyed point map against std::map with insert_or_assign, on random keys that share long
// heads, straddle the 16 bytes kept beside each key for sorting, hold 0x00 and 0xFF bytes and
// repeat often, with lookups and walks in key order between the insertions.
#include "formats/KeyedPointMap.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

namespace {

using rigel::KeyedPoint;

std::string RandomKey(std::mt19937& random) {
    static const std::string kHeads[] = {"", "A", "7101\xA7P000000", "7101\xA7P0000000000"};
    static const char kBytes[] = {'\0', '0', '1', '\xA7', '\xFF'};
    std::string key = kHeads[random() % 4];
    for (unsigned n = random() % 5; n > 0; --n)
        key += kBytes[random() % 5];
    return key;
}

TEST(KeyedPointMap, AgreesWithAnOrderedMapWhereLaterPointsReplaceEarlierOnes) {
    for (const std::size_t mergeFloor : {std::size_t{1} << 20, std::size_t{16}}) {
        std::mt19937 random(7);
        rigel::KeyedPointMap map(mergeFloor);
        std::map<std::string, KeyedPoint> expected;
        for (int step = 0; step < 6000; ++step) {
            const std::string key = RandomKey(random);
            const unsigned what = random() % 100;
            if (what < 70) {
                const KeyedPoint point{step * 1.0, -step * 1.0, 0.5, step % 2 == 0, 1e-8 * step};
                map.insert_or_assign(key, point);
                expected.insert_or_assign(key, point);
            } else if (what < 99) {
                KeyedPoint found{-1, -1, -1, false, -1};
                const auto it = expected.find(key);
                ASSERT_EQ(map.Find(key, found), it != expected.end()) << step;
                const KeyedPoint want =
                    it != expected.end() ? it->second : KeyedPoint{-1, -1, -1, false, -1};
                EXPECT_EQ(found.northing, want.northing) << step;
                EXPECT_EQ(found.tolerance, want.tolerance) << step;
                EXPECT_EQ(found.hasHeight, want.hasHeight) << step;
            } else {
                ASSERT_EQ(map.size(), expected.size()) << step;
                std::size_t i = 0;
                for (const auto& [k, point] : expected) {
                    ASSERT_EQ(map.KeyAt(i), k) << step;
                    EXPECT_EQ(map.PointAt(i++).easting, point.easting) << step;
                }
            }
        }
        map.clear();
        EXPECT_TRUE(map.empty());
        EXPECT_EQ(map.count(""), 0u);
    }
}

} // namespace
