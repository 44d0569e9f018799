#include "platform/host/CFile.h"

#include "support/TestSupport.h"

#include <cerrno>

namespace rigel {
namespace {

using test::FileBytes;

TEST(CFile, CreateReplacesTheTargetOnlyAtClose) {
    test::TempFolder dir;
    const std::string target = dir.Path("out.tdt");
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    CFile file;
    ASSERT_TRUE(file.Open(target.c_str(), CFile::modeCreate | CFile::modeWrite));
    file.Write("new!", 4);
    EXPECT_EQ(file.GetLength(), 4u);
    EXPECT_EQ(FileBytes(target), "old");
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(FileBytes(target), "new!");

    for (bool useAbort : {true, false}) {
        CFile other;
        ASSERT_TRUE(other.Open(target.c_str(), CFile::modeCreate | CFile::modeWrite));
        other.Write("discarded", 9);
        if (useAbort)
            other.Abort();
    }
    EXPECT_EQ(FileBytes(target), "new!");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.tdt"});
}

TEST(CFile, NoTruncateKeepsThePreviousContents) {
    test::TempFolder dir;
    const std::string target = dir.Path("p.txt");
    ASSERT_TRUE(WriteFileAtomically(target, "abcdef"));
    CFile file(target.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    file.Write("XY", 2);
    char rest[8] = {};
    EXPECT_EQ(file.Read(rest, sizeof rest), 4u);
    EXPECT_EQ(std::string(rest), "cdef");
    file.Close();
    EXPECT_EQ(FileBytes(target), "XYcdef");
}

TEST(CFile, ReadNamesAndErrors) {
    test::TempFolder dir;
    const std::string path = dir.Path("Track.KOF");
    ASSERT_TRUE(WriteFileAtomically(path, "0123456789"));
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
    EXPECT_EQ(file.GetFileName(), "Track.KOF");
    EXPECT_EQ(file.GetLength(), 10u);
    char buf[16] = {};
    EXPECT_EQ(file.Read(buf, 4), 4u);
    EXPECT_EQ(file.Read(buf, 16), 6u);
    EXPECT_EQ(file.Read(buf, 16), 0u);
    file.SeekToBegin();
    EXPECT_EQ(file.Read(buf, 3), 3u);
    EXPECT_EQ(std::string(buf, 3), "012");
    EXPECT_THROW(file.Write("x", 1), CFileException);

    CFileException e;
    CFile missing;
    EXPECT_FALSE(missing.Open(dir.Path("none.kof").c_str(), CFile::modeRead, &e));
    EXPECT_EQ(e.m_lOsError, ENOENT);
    EXPECT_EQ(e.m_strFileName, dir.Path("none.kof").c_str());
    EXPECT_FALSE(missing.Open(dir.Path("").c_str(), CFile::modeRead, &e)); // a folder
    EXPECT_EQ(e.m_lOsError, EISDIR);
    EXPECT_THROW(missing.Read(buf, 1), CFileException);
    EXPECT_THROW(CFile(dir.Path("none.kof").c_str(), CFile::modeRead), CFileException);
}

} // namespace
} // namespace rigel
