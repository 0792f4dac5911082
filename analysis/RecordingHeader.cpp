#include "analysis/RecordingHeader.h"

#include "analysis/LittleEndian.h"
#include "analysis/Utf8.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kNameOffset = 0;
constexpr int kBirthYearOffset = 32;
constexpr int kSexOffset = 36;
constexpr int kValueOffset = 40;
constexpr int kTypeOffset = 48;
constexpr int kMeanPulseOffset = 56;
constexpr int kPhoneOffset = 64;
constexpr int kPhoneField = RecordingHeader::kSize - kPhoneOffset;

std::string Latin1ToUtf8(const std::string& s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (char ch : s) {
        auto b = static_cast<uint8_t>(ch);
        if (b < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

// The text of a NUL-terminated field (the whole field when it holds no zero), as UTF-8.
std::string ReadText(const uint8_t* field, int width) {
    const auto* begin = reinterpret_cast<const char*>(field);
    std::string text(begin, std::find(begin, begin + width, '\0'));
    return IsUtf8(text) ? text : Latin1ToUtf8(text);
}

// Zero-fills the field and stores the text up to its first zero, at most maxBytes of it,
// cutting only at the start of a UTF-8 sequence.
void WriteText(uint8_t* field, int width, int maxBytes, const std::string& utf8) {
    std::memset(field, 0, static_cast<size_t>(width));
    size_t length = std::min(utf8.find('\0'), utf8.size());
    size_t n = std::min(length, static_cast<size_t>(maxBytes));
    while (n > 0 && n < length && (static_cast<uint8_t>(utf8[n]) & 0xC0) == 0x80)
        --n;
    std::memcpy(field, utf8.data(), n);
}
} // namespace

std::string RecordingHeader::Name() const {
    return ReadText(bytes + kNameOffset, kNameBytes + 1);
}

void RecordingHeader::SetName(const std::string& utf8) {
    WriteText(bytes + kNameOffset, kNameBytes + 1, kNameBytes, utf8);
}

int32_t RecordingHeader::BirthYear() const {
    return static_cast<int32_t>(LoadLittle(bytes + kBirthYearOffset, 4));
}

void RecordingHeader::SetBirthYear(int32_t year) {
    StoreLittle(bytes + kBirthYearOffset, static_cast<uint32_t>(year), 4);
}

int32_t RecordingHeader::Sex() const {
    return static_cast<int32_t>(LoadLittle(bytes + kSexOffset, 4));
}

void RecordingHeader::SetSex(int32_t sex) {
    StoreLittle(bytes + kSexOffset, static_cast<uint32_t>(sex), 4);
}

double RecordingHeader::Value() const {
    return LoadLittleDouble(bytes + kValueOffset);
}

void RecordingHeader::SetValue(double value) {
    StoreLittleDouble(bytes + kValueOffset, value);
}

char RecordingHeader::Type() const {
    return static_cast<char>(bytes[kTypeOffset]);
}

void RecordingHeader::SetType(char letter) {
    bytes[kTypeOffset] = static_cast<uint8_t>(letter);
}

double RecordingHeader::MeanPulse() const {
    return LoadLittleDouble(bytes + kMeanPulseOffset);
}

void RecordingHeader::SetMeanPulse(double bpm) {
    StoreLittleDouble(bytes + kMeanPulseOffset, bpm);
}

std::string RecordingHeader::Phone() const {
    return ReadText(bytes + kPhoneOffset, kPhoneField);
}

void RecordingHeader::SetPhone(const std::string& utf8) {
    WriteText(bytes + kPhoneOffset, kPhoneField, kPhoneBytes, utf8);
}
