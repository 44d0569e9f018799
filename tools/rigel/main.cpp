// rigel: the command-line host of the track-survey library.

#include "Version.h"

#include <CLI/CLI.hpp>

#include <cstdio>

int main(int argc, char** argv) {
    CLI::App app{"rigel: moves railway track survey data between a track design application and "
                 "files"};
    app.set_version_flag("--version", std::string("rigel ") + RIGEL_VERSION);
    app.require_subcommand(0, 1);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    if (app.get_subcommands().empty()) {
        std::fputs(app.help().c_str(), stdout);
        return 0;
    }
    return 0;
}
