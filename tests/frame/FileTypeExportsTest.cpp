#include "frame/FileTypes.h"
#include "frame/RigelExports.h"
#include "support/TestSupport.h"

namespace {

unsigned TypeOf(const char* name) {
    CString n(name);
    unsigned type = 12345;
    GetFileTypeFromFileExt(&n, &type);
    return type;
}

} // namespace

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

TEST(FileTypes, ReverseLookupOfOddNames) {
    EXPECT_EQ(TypeOf("survey"), 9u);
    EXPECT_EQ(TypeOf("survey."), 9u);
    EXPECT_EQ(TypeOf("C:\\a.b\\file"), 9u) << "B\\FILE is no extension";
    CString name("x.xml");
    unsigned type = 0;
    EXPECT_TRUE(GetFileTypeFromFileExt(&name, &type));
    EXPECT_EQ(type, 25u);
    EXPECT_FALSE(GetFileTypeFromFileExt(nullptr, &type));
}

TEST(FileTypes, ReplacingTheExtension) {
    CString path("C:\\data\\line.old.kof");
    EXPECT_TRUE(SetFileExtFromFileType(3, &path, nullptr));
    EXPECT_EQ(path, "C:\\data\\line.old.LFT");

    CString dotted("C:\\a.b\\file");
    SetFileExtFromFileType(1, &dotted, nullptr);
    EXPECT_EQ(dotted, "C:\\a.b\\file.SPW") << "the folder keeps its dot";

    CString bare("/tmp/survey");
    SetFileExtFromFileType(25, &bare, nullptr);
    EXPECT_EQ(bare, "/tmp/survey.XML");

    for (unsigned none : {9u, 24u, 26u, 0u, 99u}) {
        CString p("dir/name.kof");
        EXPECT_TRUE(SetFileExtFromFileType(none, &p, nullptr));
        EXPECT_EQ(p, "dir/name") << none;
    }

    CString target("ignored.txt");
    CString chosen("/home/u/project.spw");
    SetFileExtFromFileType(21, &target, &chosen);
    EXPECT_EQ(target, "/home/u/project.TDT");

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
