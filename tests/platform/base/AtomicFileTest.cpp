#include "platform/base/AtomicFile.h"

#include "support/TestSupport.h"

#include <cerrno>

namespace rigel {
namespace {

using test::FileBytes;

// Until Commit the target keeps its previous bytes, and an abort or a destruction leaves it so;
// either way no temporary file stays behind.
TEST(AtomicFile, OnlyCommitReplacesTheTarget) {
    test::TempFolder dir;
    const std::string target = dir.Path("survey.kof");
    ASSERT_TRUE(WriteFileAtomically(target, "old\n"));
    for (const bool abort : {true, false}) {
        AtomicFile file;
        ASSERT_TRUE(file.Open(target));
        ASSERT_TRUE(file.Write("half written"));
        if (abort)
            file.Abort();
    }
    EXPECT_EQ(FileBytes(target), "old\n");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"survey.kof"});

    AtomicFile file;
    ASSERT_TRUE(file.Open(target));
    EXPECT_EQ(dir.Entries().size(), 2u); // the temporary file sits next to the target
    ASSERT_TRUE(file.Write("new contents\n"));
    EXPECT_EQ(FileBytes(target), "old\n");
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(FileBytes(target), "new contents\n");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"survey.kof"});
}

TEST(AtomicFile, MissingOrBlockedFolderFailsCleanly) {
    test::TempFolder dir;
    std::string reason;
    errno = 0;
    EXPECT_FALSE(WriteFileAtomically(dir.Path("missing/out.txt"), "x", &reason));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_THAT(reason, HasSubstr("missing/out.txt"));

    ASSERT_TRUE(WriteFileAtomically(dir.Path("plain"), "a file, not a folder"));
    AtomicFile file;
    EXPECT_FALSE(file.Open(dir.Path("plain/out.txt")));
    EXPECT_EQ(file.ErrorNumber(), ENOTDIR);
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"plain"});
}

TEST(ReadWholeFile, BytesRoundTripAndFailuresCarryTheReason) {
    test::TempFolder dir;
    const std::string bytes("a\0b\xff\r\n", 6);
    ASSERT_TRUE(WriteFileAtomically(dir.Path("b.bin"), bytes));
    std::string out = "stale";
    ASSERT_TRUE(ReadWholeFile(dir.Path("b.bin"), out));
    EXPECT_EQ(out, bytes);

    out = "stale";
    std::string reason;
    EXPECT_FALSE(ReadWholeFile(dir.Path("nope"), out, &reason));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_TRUE(out.empty());
    EXPECT_THAT(reason, HasSubstr("nope"));
    EXPECT_FALSE(ReadWholeFile(dir.Path(""), out, &reason)); // the folder itself
    EXPECT_EQ(errno, EISDIR);
}

} // namespace
} // namespace rigel
