#pragma once
// The version of the library as its file states it: on Windows the product version in the version
// resource of the module holding this code (rigel.dll, or the program the core is linked into),
// else the version the library was built as.

#include <string>

namespace rigel {

std::string ModuleVersion();

} // namespace rigel
