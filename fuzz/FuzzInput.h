#pragma once
// The entry point every fuzz target defines; libFuzzer calls it, and so does the replay program
// that ctest runs over each target's corpus.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
