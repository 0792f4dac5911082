// tondrela-analyse as a user runs it: one JSON line per file, the exit codes, and the same
// figures as the analysis object gives in the program.

#include "analysis/Hrv.h"
#include "analysis/RecordingFile.h"
#include "analysis/SampleCsv.h"
#include "tests/common/TestInputs.h"
#include "tests/common/ToolRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// tondrela-analyse's exit status, its output lines and its standard error.
struct AnalyseRun {
    int exitCode = -1;
    std::vector<std::string> lines;
    std::string err;
};

AnalyseRun Analyse(const std::vector<std::string>& arguments) {
    const ToolRun run = RunTool("tondrela-analyse", arguments);
    AnalyseRun result{run.exitCode, {}, run.err};
    for (size_t begin = 0, end; (end = run.out.find('\n', begin)) != std::string::npos;
         begin = end + 1)
        result.lines.push_back(run.out.substr(begin, end - begin));
    return result;
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
    AnalyseRun run = Analyse({"--hrv", kResting});
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
    AnalyseRun run = Analyse({"--age", "60", "--sex", "2", kResting});
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_TRUE(Has(run.lines[0], "\"age\": 60, \"sex\": 2"));
    EXPECT_FALSE(Has(run.lines[0], "\"hrv\"")); // only with --hrv

    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{}, {"--sex", "3", kResting}, {"--bogus", kResting}})
        EXPECT_EQ(Analyse(arguments).exitCode, 2) << arguments.size();
}

TEST_F(TondrelaAnalyse, EachFileGivesOneLineAndAnUnreadableOneExitOne) {
    // The last field of a line is the sample (the first ones here would not fit a sample).
    std::string csv = "time,raw\n";
    for (int i = 0; i < 100; ++i)
        csv += std::to_string(40000 + i) + "," + std::to_string(1000 + i) + "\n";
    std::string fields = Write("fields.csv", csv);
    std::string bad = Write("bad.csv", "raw\n1000\nabc\n");
    std::string big = Write("big.csv", "40000\n");
    AnalyseRun run = Analyse({bad, fields, big, (m_folder / "none.ppg").string()});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.lines.size(), 4u);
    EXPECT_TRUE(Has(run.lines[0], "\"error\": \"line 3: \\\"abc\\\" is not a whole number\""))
        << run.lines[0];
    EXPECT_TRUE(Has(run.lines[1], "\"kind\": \"csv\""));
    EXPECT_TRUE(Has(run.lines[1], "\"samples\": 100"));
    EXPECT_TRUE(Has(run.lines[2], "\"error\": \"line 1: \\\"40000\\\" is outside"));
    EXPECT_TRUE(Has(run.lines[3], "\"error\": \"cannot open the file\""));
}

