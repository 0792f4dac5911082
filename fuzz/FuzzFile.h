#pragma once
// The file through which a fuzzer hands its input to the recording readers: one per
// process, in a folder of its own, named like a recording so that the name parse runs too.

#include <cstddef>
#include <cstdint>
#include <string>

// Replaces the file's content with the input and returns its path ("...Kim_20240131_093005"
// followed by the extension).
const std::string& WriteFuzzFile(const uint8_t* data, size_t size, const char* extension);
