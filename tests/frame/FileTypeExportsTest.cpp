#include "frame/FileTypes.h"
#include "frame/RigelExports.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const char* const kExtensions[28] = {"",    "SPW", "KOF", "LFT", "ALC", "CSV", "TIT",
                                     "NYL", "NDB", "",    "PXY", "MIC", "TXT", "LIN",
                                     "DAT", "GPS", "GEO", "VER", "SPO", "PRF", "VTD",
                                     "TDT", "HDT", "UDT", "",    "XML", "",    "DXF"};

unsigned TypeOf(const char* name) {
    CString n(name);
    unsigned type = 12345;
    GetFileTypeFromFileExt(&n, &type);
    return type;
}

} // namespace

TEST(FileTypes, EveryNumberBothWays) {
    std::set<unsigned> numbers;
    for (const rigel::FileTypeRow& row : rigel::kFileTypes)
        EXPECT_TRUE(numbers.insert(row.number).second) << row.number;
    EXPECT_EQ(numbers.size(), 27u);

    for (unsigned type = 1; type <= 27; ++type) {
        CString ext("junk");
        const bool has = GetFileExtFromFileType(type, &ext, 0);
        EXPECT_EQ(ext, kExtensions[type]) << type;
        EXPECT_EQ(has, kExtensions[type][0] != '\0') << type;
        CString dotted;
        GetFileExtFromFileType(type, &dotted, 1);
        EXPECT_EQ(dotted, has ? (std::string(".") + kExtensions[type]).c_str() : "");

        if (!has)
            continue;
        // The reverse lookup, in lower case too; DXF is the one it does not know.
        const std::string lower = "c:\\x\\survey." + CString(kExtensions[type]).MakeLower().str();
        CString name(lower);
        unsigned back = 0;
        const bool found = GetFileTypeFromFileName(&name, &back);
        if (type == 27) {
            EXPECT_FALSE(found);
            EXPECT_EQ(back, 9u);
        } else {
            EXPECT_TRUE(found) << lower;
            EXPECT_EQ(back, type) << lower;
        }
    }
    for (unsigned type : {0u, 9u, 24u, 26u, 28u, 1000u}) {
        CString ext("junk");
        EXPECT_FALSE(GetFileExtFromFileType(type, &ext, 1)) << type;
        EXPECT_TRUE(ext.IsEmpty()) << type;
    }
}

TEST(FileTypes, ReverseLookupOfOddNames) {
    EXPECT_EQ(TypeOf("LINE.Kof"), 2u);
    EXPECT_EQ(TypeOf("survey"), 9u);
    EXPECT_EQ(TypeOf("survey."), 9u);
    EXPECT_EQ(TypeOf("C:\\a.b\\file"), 9u) << "B\\FILE is no extension";
    EXPECT_EQ(TypeOf("plan.dxf"), 9u);
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
    archive.Close();
    file.Close();
}
