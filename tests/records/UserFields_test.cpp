// What the user window accepts: names that can begin a file name, and birth years.

#include "records/UserFields.h"

#include <gtest/gtest.h>

#include <string>

TEST(UserNameCheck, AcceptsPlainNames) {
    for (const char* name : {"Kim", "김철수", "山田太郎", "O'Brien", "Anne Marie", "J.R.", "Lee-2"})
        EXPECT_TRUE(IsSafeUserName(name)) << name;
}

TEST(UserNameCheck, RefusesEveryUnsafeClass) {
    const std::string refused[] = {
        "", // no name at all
        "a/b",
        "a\\b",
        "a:b",
        "a*b",
        "a?b",
        "a\"b",
        "a<b",
        "a>b",
        "a|b", // reserved
        "a_b",
        "_", // the separator of the file name's parts
        "..",
        "a..b", // parent folder
        "a\tb",
        "a\nb",
        std::string("a\0b", 3),
        "a\x7f"
        "b",
        "a\xc2\x85"
        "b", // NEL, a C1 control
        " Kim",
        "Kim ",
        "\xe3\x80\x80Kim",
        "Kim\xc2\xa0", // blanks at either end
    };
    for (const std::string& name : refused)
        EXPECT_FALSE(IsSafeUserName(name)) << name;
}

TEST(BirthYearCheck, NeedsFourCharacters) {
    EXPECT_FALSE(ParseBirthYear("", 2025));
    EXPECT_FALSE(ParseBirthYear("196", 2025));
    EXPECT_FALSE(ParseBirthYear("일구육", 2025)); // 3 characters in 9 bytes
    EXPECT_EQ(ParseBirthYear("1965", 2025), 1965);
}

TEST(BirthYearCheck, TakesTheLeadingDigits) {
    EXPECT_EQ(ParseBirthYear("abcd", 2025), 0);
    EXPECT_EQ(ParseBirthYear(" 196", 2025), 0);
    EXPECT_EQ(ParseBirthYear("일구육오", 2025), 0);
    EXPECT_EQ(ParseBirthYear("19a5", 2025), 19);
    EXPECT_EQ(ParseBirthYear("0000", 2025), 0);
}

TEST(BirthYearCheck, RefusesAYearInTheFuture) {
    EXPECT_EQ(ParseBirthYear("2025", 2025), 2025);
    EXPECT_FALSE(ParseBirthYear("2026", 2025));
    EXPECT_FALSE(ParseBirthYear("9999", 2025));
}
