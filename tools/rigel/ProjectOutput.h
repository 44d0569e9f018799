#pragma once
// A project saved through Serialize in store mode, as the host's save dialog does it, with the
// type of --type or of OUTPUT's extension. The files written are listed on standard output, one
// per line; a writer that fails is named with its reason on standard error. Shared by the
// commands that end in a save (convert, trolley, alignment).

#include "formats/TrackProject.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

namespace rigel::cli {

struct OutputOptions {
    std::string output;
    std::string type; // of OUTPUT: a number, an extension, "all" or "trolley"
    bool railExports = false;
    bool force = false;
    std::string section; // FROM:TO of the rail formats; empty: the whole alignment
    std::string profile; // as --profile gives it
};

// Adds --type, --rail-exports, --section and --force (OUTPUT and --profile are the command's).
void AddOutputFlags(CLI::App& sub, OutputOptions& o);

// The type OUTPUT is saved as; nothing, with the message given, when neither --type nor the
// extension tells it.
std::optional<unsigned> OutputType(const OutputOptions& o);

// 0 when every file the type asks for was written; 1 when one was not (or OUTPUT cannot be
// written); 2 for a usage problem (a type that saves nothing, a bad --section).
int SaveProject(const OutputOptions& o, TrackProject& project);

} // namespace rigel::cli
