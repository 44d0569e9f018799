#include "platform/host/CWinApp.h"
#include "platform/host/IniFile.h"

#include "support/TestSupport.h"

namespace {

using rigel::test::DataPath;
using rigel::test::FileBytes;
using rigel::test::TempFolder;

class CWinAppProfile : public ::testing::Test {
protected:
    CWinAppProfile() { app.SetProfilePath(dir.Path("profile.ini")); }
    TempFolder dir;
    CWinApp app;
};

TEST_F(CWinAppProfile, ValuesRoundTripExactly) {
    const std::string values[] = {"12\n34\n",
                                  "C:\\survey\\n1",
                                  "  two leading",
                                  "trailing  ",
                                  " ",
                                  "",
                                  "tab\there\r\n",
                                  "\\",
                                  "a = b ; c",
                                  "\xA7 \xE6\xF8\xE5 \xFF"};
    int i = 0;
    for (const std::string& v : values) {
        const std::string entry = "Entry" + std::to_string(i++);
        ASSERT_TRUE(app.WriteProfileString("Settings", entry.c_str(), v.c_str()));
        EXPECT_EQ(app.GetProfileString("Settings", entry.c_str(), "default").str(), v);
    }
    CWinApp reader; // a second object on the same file sees the same values
    reader.SetProfilePath(app.GetProfilePath());
    EXPECT_EQ(reader.GetProfileString("settings", "ENTRY0").str(), "12\n34\n");
}

TEST_F(CWinAppProfile, FileTextIsEscapedAndOtherLinesKeepTheirBytes) {
    ASSERT_TRUE(
        std::filesystem::copy_file(DataPath("profile/hand_written.ini"), app.GetProfilePath()));
    EXPECT_EQ(app.GetProfileString("OTHER", "keep").str(), "this");
    ASSERT_TRUE(app.WriteProfileString("Settings", "Codes", "12\n34\n"));
    ASSERT_TRUE(app.WriteProfileString("SETTINGS", "Path", " C:\\a b "));
    ASSERT_TRUE(app.WriteProfileString("New", "Precision", "4"));
    EXPECT_EQ(FileBytes(app.GetProfilePath()),
              FileBytes(DataPath("profile/hand_written_after_three_writes.ini")));
}

TEST_F(CWinAppProfile, MissingEntriesFileAndNumbers) {
    EXPECT_EQ(app.GetProfileString("Settings", "Codes", "dflt"), "dflt");
    EXPECT_EQ(app.GetProfileInt("Settings", "Precision", 3), 3);
    ASSERT_TRUE(
        rigel::WriteFileAtomically(app.GetProfilePath(), "[S]\na=42abc\nb=  -7\nc=abc\nd=\n"));
    EXPECT_EQ(app.GetProfileInt("S", "a", 3), 42);
    EXPECT_EQ(app.GetProfileInt("S", "b", 3), -7);
    EXPECT_EQ(app.GetProfileInt("S", "c", 3), 0);
    EXPECT_EQ(app.GetProfileInt("S", "d", 3), 3);
    EXPECT_EQ(app.GetProfileInt("S", "e", 3), 3);
    ASSERT_TRUE(app.WriteProfileInt("S", "e", -12));
    EXPECT_EQ(app.GetProfileInt("S", "E", 3), -12);
}

TEST_F(CWinAppProfile, RemovingEntriesAndSections) {
    ASSERT_TRUE(rigel::WriteFileAtomically(app.GetProfilePath(), "[A]\nx=1\ny=2\n[B]\nz=3\n"));
    ASSERT_TRUE(app.WriteProfileString("a", "X", nullptr));
    ASSERT_TRUE(app.WriteProfileString("B", nullptr, nullptr));
    ASSERT_TRUE(app.WriteProfileString("B", "gone", nullptr)); // nothing to remove
    EXPECT_EQ(FileBytes(app.GetProfilePath()), "[A]\ny=2\n");
}

TEST_F(CWinAppProfile, FailuresLeaveTheFileAlone) {
    ASSERT_TRUE(app.WriteProfileString("S", "a", "1"));
    EXPECT_FALSE(app.WriteProfileString("S", "b=c", "1"));
    EXPECT_FALSE(app.WriteProfileString("S", " pad", "1"));
    EXPECT_FALSE(app.WriteProfileString("Two\nLines", "a", "1"));
    EXPECT_FALSE(app.GetProfileError().empty());
    EXPECT_EQ(FileBytes(app.GetProfilePath()), "[S]\na=1\n");

    CWinApp unset;
    EXPECT_FALSE(unset.WriteProfileString("S", "a", "1"));
    EXPECT_EQ(unset.GetProfileString("S", "a", "d"), "d");

    // A profile that exists but cannot be read (here a folder) reads as empty and is not replaced.
    CWinApp blocked;
    blocked.SetProfilePath(dir.Path(""));
    EXPECT_EQ(blocked.GetProfileInt("S", "a", 9), 9);
    EXPECT_FALSE(blocked.WriteProfileString("S", "a", "1"));

    // A folder that cannot hold files (even for root: its parent is a plain file), and a missing
    // one.
    for (const char* path : {"profile.ini/sub.ini", "missing/sub.ini"}) {
        CWinApp nowhere;
        nowhere.SetProfilePath(dir.Path(path));
        EXPECT_FALSE(nowhere.WriteProfileString("S", "a", "1")) << path;
        EXPECT_THAT(nowhere.GetProfileError(), HasSubstr("sub.ini"));
    }
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"profile.ini"});
}

TEST(AfxGetApp, ReturnsTheRegisteredApplicationOnly) {
    CWinApp* before = AfxGetApp();
    {
        CWinApp host("Host");
        AfxSetApp(&host);
        CWinApp library; // built later, not registered
        EXPECT_EQ(AfxGetApp(), &host);
    }
    EXPECT_EQ(AfxGetApp(), nullptr); // the registered object unregistered itself
    AfxSetApp(before);
}

TEST(IniFile, DuplicateSectionsAndUnknownEscapes) {
    rigel::IniFile ini = rigel::IniFile::Parse("x=outside\n[S]\na=1\n[s]\nb=\\q\\\n[S]\na=2\n");
    EXPECT_FALSE(ini.Get("S", "x"));
    EXPECT_EQ(ini.Get("S", "a"), "1"); // the first one wins
    EXPECT_EQ(ini.Get("S", "b"), "\\q\\");
    ASSERT_TRUE(ini.Set("S", "b", "new"));
    ASSERT_TRUE(ini.Set("S", "c", "3"));
    EXPECT_EQ(ini.Text(), "x=outside\n[S]\na=1\nc=3\n[s]\nb=new\n[S]\na=2\n");
}

} // namespace
