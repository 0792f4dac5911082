// tondrela-analyse as a user runs it: one JSON line per file, the exit codes, and the same
// figures as the analysis object gives in the program.

#include "analysis/Hrv.h"
#include "analysis/RecordingHeader.h"
#include "tests/common/TestInputs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int exitCode = -1;
    std::vector<std::string> lines;
};

ToolRun Analyse(const std::string& arguments) {
    std::string command =
        std::string(TONDRELA_STAGE_DIR) + "/bin/tondrela-analyse " + arguments + " 2>/dev/null";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::string line;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        if (c == '\n') {
            run.lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

bool Has(const std::string& line, const std::string& text) {
    return line.find(text) != std::string::npos;
}

const std::string kResting = std::string(TONDRELA_TEST_DATA) + "/neurokit_resting5min_raw.csv";

class TondrelaAnalyse : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("tondrela-analyse-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Write(const std::string& name, const std::string& text) {
        std::string path = (m_folder / name).string();
        std::ofstream(path) << text;
        return path;
    }

    fs::path m_folder;
};

} // namespace

TEST_F(TondrelaAnalyse, CsvWithHrvPrintsEveryKey) {
    ToolRun run = Analyse("--hrv " + kResting);
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 1u);
    const std::string& line = run.lines[0];
    for (const char* key :
         {"\"file\"", "\"kind\": \"csv\"", "\"age\": 40", "\"sex\": 1", "\"dateTime\": \"\"",
          "\"samples\": 59999", "\"rates\": [", "\"beats\"", "\"timeline\"", "\"ticks\": 1191",
          "\"lfHistory\": [", "\"apg\"", "\"wellnessIndex\"", "\"bpStatus\"", "\"hrv\"",
          "\"stressScoreCopy\"", "\"ansType\"", "\"cleanedCount\""})
        EXPECT_TRUE(Has(line, key)) << key;
    EXPECT_FALSE(Has(line, "\"header\"")); // a csv has no header record
    EXPECT_FALSE(Has(line, "nan"));
}

TEST_F(TondrelaAnalyse, OptionsAndBadUsage) {
    ToolRun run = Analyse("--age 60 --sex 2 " + kResting);
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_TRUE(Has(run.lines[0], "\"age\": 60, \"sex\": 2"));
    EXPECT_FALSE(Has(run.lines[0], "\"hrv\"")); // only with --hrv

    for (const std::string& arguments :
         {std::string(), "--sex 3 " + kResting, "--bogus " + kResting})
        EXPECT_EQ(Analyse(arguments).exitCode, 2) << arguments;
}

TEST_F(TondrelaAnalyse, EachFileGivesOneLineAndAnUnreadableOneExitOne) {
    // The last field of a line is the sample (the first ones here would not fit a sample);
    // values are rounded to the nearest integer.
    std::string csv = "time,raw\n";
    for (int i = 0; i < 100; ++i)
        csv += std::to_string(40000 + i) + "," + std::to_string(1000 + i) + ".4\n";
    std::string fields = Write("fields.csv", csv);
    std::string bad = Write("bad.csv", "raw\n1000\nabc\n");
    std::string big = Write("big.csv", "40000\n");
    ToolRun run = Analyse(bad + " " + fields + " " + big + " " + (m_folder / "none.ppg").string());
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.lines.size(), 4u);
    EXPECT_TRUE(Has(run.lines[0], "\"error\": \"line 3: not a number\""));
    EXPECT_TRUE(Has(run.lines[1], "\"kind\": \"csv\""));
    EXPECT_TRUE(Has(run.lines[1], "\"samples\": 100"));
    EXPECT_TRUE(Has(run.lines[2], "\"error\""));
    EXPECT_TRUE(Has(run.lines[3], "\"error\""));
}

TEST_F(TondrelaAnalyse, PulseRecordingMatchesTheAnalysisObject) {
    // Save the first 61 s of the resting recording as the test window does.
    std::vector<int16_t> samples;
    for (const std::string& line : DataLines("neurokit_resting5min_raw.csv"))
        samples.push_back(static_cast<int16_t>(std::stoi(line)));
    samples.resize(12200);
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachRateChart(300);
    hrv->AttachPulseRing();
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    RecordingHeader header;
    header.SetName("Kim");
    header.SetBirthYear(1960);
    header.SetSex(2);
    header.SetType('C');
    fs::create_directories(m_folder / "work");
    std::string path = (m_folder / "work" / "Kim_20240131_093005.ppg").string();
    ASSERT_EQ(hrv->SavePulseFile(path, &header), FileStatus::Ok);

    // The program's report replays the file through a fresh analysis object.
    auto replay = std::make_unique<CHrv>();
    replay->AttachApg();
    replay->AttachRateChart(300);
    replay->AttachPulseRing();
    replay->AttachLfHfChart();
    replay->ResetMeasurement();
    RecordingHeader loaded;
    ASSERT_EQ(replay->LoadPulseFile(&loaded, path), FileStatus::Ok);
    ApgSummary apg = replay->SummariseApg(64, 2);

    ToolRun run = Analyse(path);
    ASSERT_EQ(run.exitCode, 0);
    const std::string& line = run.lines[0];
    EXPECT_TRUE(Has(line, "\"kind\": \"ppg\""));
    EXPECT_TRUE(Has(line, "\"name\": \"Kim\", \"birthYear\": 1960, \"sex\": 2"));
    EXPECT_TRUE(Has(line, "\"type\": \"C\""));
    EXPECT_TRUE(Has(line, "\"age\": 64, \"sex\": 2"));
    EXPECT_TRUE(Has(line, "\"dateTime\": \"2024-01-31 09:30:05\""));
    EXPECT_TRUE(Has(line, "\"samples\": 12000"));
    char expected[64];
    std::snprintf(expected, sizeof expected, "\"wellnessIndex\": %.17g", apg.wellnessIndex);
    EXPECT_TRUE(Has(line, expected)) << expected;
    std::snprintf(expected, sizeof expected, "\"qualified\": %d", apg.qualified);
    EXPECT_TRUE(Has(line, expected)) << expected;
    ASSERT_GE(apg.typeIndex, 0);
    std::snprintf(expected, sizeof expected, "\"typeIndex\": %d", apg.typeIndex);
    EXPECT_TRUE(Has(line, expected)) << expected;
}
