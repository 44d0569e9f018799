// The built rigel program run as a user runs it, in a scratch folder of the test's own.

#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace rigel::test {

struct Outcome {
    int exitCode = -1;
    std::string out, err;
};

inline std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rigel-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }

    // Runs `rigel ARGUMENTS` with INPUT on its standard input; ENVIRONMENT (assignments such as
    // "NAME='value'") goes before the program on the shell's command line.
    Outcome Run(const std::string& arguments, const std::string& input = "",
                const std::string& environment = "") const {
        Write("in", input);
        const std::string command = environment + " '" + RIGEL_CLI_PATH + "' " + arguments + " <'" +
                                    Path("in") + "' >'" + Path("out") + "' 2>'" + Path("err") + "'";
        const int status = std::system(command.c_str());
        Outcome run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = Slurp(Path("out"));
        run.err = Slurp(Path("err"));
        return run;
    }

    std::filesystem::path dir_;
};

} // namespace rigel::test
