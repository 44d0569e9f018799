#include "Commands.h"

namespace rigel::cli {

RunCommand SetupGeometry(CLI::App& sub);

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"geometry", "stations along an alignment, or points projected onto it", &SetupGeometry},
    };
    return commands;
}

} // namespace rigel::cli
