#pragma once
// Little-endian byte order of the recording files, independent of the machine's own.

#include <bit>
#include <cstdint>

// The unsigned value of width bytes (1..8), least significant first.
inline uint64_t LoadLittle(const uint8_t* p, int width) {
    uint64_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

inline void StoreLittle(uint8_t* p, uint64_t v, int width) {
    for (int i = 0; i < width; ++i) {
        p[i] = static_cast<uint8_t>(v & 0xFF);
        v >>= 8;
    }
}

inline double LoadLittleDouble(const uint8_t* p) {
    return std::bit_cast<double>(LoadLittle(p, 8));
}

inline void StoreLittleDouble(uint8_t* p, double v) {
    StoreLittle(p, std::bit_cast<uint64_t>(v), 8);
}
