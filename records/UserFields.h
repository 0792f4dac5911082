#pragma once
// The rules for what the user window accepts from its fields. Texts are UTF-8.
// Threads: the functions may be called from any thread.

#include <optional>
#include <string_view>

// True when name can begin a recording file name ("<name>_YYYYMMDD_HHMMSS.ppg"): not empty,
// no control characters, none of \ / : * ? " < > |, no "_" (it separates the name from the
// date), no "..", and no blank at either end.
bool IsSafeUserName(std::string_view name);

// True when name fits the name field of a recording header whole: at most 31 bytes of
// UTF-8 (31 Latin letters, but only 10 Korean, Japanese or Chinese characters).
bool FitsNameField(std::string_view name);

// The birth year that the text gives, or nothing when it is refused:
// - fewer than 4 characters: refused;
// - the value is the decimal integer at the start of the text, 0 when the text does not start
//   with a digit;
// - a year after currentYear: refused.
std::optional<int> ParseBirthYear(std::string_view text, int currentYear);
