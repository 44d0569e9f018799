// rigel: the command-line host of the track-survey library.

#include "Commands.h"
#include "Messages.h"
#include "Version.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <map>
#include <string>

int main(int argc, char** argv) {
    CLI::App app{"rigel: moves railway track survey data between a track design application and "
                 "files"};
    app.name("rigel");
    app.set_version_flag("--version", std::string("rigel ") + RIGEL_VERSION);
    app.require_subcommand(0, 1);
    // Options are --name only: on Windows too, a path such as /data/survey.kof is a file.
    app.allow_windows_style_options(false);

    std::map<CLI::App*, rigel::cli::RunCommand> runners;
    for (const rigel::cli::Command& command : rigel::cli::AllCommands()) {
        CLI::App* sub = app.add_subcommand(command.name, command.summary);
        runners[sub] = command.setup(*sub);
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        // Every usage error: the message, where to find the usage, and exit code 2.
        std::string command = "rigel";
        for (const CLI::App* sub : app.get_subcommands())
            command += " " + sub->get_name();
        std::fprintf(stderr, "%s: %s\nSee '%s --help'.\n", command.c_str(), e.what(),
                     command.c_str());
        return 2;
    }
    for (const auto& [sub, run] : runners) {
        if (sub->parsed()) {
            rigel::cli::SetCommandName("rigel " + sub->get_name());
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
