#pragma once
// The rules for what the user window accepts from its fields. Texts are UTF-8.
// Threads: the functions may be called from any thread.

#include <string_view>

// True when name can begin a recording file name ("<name>_YYYYMMDD_HHMMSS.ppg"): not empty,
// no control characters, none of \ / : * ? " < > |, no "_" (it separates the name from the
// date), no "..", and no blank at either end.
bool IsSafeUserName(std::string_view name);

// True when name fits the name field of a recording header whole: at most 31 bytes of
// UTF-8 (31 Latin letters, but only 10 Korean, Japanese or Chinese characters).
bool FitsNameField(std::string_view name);

// What the birth-year field gives.
enum class BirthYearCheck {
    Ok,
    NotFourDigits, // anything but exactly four digits 0-9
    OutOfRange,    // four digits, but before kFirstBirthYear or after the current year
};
inline constexpr int kFirstBirthYear = 1900;

// Checks the text; *year receives the year when it is Ok.
BirthYearCheck ParseBirthYear(std::string_view text, int currentYear, int* year);