TEST_F(TondrelaAnalyse, EveryLineIsStrictJsonWhateverBytesNamesAndHeadersHold) {
    // A file name that is not UTF-8, a header with type byte 0xFF and a name field in a legacy
    // code page, and an error line about a file name that is not UTF-8.
    std::vector<int16_t> pulse;
    for (const std::string& line : DataLines("neurokit_resting5min_raw.csv"))
        pulse.push_back(static_cast<int16_t>(std::stoi(line)));
    pulse.resize(2000);
    auto hrv = std::make_unique<CHrv>();
    hrv->AddSamples(pulse.data(), static_cast<int>(pulse.size()));
    RecordingHeader header;
    header.SetBirthYear(1960);
    header.SetSex(1);
    header.SetType(static_cast<char>(0xFF));
    ASSERT_EQ(hrv->SavePulseFile((m_folder / "Kim_20240131_093005.ppg").string(), &header),
              FileStatus::Ok);
    header.bytes[0] = 0xB1; // "김" in the Korean code page
    header.bytes[1] = 0xE8;
    ASSERT_EQ(hrv->SavePulseFile((m_folder / "Lee_20240131_093005.ppg").string(), &header),
              FileStatus::Ok);
    const std::string invalidName = (m_folder / "K\xFFm\xC3_20240131_093005.ppg").string();
    fs::rename(m_folder / "Lee_20240131_093005.ppg", invalidName);

    AnalyseRun run = Analyse({(m_folder / "Kim_20240131_093005.ppg").string(), invalidName,
                              (m_folder / "\xC3(.csv").string()});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.lines.size(), 3u);
    EXPECT_TRUE(Has(run.lines[0], "\"type\": \"\xEF\xBF\xBD\"")) << run.lines[0];
    EXPECT_TRUE(Has(run.lines[1], "K\xEF\xBF\xBDm\xEF\xBF\xBD_20240131")) << run.lines[1];
    EXPECT_TRUE(Has(run.lines[1], "\"name\": \"\xC2\xB1\xC3\xA8\"")) << run.lines[1];
    EXPECT_TRUE(Has(run.lines[2], "\xEF\xBF\xBD(.csv")) << run.lines[2];

    // Python's json module on text decoded as strict UTF-8, NaN and Infinity refused.
    const std::string output =
        Write("output.jsonl", run.lines[0] + "\n" + run.lines[1] + "\n" + run.lines[2] + "\n");
    const std::string check =
        "/usr/bin/python3 -c 'import json, sys\n"
        "def refuse(name): raise ValueError(name)\n"
        "for line in open(sys.argv[1], \"rb\").read().decode(\"utf-8\").splitlines():\n"
        "    json.loads(line, parse_constant=refuse)' " +
        output;
    EXPECT_EQ(std::system(check.c_str()), 0);
}

TEST_F(TondrelaAnalyse, SaysSoWhenAnInputIsLongerThanTheProgramHolds) {
    // 65001 samples as a .csv and as a .ppg body, and a rate recording of 1200 rates.
    std::string csv = "raw\n";
    std::string body;
    for (int i = 0; i < CHrv::kSeriesCapacity + 1; ++i) {
        const int16_t sample = i % 200 < 20 ? 1500 : 800;
        csv += std::to_string(sample) + "\n";
        body += std::string(reinterpret_cast<const char*>(&sample), 2); // little-endian here
    }
    const double marker = kPulseFileMarker;
    const std::string ppg =
        Write("Kim_20240131_093005.ppg", std::string(reinterpret_cast<const char*>(&marker), 8) +
                                             std::string(RecordingHeader::kSize, '\0') + body);
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachRateChart(150);
    for (int i = 0; i < 1200; ++i) {
        hrv->AddRate(false, 75);
        hrv->AddRate(false, HrvCanvas::kTick);
    }
    const std::string rate = (m_folder / "Kim_20240131_093005.hrv").string();
    ASSERT_EQ(hrv->SaveRateFile(nullptr, rate), FileStatus::Ok);

    const struct {
        std::string file;
        std::vector<std::string> notes;
    } cases[] = {
        {Write("long.csv", csv),
         {"65001 samples, more than the 65000 the program holds",
          "the wellness figures are those of the first 65 s"}},
        {ppg,
         {"holds more than the 65000 samples the program reads",
          "the wellness figures are those of the first 65 s"}},
        {rate, {"the HRV figures are those of the last 1080 of 1200 rates"}},
    };
    for (const auto& c : cases) {
        const AnalyseRun run = Analyse({c.file});
        EXPECT_EQ(run.exitCode, 0) << c.file;
        for (const std::string& note : c.notes)
            EXPECT_TRUE(Has(run.err, c.file + ": " + note)) << run.err;
    }
}

