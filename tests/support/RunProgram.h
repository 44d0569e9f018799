#pragma once
// Programs started from a test without a shell between, so that the same test runs on POSIX and
// on Windows.

#include <string>
#include <utility>
#include <vector>

namespace rigel::test {

// The words of a command line: blanks separate, 'single quotes' keep everything (paths with
// blanks or backslashes). No other character is special.
std::vector<std::string> ShellWords(const std::string& line);

// Runs program (a path, or a name looked up in PATH) with arguments (no shell between), its
// standard input from the file input and its output and errors into the files output and errors,
// with variables added to its environment. The exit code, or -1 when it could not be started or did
// not exit.
int RunProgram(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::pair<std::string, std::string>>& variables,
               const std::string& input, const std::string& output, const std::string& errors);

} // namespace rigel::test
