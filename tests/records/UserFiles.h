#pragma once
// Helpers of the user-registry tests: recording files written byte by byte (marker and header,
// no body), so that the tests do not depend on the writers they are not about.

#include "analysis/RecordingHeader.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace userfiles {

// A pulse-file marker (-2050) followed by a 256-byte header for that user.
inline void WriteRecording(const std::filesystem::path& path, const std::string& headerName,
                           int birthYear, int sex, const std::string& phone = "",
                           double marker = -2050.0) {
    RecordingHeader header;
    header.SetName(headerName);
    header.SetBirthYear(birthYear);
    header.SetSex(sex);
    header.SetPhone(phone);
    uint8_t markerBytes[8];
    uint64_t bits;
    std::memcpy(&bits, &marker, 8);
    for (int i = 0; i < 8; ++i)
        markerBytes[i] = static_cast<uint8_t>(bits >> (8 * i));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(markerBytes), 8);
    out.write(reinterpret_cast<const char*>(header.bytes), RecordingHeader::kSize);
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

} // namespace userfiles