TEST_F(TondrelaAnalyse, ReadsTheSameSamplesAsTheRecordersReplay) {
    // Header, CRLF, blank lines, several fields, signs: the replay of this file, recorded, must
    // hold the same 1000 samples, and both files must analyse alike.
    std::string csv = "time_s,raw\r\n";
    for (int i = 0; i < 1000; ++i) {
        const int sample = (i % 170 < 25 ? 1400 : 700) + (i * 37) % 101 - 50;
        csv += std::to_string(i * 5) + ", " + (i % 3 ? "+" : "") + std::to_string(sample) + "\r\n";
        if (i % 250 == 0)
            csv += " \r\n";
    }
    const std::string in = Write("in.csv", csv);
    const std::string out = (m_folder / "out.csv").string();
    const ToolRun record = RunTool(
        "tondrela-record", {"--simulate=" + in, "--seconds", "5", "--speed", "10", "--out", out});
    ASSERT_EQ(record.exitCode, 0) << record.err;

    std::vector<int16_t> original, replayed;
    std::string error;
    ASSERT_TRUE(ReadSampleCsv(in, &original, &error)) << error;
    ASSERT_TRUE(ReadSampleCsv(out, &replayed, &error)) << error;
    EXPECT_EQ(original.size(), 1000u);
    EXPECT_EQ(replayed, original);

    AnalyseRun a = Analyse({in}), b = Analyse({out});
    ASSERT_EQ(a.lines.size(), 1u);
    ASSERT_EQ(b.lines.size(), 1u);
    const auto withoutFile = [](const std::string& line) {
        return line.substr(line.find("\"kind\""));
    };
    EXPECT_EQ(withoutFile(a.lines[0]), withoutFile(b.lines[0]));
}

TEST_F(TondrelaAnalyse, CsvExportHoldsTheJsonValueOfEveryColumn) {
    // A pulse recording whose file name holds a comma and whose person's name holds a comma
    // and quotes, a rate recording, and a raw-sample .csv.
    std::vector<int16_t> samples;
    for (const std::string& line : DataLines("neurokit_resting5min_raw.csv"))
        samples.push_back(static_cast<int16_t>(std::stoi(line)));
    samples.resize(155 * 200);
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachPulseRing();
    hrv->AttachRateChart(150);
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    RecordingHeader header;
    header.SetName("Kim, \"K\"");
    header.SetBirthYear(1975);
    header.SetSex(1);
    const std::string ppg = (m_folder / "Kim, K_20240131_093005.ppg").string();
    const std::string rate = (m_folder / "Kim_20240131_093005.hrv").string();
    ASSERT_EQ(hrv->SavePulseFile(ppg, &header), FileStatus::Ok);
    ASSERT_EQ(hrv->SaveRateFile(&header, rate), FileStatus::Ok);
    const std::vector<std::string> files = {ppg, rate, kResting};

    std::vector<std::string> arguments = {"--hrv", "--csv"};
    arguments.insert(arguments.end(), files.begin(), files.end());
    const ToolRun csv = RunTool("tondrela-analyse", arguments);
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_TRUE(Has(csv.out, ",\"Kim, \"\"K\"\"\",")) << csv.out;
    arguments.erase(arguments.begin() + 1);
    const ToolRun json = RunTool("tondrela-analyse", arguments);
    ASSERT_EQ(json.exitCode, 0) << json.err;

    const std::string check = "/usr/bin/python3 " TONDRELA_TEST_DATA
                              "/../tools/csv_matches_json.py " +
                              Write("export.csv", csv.out) + " " + Write("output.jsonl", json.out);
    EXPECT_EQ(std::system(check.c_str()), 0);
    EXPECT_TRUE(Has(csv.out.substr(0, csv.out.find('\n')), "apg.wellnessIndex,apg.type"));
    EXPECT_TRUE(Has(csv.out.substr(0, csv.out.find('\n')), "hrv.lfShare,hrv.hfShare,hrv.ansType"));
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

    AnalyseRun run = Analyse({path});
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

TEST_F(TondrelaAnalyse, TraceOfTheBeatAnalysisGoesToTheGivenFile) {
    const std::string trace = (m_folder / "trace.txt").string();
    AnalyseRun run = Analyse({"--trace=" + trace, kResting});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.lines.size(), 1u); // the JSON line alone on standard output
    std::ifstream in(trace);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_TRUE(Has(text, "Hrv.cpp:")) << text.substr(0, 200);
    EXPECT_TRUE(Has(text, ": bpm: ")) << text.substr(0, 200);
    run = Analyse({"--trace=" + (m_folder / "absent" / "t.txt").string(), kResting});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Has(run.err, "cannot write the trace")) << run.err;
}
