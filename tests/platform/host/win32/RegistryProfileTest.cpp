// The profile in the registry, under a key of the test's own that is removed afterwards.

#include "platform/host/CWinApp.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/base/win32/Windows.h"

namespace {

TEST(RegistryProfile, EntriesAndSectionsGoToTheCurrentUsersSoftwareKey) {
    const std::string key = "RigelTest" + std::to_string(std::random_device()());
    CWinApp app("survey");
    app.SetRegistryKey(key.c_str());
    const std::string path = "Software\\" + key + "\\survey\\Settings";

    EXPECT_EQ(app.GetProfileString("Settings", "Codes", "none").str(), "none");
    ASSERT_TRUE(app.WriteProfileString("Settings", "Codes", "10\n20\n")) << app.GetProfileError();
    ASSERT_TRUE(app.WriteProfileInt("Settings", "Precision", 4));
    EXPECT_EQ(app.GetProfileString("settings", "codes").str(), "10\n20\n");
    EXPECT_EQ(app.GetProfileInt("Settings", "Precision", 0), 4);

    // What the registry itself holds, and a number value as an MFC host writes one.
    char text[64] = {};
    DWORD size = sizeof text;
    ASSERT_EQ(
        RegGetValueA(HKEY_CURRENT_USER, path.c_str(), "Codes", RRF_RT_REG_SZ, nullptr, text, &size),
        ERROR_SUCCESS);
    EXPECT_STREQ(text, "10\n20\n");
    const DWORD number = 7;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), "Number", REG_DWORD, &number,
                              sizeof number),
              ERROR_SUCCESS);
    EXPECT_EQ(app.GetProfileInt("Settings", "Number", 0), 7);

    ASSERT_TRUE(app.WriteProfileString("Settings", "Codes", nullptr));
    EXPECT_EQ(app.GetProfileString("Settings", "Codes", "gone").str(), "gone");
    EXPECT_EQ(app.GetProfileInt("Settings", "Precision", 0), 4);
    ASSERT_TRUE(app.WriteProfileString("Settings", nullptr, nullptr));
    EXPECT_EQ(app.GetProfileInt("Settings", "Precision", 0), 0);
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + key).c_str()), ERROR_SUCCESS);
}

} // namespace
