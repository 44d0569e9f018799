#include "Messages.h"

namespace rigel::cli {
namespace {

std::string& Name() {
    static std::string name = "rigel";
    return name;
}

} // namespace

void SetCommandName(std::string name) {
    Name() = std::move(name);
}

const std::string& CommandName() {
    return Name();
}

} // namespace rigel::cli
