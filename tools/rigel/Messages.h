#pragma once
// Messages of the running command on standard error, each prefixed with the command's name
// ("rigel load: ..."). main() names the command before it runs it.

#include "platform/base/TextFormat.h"

#include <cstdio>
#include <string>

namespace rigel::cli {

void SetCommandName(std::string name);
const std::string& CommandName();

template <typename... Args> void Complain(const char* format, const Args&... args) {
    std::fputs((CommandName() + ": " + Format(format, args...) + "\n").c_str(), stderr);
}

} // namespace rigel::cli
