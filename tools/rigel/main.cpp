// rigel: the command-line host of the track-survey library.

#include "Commands.h"
#include "Version.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <map>

int main(int argc, char** argv) {
    CLI::App app{"rigel: moves railway track survey data between a track design application and "
                 "files"};
    app.name("rigel");
    app.set_version_flag("--version", std::string("rigel ") + RIGEL_VERSION);
    app.require_subcommand(0, 1);

    std::map<CLI::App*, rigel::cli::RunCommand> runners;
    for (const rigel::cli::Command& command : rigel::cli::AllCommands()) {
        CLI::App* sub = app.add_subcommand(command.name, command.summary);
        runners[sub] = command.setup(*sub);
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    for (const auto& [sub, run] : runners) {
        if (sub->parsed()) {
            try {
                return run();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "rigel %s: %s\n", sub->get_name().c_str(), e.what());
                return 1;
            }
        }
    }
    std::fputs(app.help().c_str(), stdout);
    return 0;
}
