// The keyed point map against std::map with insert_or_assign, on random codes and names whose
// keys share long heads, straddle the 8-byte words of the key sort, hold 0x00, 0xFF and the mark
// "§" itself (so that different code and name pairs make the same key) and repeat often: with
// lookups (which index the map) and without, and with repeats dropped in passing or only at the
// end.
#include "formats/KeyedPointMap.h"

#include "points/CvSporopPointList.h"
#include "support/TestSupport.h"

#include <map>
#include <random>

namespace {

using rigel::KeyedPoint;

std::string RandomText(std::mt19937& random) {
    static const std::string kHeads[] = {"", "7101", "7101\xA7P000000", "P0000000000000"};
    static const char kBytes[] = {'\0', '0', '1', '\xA7', '\xFF'};
    std::string text = kHeads[random() % 4];
    for (unsigned n = random() % 4; n > 0; --n)
        text += kBytes[random() % 5];
    return text;
}

// The map's points against the expected keys: key order, the key split at its first mark, and
// the coordinates of the last point given for each key.
void ExpectPoints(const CvSporopPointList& list,
                  const std::map<std::string, KeyedPoint>& expected) {
    ASSERT_EQ(static_cast<std::size_t>(list.Antall()), expected.size());
    int i = 0;
    for (const auto& [key, point] : expected) {
        const CvSporopPoint& p = *list.Punkt(i++);
        const std::size_t mark = key.find('\xA7');
        EXPECT_EQ(p.code.view(), key.substr(0, mark)) << i;
        EXPECT_EQ(p.description.view(),
                  mark == std::string::npos || mark == 0 ? "" : key.substr(mark + 1))
            << i;
        EXPECT_EQ(p.x(), point.northing) << i;
        EXPECT_EQ(p.z(), point.hasHeight ? point.height : 0.0) << i;
    }
}

void Agree(std::size_t mergeFloor, bool lookups) {
    std::mt19937 random(7);
    rigel::KeyedPointMap map(mergeFloor);
    std::map<std::string, KeyedPoint> expected;
    for (int step = 0; step < 8000; ++step) {
        const std::string code = RandomText(random), name = RandomText(random);
        const bool hasName = random() % 4 != 0;
        const std::string key = hasName ? code + '\xA7' + name : code;
        const unsigned what = random() % 1000;
        if (what < 700) {
            const KeyedPoint point{step * 1.0, -step * 1.0, 0.5 + step, step % 2 == 0};
            map.insert_or_assign(code, hasName, name, point);
            expected.insert_or_assign(key, point);
        } else if (what < 995 && lookups && step >= 2000) { // after repeats piled up
            KeyedPoint found{-1, -1, -1, false, -1};
            const auto it = expected.find(key);
            ASSERT_EQ(map.Find(key, found), it != expected.end()) << step;
            const KeyedPoint want =
                it != expected.end() ? it->second : KeyedPoint{-1, -1, -1, false, -1};
            EXPECT_EQ(found.easting, want.easting) << step;
            EXPECT_EQ(found.hasHeight, want.hasHeight) << step;
            EXPECT_EQ(found.tolerance, it != expected.end() ? 1e-8 : -1) << step;
        } else if (what >= 995) {
            CvSporopPointList copy(1);
            map.CopyTo(copy);
            ExpectPoints(copy, expected);
        }
    }
    ASSERT_GT(expected.size(), 1000u);
    CvSporopPointList taken(1);
    map.TakePoints(taken);
    ExpectPoints(taken, expected);
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(map.count(""), 0u);
}

TEST(KeyedPointMap, AgreesWithAnOrderedMapWhereLaterPointsReplaceEarlierOnes) {
    for (const bool lookups : {false, true})
        for (const std::size_t mergeFloor : {std::size_t{1} << 20, std::size_t{16}})
            Agree(mergeFloor, lookups);
}

} // namespace
