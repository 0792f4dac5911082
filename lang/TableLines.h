#pragma once
// The lines of the four built-in language tables, each list ended by one empty line.
// Besides the original texts every table carries message 40021 (a user name that cannot be
// used as a file name), one line more than the original table.

#include <span>
#include <string_view>

std::span<const std::string_view> KoreanTableLines();
std::span<const std::string_view> EnglishTableLines();
std::span<const std::string_view> JapaneseTableLines();
std::span<const std::string_view> ChineseTableLines();
