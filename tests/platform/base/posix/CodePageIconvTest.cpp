#include "platform/base/CodePage.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace {

// glibc's converter is the independent reference for the defined bytes.
std::string IconvToUtf8(char byte) {
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    char in[1] = {byte};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    return done == static_cast<std::size_t>(-1) ? std::string("?") : std::string(out, outPtr);
}

TEST(CodePage, EveryByteMatchesIconvAndComesBack) {
    for (int b = 1; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const std::string utf8 = rigel::Utf8FromWindows1252(std::string(1, byte));
        EXPECT_EQ(utf8, IconvToUtf8(byte)) << "byte " << b;
        if (utf8 != "?") {
            EXPECT_EQ(rigel::Windows1252FromUtf8(utf8), std::string(1, byte)) << "byte " << b;
        }
    }
    EXPECT_EQ(rigel::Utf8FromWindows1252("K1\xA7P7"), "K1\xC2\xA7P7");
}

} // namespace
