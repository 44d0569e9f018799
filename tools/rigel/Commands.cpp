#include "Commands.h"

namespace rigel::cli {

RunCommand SetupAlignment(CLI::App& sub);
RunCommand SetupConvert(CLI::App& sub);
RunCommand SetupGeometry(CLI::App& sub);
RunCommand SetupLoad(CLI::App& sub);
RunCommand SetupTrolley(CLI::App& sub);

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"geometry", "stations along an alignment, or points projected onto it", &SetupGeometry},
        {"load", "load a survey file and print its centre track as CSV", &SetupLoad},
        {"convert", "read a project or survey file and save the project in other formats",
         &SetupConvert},
        {"alignment", "read the alignments of a LandXML file into a project and save it",
         &SetupAlignment},
        {"trolley",
         "print a trolley's TDT or HDT table as CSV, or apply its UDT cants to a project",
         &SetupTrolley},
    };
    return commands;
}

} // namespace rigel::cli
