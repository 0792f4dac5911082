#include "records/UserFields.h"

#include "analysis/RecordingHeader.h"
#include "lang/LanguageTable.h"

namespace {

// C0 controls, DEL and the C1 controls (U+0080..U+009F, UTF-8 C2 80..C2 9F).
bool HasControlCharacter(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F)
            return true;
        if (byte == 0xC2 && i + 1 < text.size() &&
            static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(text[i + 1]) <= 0x9F)
            return true;
    }
    return false;
}

} // namespace

bool IsSafeUserName(std::string_view name) {
    return !name.empty() && !HasControlCharacter(name) &&
           name.find_first_of("\\/:*?\"<>|_") == std::string_view::npos &&
           name.find("..") == std::string_view::npos && TrimWhiteSpace(name) == name;
}

bool FitsNameField(std::string_view name) {
    return name.size() <= static_cast<size_t>(RecordingHeader::kNameBytes);
}

BirthYearCheck ParseBirthYear(std::string_view text, int currentYear, int* year) {
    if (text.size() != 4)
        return BirthYearCheck::NotFourDigits;
    int value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return BirthYearCheck::NotFourDigits;
        value = value * 10 + (ch - '0');
    }
    if (value < kFirstBirthYear || value > currentYear)
        return BirthYearCheck::OutOfRange;
    *year = value;
    return BirthYearCheck::Ok;
}
