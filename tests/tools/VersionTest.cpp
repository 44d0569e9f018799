#include "Version.h"
#include "support/ProgramTest.h"

namespace {

class RigelProgram : public rigel::test::ProgramTest {};

TEST_F(RigelProgram, AnswersVersionAndHelp) {
    const rigel::test::Outcome version = Run("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("rigel ") + RIGEL_VERSION + "\n");
    const rigel::test::Outcome help = Run("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.out, HasSubstr("Usage: rigel"));
}

} // namespace
