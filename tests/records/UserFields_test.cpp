// What the user window accepts: names that can begin a file name, and birth years.

#include "records/UserFields.h"

#include <gtest/gtest.h>

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

TEST(BirthYearCheck, TakesFourDigitsFrom1900ToTheCurrentYear) {
    const struct {
        const char* text;
        BirthYearCheck check;
    } cases[] = {
        {"1965", BirthYearCheck::Ok},
        {"1900", BirthYearCheck::Ok},
        {"2025", BirthYearCheck::Ok},
        {"", BirthYearCheck::NotFourDigits},
        {"196", BirthYearCheck::NotFourDigits},
        {"19651", BirthYearCheck::NotFourDigits},
        {"abcd", BirthYearCheck::NotFourDigits},
        {"19a5", BirthYearCheck::NotFourDigits},
        {" 196", BirthYearCheck::NotFourDigits},
        {"-965", BirthYearCheck::NotFourDigits},
        {"일구육오", BirthYearCheck::NotFourDigits}, // four characters, none a digit 0-9
        {"１９６５", BirthYearCheck::NotFourDigits}, // full-width digits
        {"1899", BirthYearCheck::OutOfRange},
        {"0000", BirthYearCheck::OutOfRange},
        {"2026", BirthYearCheck::OutOfRange},
        {"9999", BirthYearCheck::OutOfRange},
    };
    for (const auto& c : cases) {
        int year = -1;
        EXPECT_EQ(ParseBirthYear(c.text, 2025, &year), c.check) << c.text;
        EXPECT_EQ(year, c.check == BirthYearCheck::Ok ? std::stoi(c.text) : -1) << c.text;
    }
}
