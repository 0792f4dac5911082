// The 256-byte header record: field offsets, byte order and the text fields.

#include "analysis/RecordingHeader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

} // namespace

TEST(HeaderLayout, NumbersSitAtTheirOffsetsLittleEndian) {
    RecordingHeader h;
    h.SetBirthYear(1960);
    h.SetSex(2);
    h.SetValue(-2.0);
    h.SetType('C');
    h.SetMeanPulse(1.0);

    const uint8_t birth[] = {0xA8, 0x07, 0x00, 0x00};
    const uint8_t sex[] = {0x02, 0x00, 0x00, 0x00};
    const uint8_t minusTwo[] = {0, 0, 0, 0, 0, 0, 0x00, 0xC0};
    const uint8_t one[] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    EXPECT_EQ(std::memcmp(h.bytes + 32, birth, 4), 0);
    EXPECT_EQ(std::memcmp(h.bytes + 36, sex, 4), 0);
    EXPECT_EQ(std::memcmp(h.bytes + 40, minusTwo, 8), 0);
    EXPECT_EQ(h.bytes[48], 'C');
    EXPECT_EQ(std::memcmp(h.bytes + 56, one, 8), 0);
    for (int i : {0, 31, 49, 55, 64, 255})
        EXPECT_EQ(h.bytes[i], 0) << "byte " << i;

    EXPECT_EQ(h.BirthYear(), 1960);
    EXPECT_EQ(h.Sex(), 2);
    EXPECT_EQ(h.Value(), -2.0);
    EXPECT_EQ(h.Type(), 'C');
    EXPECT_EQ(h.MeanPulse(), 1.0);
}

TEST(HeaderText, NameAndPhoneRoundTripAsUtf8AndShorterTextClearsTheRest) {
    RecordingHeader h;
    h.SetName("김민수");
    h.SetPhone("+82 10-1234-5678");
    EXPECT_EQ(h.Name(), "김민수");
    EXPECT_EQ(h.Phone(), "+82 10-1234-5678");
    EXPECT_EQ(std::strncmp(reinterpret_cast<const char*>(h.bytes + 64), "+82 10", 6), 0);

    h.SetName("Kimberly");
    h.SetName("Kim");
    EXPECT_EQ(h.Name(), "Kim");
    EXPECT_EQ(h.bytes[3], 0);
    EXPECT_EQ(h.bytes[4], 0);
}

TEST(HeaderText, LongTextIsCutToItsFieldKeepingWholeCharacters) {
    RecordingHeader h;
    h.SetBirthYear(1970);
    // "ab" and ten 3-byte characters: 32 bytes; byte 31 falls inside the tenth character.
    h.SetName("ab" + Repeat("가", 10));
    EXPECT_EQ(h.Name(), "ab" + Repeat("가", 9));
    for (int i = 29; i < 32; ++i)
        EXPECT_EQ(h.bytes[i], 0) << "byte " << i;

    // "a" and ten 3-byte characters is exactly 31 bytes: nothing is cut.
    const std::string exact = std::string("a").append(Repeat("가", 10));
    h.SetName(exact);
    EXPECT_EQ(h.Name(), exact);
    EXPECT_EQ(h.bytes[31], 0);

    h.SetName(std::string(40, 'x'));
    EXPECT_EQ(h.Name(), std::string(31, 'x'));
    EXPECT_EQ(h.bytes[31], 0);
    EXPECT_EQ(h.BirthYear(), 1970);

    // 63 four-byte characters are 252 bytes; 47 of them (188 bytes) fit below 191.
    h.SetPhone(Repeat("😀", 63));
    EXPECT_EQ(h.Phone(), Repeat("😀", 47));
    EXPECT_EQ(h.bytes[64 + 188], 0);
    EXPECT_EQ(h.bytes[255], 0);
}

TEST(HeaderText, TextThatIsNotUtf8ReadsAsLatin1) {
    RecordingHeader h;
    const char legacy[] = "M\xFCller"; // Latin-1 / Windows-1252 "Müller"
    std::memcpy(h.bytes, legacy, sizeof legacy);
    EXPECT_EQ(h.Name(), "Müller");

    const char cp949[] = "\xB1\xE8"; // "김" in the Korean code page: not UTF-8
    std::memcpy(h.bytes + 64, cp949, sizeof cp949);
    EXPECT_EQ(h.Phone(), "\xC2\xB1\xC3\xA8");

    // Overlong, surrogate, cut and out-of-range sequences: every byte is >= 0x80, two each.
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xE4\xB8", "\xF5\x80\x80\x80"}) {
        std::memset(h.bytes, 0, 32);
        std::memcpy(h.bytes, bad, std::strlen(bad));
        EXPECT_EQ(h.Name().size(), 2 * std::strlen(bad)) << bad;
    }
}

TEST(HeaderText, FieldWithoutTerminatorStopsAtItsEnd) {
    RecordingHeader h;
    std::memset(h.bytes, 'A', 32);
    h.SetBirthYear(0x41414141);
    EXPECT_EQ(h.Name(), std::string(32, 'A'));
    std::memset(h.bytes + 64, 'B', 192);
    EXPECT_EQ(h.Phone(), std::string(192, 'B'));
}
