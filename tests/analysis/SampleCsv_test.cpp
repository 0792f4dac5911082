// The one grammar of raw-sample .csv files.

#include "analysis/SampleCsv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(SampleCsv, GrammarCases) {
    struct Case {
        std::string text;
        std::vector<int16_t> samples; // when accepted
        std::string error;            // when refused: the message
    };
    const Case cases[] = {
        {"raw\n1\n-2\n+3\n", {1, -2, 3}, ""},
        {"time_s,raw\r\n0,100\r\n0.005, -200 \r\n", {100, -200}, ""},
        {"1\n\n \t\n2", {1, 2}, ""}, // blank lines, no header, no final line end
        {"\xEF\xBB\xBFraw\n7\n", {7}, ""},
        {"-32768\n32767\n007\n", {-32768, 32767, 7}, ""},
        {"\n\nraw\n5\n", {5}, ""}, // the first non-blank line is the header
        {"\"raw\"\n5\n", {5}, ""},
        {"40000\n", {}, "line 1: \"40000\" is outside -32768..32767"},
        {"raw\n-32769\n", {}, "line 2: \"-32769\" is outside -32768..32767"},
        {"raw\n99999999999999999999\n",
         {},
         "line 2: \"99999999999999999999\" is outside -32768..32767"},
        {"raw\n1000.4\n", {}, "line 2: \"1000.4\" is not a whole number"},
        {"raw\n1e3\n", {}, "line 2: \"1e3\" is not a whole number"},
        {"raw\n.5\n", {}, "line 2: \".5\" is not a whole number"},
        {"+-5\n", {}, "line 1: \"+-5\" is not a whole number"},
        {"raw\n1\nraw\n", {}, "line 3: \"raw\" is not a whole number"},
        {"raw\n1,\n", {}, "line 2: \"\" is not a whole number"},
        {"raw\n-\n", {}, "line 2: \"-\" is not a whole number"},
        {"raw\r\n1\r\r\n", {}, "line 2: \"1?\" is not a whole number"},
        {"raw\n1\x01\n", {}, "line 2: \"1?\" is not a whole number"},
        {"raw\n\n", {}, "no samples"},
        {"", {}, "no samples"},
        {"raw\n" + std::string(1000, '9') + "x\n",
         {},
         "line 2: \"" + std::string(40, '9') + "...\" is not a whole number"},
    };
    for (const Case& c : cases) {
        std::vector<int16_t> samples;
        std::string error;
        const bool accepted = ParseSampleCsv(c.text, &samples, &error);
        EXPECT_EQ(accepted, c.error.empty()) << c.text;
        if (accepted)
            EXPECT_EQ(samples, c.samples) << c.text;
        else
            EXPECT_EQ(error, c.error) << c.text;
    }
}
