// The built rigel program run as a user runs it, in a scratch folder of the test's own.

#pragma once

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace rigel::test {

struct Outcome {
    int exitCode = -1;
    std::string out, err;
};

inline std::string Slurp(const std::string& path) {
    return FileBytes(path);
}

class ProgramTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_.Path(name); }
    void Write(const std::string& name, const std::string& text) const { dir_.Write(name, text); }

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

    TempFolder dir_;
};

} // namespace rigel::test
