#pragma once
// The 256-byte header record of the recording files, kept as the bytes that are stored
// (little-endian on every platform). Text fields are UTF-8; a field that is not valid UTF-8
// (an older file in a legacy code page) reads as Latin-1.
//
// | offset | width | pulse file (.ppg)            | rate file (.hrv) |
// |      0 |    32 | user name, NUL-terminated    | same             |
// |     32 |     4 | year of birth, int32         | same             |
// |     36 |     4 | sex, int32: 1 male, 2 female | same             |
// |     40 |     8 | APG index, double            | stress score     |
// |     48 |     1 | type letter 'A'..'G'         | zero             |
// |     56 |     8 | mean pulse, double           | zero             |
// |     64 |   192 | telephone, NUL-terminated    | zero             |

#include <cstdint>
#include <string>

struct RecordingHeader {
    static constexpr int kSize = 256;
    static constexpr int kNameBytes = 31; // text bytes before the terminating zero
    static constexpr int kPhoneBytes = 191;

    uint8_t bytes[kSize] = {};

    std::string Name() const;
    // Stores at most 31 bytes, never cutting a UTF-8 sequence in half.
    void SetName(const std::string& utf8);
    int32_t BirthYear() const;
    void SetBirthYear(int32_t year);
    int32_t Sex() const;
    void SetSex(int32_t sex);
    double Value() const;
    void SetValue(double value);
    char Type() const;
    void SetType(char letter);
    double MeanPulse() const;
    void SetMeanPulse(double bpm);
    std::string Phone() const;
    // Stores at most 191 bytes, never cutting a UTF-8 sequence in half.
    void SetPhone(const std::string& utf8);
};
