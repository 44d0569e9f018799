// The built rigel program run as a user runs it, in a scratch folder of the test's own.

#pragma once

#include "support/RunProgram.h"
#include "support/TestSupport.h"

#include <utility>

namespace rigel::test {

struct Outcome {
    int exitCode = -1;
    std::string out, err;
};

class ProgramTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_.Path(name); }
    void Write(const std::string& name, const std::string& text) const { dir_.Write(name, text); }

    // Runs `rigel ARGUMENTS` (split as ShellWords splits them) with INPUT on its standard input
    // and VARIABLES added to its environment.
    Outcome Run(const std::string& arguments, const std::string& input = "",
                const std::vector<std::pair<std::string, std::string>>& variables = {}) const {
        Write("in", input);
        Outcome run;
        run.exitCode = RunProgram(RIGEL_CLI_PATH, ShellWords(arguments), variables, Path("in"),
                                  Path("out"), Path("err"));
        run.out = TextOf(FileBytes(Path("out")));
        run.err = TextOf(FileBytes(Path("err")));
        return run;
    }

    // `rigel ARGUMENTS` with a profile file of the test's own.
    Outcome Rigel(const std::string& arguments, const std::string& input = "",
                  const std::string& profile = "profile.ini") const {
        return Run(arguments, input, {{"RIGEL_PROFILE", Path(profile)}});
    }

    TempFolder dir_;

private:
    // A program's text output with the line ends of this system made "\n".
    static std::string TextOf(std::string bytes) {
#ifdef _WIN32
        std::string text;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
                text += bytes[i];
        return text;
#else
        return bytes;
#endif
    }
};

} // namespace rigel::test
