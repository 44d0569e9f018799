// Without a registry, a profile moved to one reads nothing and says why it cannot be written.

#include "platform/host/CWinApp.h"

#include <gtest/gtest.h>

namespace {

TEST(RegistryProfile, WithoutARegistryReadsDefaultsAndRefusesWrites) {
    CWinApp app("survey");
    app.SetRegistryKey("Rigel");
    EXPECT_FALSE(app.WriteProfileString("Settings", "Codes", "10\n"));
    EXPECT_NE(app.GetProfileError().find("no registry"), std::string::npos);
    EXPECT_EQ(app.GetProfileString("Settings", "Codes", "none").str(), "none");
}

} // namespace
