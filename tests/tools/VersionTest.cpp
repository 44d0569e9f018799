#include "Version.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

// Runs the built rigel program with args; returns its standard output and exit code.
std::pair<std::string, int> RunRigel(const std::string& args) {
    const std::string command = std::string(RIGEL_CLI_PATH) + " " + args + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    if (pipe == nullptr)
        return {out, -1};
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

} // namespace

TEST(RigelProgram, AnswersVersionAndHelp) {
    const auto [version, code] = RunRigel("--version");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(version, std::string("rigel ") + RIGEL_VERSION + "\n");
    const auto [help, helpCode] = RunRigel("--help");
    EXPECT_EQ(helpCode, 0);
    EXPECT_NE(help.find("Usage: rigel"), std::string::npos);
    const auto [bad, badCode] = RunRigel("--no-such-flag");
    EXPECT_NE(badCode, 0);
}
