#pragma once
// Helpers of the recording-file tests: a fresh folder per test and raw file bytes.

#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Each recording-file test works in a fresh folder of its own.
using RecordingFolder = TempFolderTest;

inline Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Appends a double in little-endian order, built from its bit pattern without the writer.
inline void PutDouble(Bytes& bytes, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

inline void PutZeros(Bytes& bytes, size_t n) {
    bytes.insert(bytes.end(), n, 0);
}
