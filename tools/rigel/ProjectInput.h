#pragma once
// A project file (SPW) read whole into the host's TrackProject through Serialize, as the host
// opens one.

#include "formats/TrackProject.h"

#include <string>

namespace rigel::cli {

// 0, or 1 with the message given when the file cannot be read or holds no lines.
int LoadProject(const std::string& path, TrackProject& project);

} // namespace rigel::cli
