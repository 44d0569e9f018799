#pragma once
// The subcommands of the rigel program: one table, one row per command. A command adds its
// options to its own CLI11 subcommand and returns the function that runs it after parsing; that
// function returns the process exit code.

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace rigel::cli {

using RunCommand = std::function<int()>;

struct Command {
    const char* name;
    const char* summary;
    RunCommand (*setup)(CLI::App& sub);
};

// Every command, in the order that --help lists them.
const std::vector<Command>& AllCommands();

} // namespace rigel::cli
