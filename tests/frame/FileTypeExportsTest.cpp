#include "frame/FileTypes.h"
#include "frame/RigelExports.h"
#include "support/TestSupport.h"

// Every row of the table is reachable both ways through the exports: its number gives its
// extension, plain and dotted, and a name with that extension (in lower case too) gives the
// number back when the row is one the reverse lookup knows.
TEST(FileTypes, EveryRowBothWays) {
    for (const rigel::FileTypeRow& row : rigel::kFileTypes) {
        SCOPED_TRACE(row.number);
        const std::string ext(row.extension);
        CString got("junk"), dotted;
        EXPECT_EQ(GetFileExtFromFileType(row.number, &got, 0), !ext.empty());
        GetFileExtFromFileType(row.number, &dotted, 1);
        EXPECT_EQ(got, ext.c_str());
        EXPECT_EQ(dotted, ext.empty() ? "" : ("." + ext).c_str());
        if (ext.empty())
            continue;
        CString name("c:\\x\\survey." + CString(ext.c_str()).MakeLower().str());
        unsigned back = 0;
        EXPECT_EQ(GetFileTypeFromFileName(&name, &back), row.derivedFromName);
        EXPECT_EQ(back, row.derivedFromName ? row.number : 9u);
    }
    for (unsigned type : {0u, 28u, 1000u}) {
        CString ext("junk");
        EXPECT_FALSE(GetFileExtFromFileType(type, &ext, 1)) << type;
        EXPECT_TRUE(ext.IsEmpty()) << type;
    }
}

// "B\\FILE" is no extension.
TEST(FileTypes, ReverseLookupOfOddNames) {
    unsigned type = 0;
    for (const char* odd : {"survey", "survey.", "C:\\a.b\\file"}) {
        CString name(odd);
        EXPECT_FALSE(GetFileTypeFromFileExt(&name, &type)) << odd;
        EXPECT_EQ(type, 9u) << odd;
    }
    EXPECT_FALSE(GetFileTypeFromFileExt(nullptr, &type));
}

// The new extension replaces the old one, a type without an extension removes it, and a chosen
// name, when given, is the one changed.
TEST(FileTypes, ReplacingTheExtension) {
    const struct {
        unsigned type;
        const char *path, *chosen, *expected;
    } cases[] = {
        {3, "C:\\data\\line.old.kof", nullptr, "C:\\data\\line.old.LFT"},
        {1, "C:\\a.b\\file", nullptr, "C:\\a.b\\file.SPW"}, // the folder keeps its dot
        {25, "/tmp/survey", nullptr, "/tmp/survey.XML"},
        {9, "dir/name.kof", nullptr, "dir/name"},
        {99, "dir/name.kof", nullptr, "dir/name"},
        {21, "ignored.txt", "/home/u/project.spw", "/home/u/project.TDT"},
    };
    for (const auto& c : cases) {
        CString path(c.path), chosen(c.chosen ? c.chosen : "");
        EXPECT_TRUE(SetFileExtFromFileType(c.type, &path, c.chosen ? &chosen : nullptr));
        EXPECT_EQ(path, c.expected) << c.type;
    }

    CString chosen("/home/u/project.spw");
    Streng name;
    name.Set("old");
    EXPECT_TRUE(SetFileExtFromFileType2(13, &name, &chosen));
    EXPECT_EQ(name.str(), "/home/u/project.LIN");
    Streng percent;
    CString odd("/tmp/100%d.kof");
    SetFileExtFromFileType2(2, &percent, &odd);
    EXPECT_EQ(percent.str(), "/tmp/100%d.KOF") << "the name is text, not a format";
}

TEST(FileTypes, FromAnArchive) {
    unsigned type = 77;
    CArchive unbound(nullptr, CArchive::load);
    EXPECT_FALSE(GetFileTypeFromArchive(&unbound, &type));
    EXPECT_EQ(type, 77u) << "left alone without a file";

    const rigel::test::TempFolder dir;
    const std::string path = dir.Path("Survey.Pxy");
    dir.Write("Survey.Pxy", "");
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    CArchive archive(&file, CArchive::load);
    EXPECT_TRUE(GetFileTypeFromArchive(&archive, &type));
    EXPECT_EQ(type, 10u);
}
