#include "platform/base/CompactText.h"

#include "support/TestSupport.h"

namespace rigel {
namespace {

// Every length around the in-place limit, bytes of every value (NUL included) and assignments
// between the two forms, against std::string.
TEST(CompactText, HoldsWhatAStringHoldsAcrossTheInPlaceLimit) {
    std::vector<std::string> texts;
    for (std::size_t n : {0, 1, 14, 15, 16, 17, 300}) {
        std::string t;
        for (std::size_t i = 0; i < n; ++i)
            t += static_cast<char>((i * 37 + n) % 256);
        texts.push_back(t);
    }
    for (const std::string& a : texts) {
        CompactText text(a);
        EXPECT_EQ(text.view(), a);
        EXPECT_EQ(text.size(), a.size());
        EXPECT_EQ(text.c_str()[a.size()], '\0');
        for (const std::string& b : texts) {
            CompactText other(text);
            other = b;
            EXPECT_EQ(other.view(), b);
            EXPECT_EQ(text.view(), a);
            EXPECT_EQ(other == text, a == b);
            EXPECT_EQ((other <=> text) < 0, b < a);
            CompactText moved(std::move(other));
            EXPECT_EQ(moved.view(), b);
            EXPECT_TRUE(other.empty());
            other = std::move(moved);
            EXPECT_EQ(other.view(), b);
        }
        // A text assigned a piece of itself.
        text = text.view().substr(1 % (a.size() + 1));
        EXPECT_EQ(text.view(), std::string_view(a).substr(1 % (a.size() + 1)));
        text.clear();
        EXPECT_TRUE(text.empty());
        EXPECT_STREQ(text.c_str(), "");
    }
}

} // namespace
} // namespace rigel
