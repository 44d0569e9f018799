// A CFile write refused by the file size limit of POSIX.

#include "platform/host/CFile.h"

#include "support/TestSupport.h"
#include "support/posix/FileSizeLimit.h"

namespace rigel {
namespace {

using test::FileBytes;
using test::FileSizeLimit;

TEST(CFile, FailedWriteMakesCloseThrowAndKeepsTheTarget) {
    test::TempFolder dir;
    const std::string target = dir.Path("full.txt");
    ASSERT_TRUE(WriteFileAtomically(target, "kept"));
    CFile file(target.c_str(), CFile::modeCreate | CFile::modeWrite);
    {
        FileSizeLimit limit(1024);
        std::string big(4096, 'x');
        EXPECT_THROW(file.Write(big.data(), static_cast<UINT>(big.size())), CFileException);
    }
    EXPECT_THROW(file.Close(), CFileException);
    EXPECT_EQ(FileBytes(target), "kept");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"full.txt"});
}

} // namespace
} // namespace rigel
