#include "Commands.h"

namespace rigel::cli {

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
    };
    return commands;
}

} // namespace rigel::cli
