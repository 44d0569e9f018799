#include "Commands.h"

namespace rigel::cli {

RunCommand SetupGeometry(CLI::App& sub);
RunCommand SetupLoad(CLI::App& sub);

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"geometry", "stations along an alignment, or points projected onto it", &SetupGeometry},
        {"load", "load a survey file and print its centre track as CSV", &SetupLoad},
    };
    return commands;
}

} // namespace rigel::cli
