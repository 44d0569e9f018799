// What a POSIX system adds to the atomic write: a write refused by the file size limit, and the
// permissions of a new file.

#include "platform/base/AtomicFile.h"

#include "support/TestSupport.h"
#include "support/posix/FileSizeLimit.h"

#include <cerrno>

#include <sys/stat.h>

namespace rigel {
namespace {

using test::FileBytes;
using test::FileSizeLimit;

TEST(AtomicFile, FailedWriteIsNeverCommitted) {
    test::TempFolder dir;
    const std::string target = dir.Path("big.txt");
    ASSERT_TRUE(WriteFileAtomically(target, "kept"));
    AtomicFile file;
    ASSERT_TRUE(file.Open(target));
    {
        FileSizeLimit limit(1024);
        EXPECT_FALSE(file.Write(std::string(4096, 'x')));
    }
    EXPECT_EQ(file.ErrorNumber(), EFBIG);
    EXPECT_FALSE(file.Write("more"));
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(FileBytes(target), "kept");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"big.txt"});
}

TEST(AtomicFile, NewFileModeHonoursUmask) {
    test::TempFolder dir;
    mode_t old = umask(027);
    bool written = WriteFileAtomically(dir.Path("m.txt"), "x");
    umask(old);
    ASSERT_TRUE(written);
    struct stat st {};
    ASSERT_EQ(stat(dir.Path("m.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

} // namespace
} // namespace rigel
