#include "frame/LibraryState.h"

namespace rigel {
namespace {

// Built at load time of the library (or program start when linked statically).
LibraryState gState;

} // namespace

LibraryState& State() {
    return gState;
}

} // namespace rigel
