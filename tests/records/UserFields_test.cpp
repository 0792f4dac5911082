// What the user window accepts: names that can begin a file name, and birth years.

#include "records/UserFields.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

TEST(UserNameCheck, AcceptsPlainNames) {
    for (const char* name : {"Kim", "김철수", "山田太郎", "O'Brien", "Anne Marie", "J.R.", "Lee-2"})
        EXPECT_TRUE(IsSafeUserName(name)) << name;
}

TEST(UserNameCheck, RefusesEveryUnsafeClass) {
    const struct {
        const char* why;
        std::vector<std::string> names;
    } classes[] = {
        {"no name", {""}},
        {"reserved", {"a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}},
        {"separator of the file name's parts", {"a_b", "_"}},
        {"parent folder", {"..", "a..b"}},
        {"control character", {"a\tb", "a\nb", std::string("a\0b", 3), "a\177b", "a\302\205b"}},
        {"blank at either end", {" Kim", "Kim ", "\xe3\x80\x80Kim", "Kim\xc2\xa0"}},
    };
    for (const auto& c : classes) {
        for (const std::string& name : c.names)
            EXPECT_FALSE(IsSafeUserName(name)) << c.why << ": " << name;
    }
}

TEST(BirthYearCheck, NeedsFourCharactersTakesTheLeadingDigitsAndNoFutureYear) {
    const struct {
        const char* text;
        std::optional<int> year;
    } cases[] = {
        // "일구육" is 3 characters in 9 bytes.
        {"", std::nullopt}, {"196", std::nullopt}, {"일구육", std::nullopt}, {"1965", 1965},
        {"abcd", 0},        {" 196", 0},           {"일구육오", 0},          {"19a5", 19},
        {"0000", 0},        {"2025", 2025},        {"2026", std::nullopt},   {"9999", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseBirthYear(c.text, 2025), c.year) << c.text;
}
