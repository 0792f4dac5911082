// tondrela-record as a user runs it: synthetic and replayed recordings, the person in its pulse
// recordings, writes that never leave a partial .csv, the unplug soak and bad usage.

#include "analysis/Hrv.h"
#include "analysis/SampleCsv.h"
#include "device/ReplaySource.h"
#include "device/SyntheticPulseSource.h"
#include "tests/common/TempFolder.h"
#include "tests/common/ToolRun.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>

namespace {

namespace fs = std::filesystem;

class TondrelaRecord : public TempFolderTest {
protected:
    ToolRun Record(const std::vector<std::string>& arguments) {
        return RunTool("tondrela-record", arguments);
    }
    std::vector<int16_t> ReadCsv(const std::string& path) {
        std::vector<int16_t> samples;
        std::string error;
        EXPECT_TRUE(ReadSampleCsv(path, &samples, &error)) << error;
        std::ifstream file(path);
        std::string header;
        std::getline(file, header);
        EXPECT_EQ(header, "raw");
        return samples;
    }
    // A replay file of 700 samples of both signs and every byte value, several fields a line.
    std::vector<int16_t> WriteReplayFile(const std::string& path) {
        std::vector<int16_t> original;
        std::ofstream file(path);
        file << "time_s,raw\n";
        for (int i = 0; i < 700; ++i) {
            auto sample = static_cast<int16_t>((i * 7919) % 65536 - 32768);
            original.push_back(sample);
            file << i * 5 << "," << sample << "\n";
        }
        return original;
    }
};

TEST_F(TondrelaRecord, SyntheticRecordingHasItsRateAndItsPulseRecordingThePerson) {
    const std::string out = PathOf("synthetic.csv");
    const std::string ppg = PathOf("Kim_20240131_093005.ppg");
    const ToolRun run =
        Record({"--simulate", "--seconds", "61", "--speed", "10", "--out", out, "--ppg", ppg,
                "--name", "Kim", "--birth-year", "1975", "--sex", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<int16_t> samples = ReadCsv(out);
    ASSERT_EQ(samples.size(), 61u * 200);

    auto hrv = std::make_unique<CHrv>();
    hrv->AttachRateChart(300);
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    double sum = 0;
    int beats = 0;
    for (double rate : hrv->CopyRates()) {
        if (rate > 0) {
            sum += rate;
            ++beats;
        }
    }
    ASSERT_GT(beats, 50);
    EXPECT_NEAR(sum / beats, SyntheticPulseConfig{}.heartRateBpm, 1.0);

    const ToolRun analysed = RunTool("tondrela-analyse", {ppg});
    ASSERT_EQ(analysed.exitCode, 0) << analysed.out;
    for (const char* key : {"\"name\": \"Kim\", \"birthYear\": 1975, \"sex\": 1",
                            "\"age\": 49, \"sex\": 1", "\"samples\": 12000"})
        EXPECT_NE(analysed.out.find(key), std::string::npos) << key << " in " << analysed.out;
    EXPECT_EQ(analysed.out.find("\"type\": \"\""), std::string::npos) << "the header has a type";
}

TEST_F(TondrelaRecord, ReplayReproducesTheFileSampleForSample) {
    const std::string in = PathOf("replay.csv");
    const std::vector<int16_t> original = WriteReplayFile(in);
    const std::string out = PathOf("replayed.csv");
    const std::string ppg = PathOf("Replay_20240102_030405.ppg");
    const ToolRun run = Record({"--simulate=" + in, "--seconds", "5", "--speed", "10", "--out", out,
                                "--ppg", ppg, "--birth-year", "1980", "--sex", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<int16_t> samples = ReadCsv(out);
    ASSERT_EQ(samples.size(), 1000u);
    for (size_t i = 0; i < samples.size(); ++i)
        ASSERT_EQ(samples[i], original[i % original.size()]) << "sample " << i;

    std::vector<int16_t> saved;
    std::string error;
    ASSERT_TRUE(LoadReplaySamples(ppg, &saved, &error)) << error;
    EXPECT_EQ(saved, samples);
}

TEST_F(TondrelaRecord, UnpluggedEveryFewSecondsLosesNothing) {
    const std::string in = PathOf("replay.csv");
    const std::vector<int16_t> original = WriteReplayFile(in);
    const std::string out = PathOf("soak.csv");
    const ToolRun run = Record({"--simulate=" + in, "--seconds", "12", "--speed", "50",
                                "--unplug-every", "3", "--out", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("--speed 50 is more than the simulated sensor delivers"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("3 unplug/replug cycles, 0 samples lost"), std::string::npos) << run.err;
    std::vector<int16_t> samples = ReadCsv(out);
    ASSERT_EQ(samples.size(), 2400u);
    for (size_t i = 0; i < samples.size(); ++i)
        ASSERT_EQ(samples[i], original[i % original.size()]) << "sample " << i;
}

TEST_F(TondrelaRecord, CsvIsCompleteOrAbsentAfterAFailedWriteOrAKill) {
    // A write that fails half-way (the file-size limit acts as a full disk) keeps the old file.
    const std::string out = PathOf("out.csv");
    std::ofstream(out) << "raw\n1\n";
    const ToolRun full =
        RunTool("tondrela-record", {"--simulate", "--seconds", "5", "--speed", "10", "--out", out},
                std::chrono::seconds(120), [] {
                    std::signal(SIGXFSZ, SIG_IGN);
                    rlimit limit{2048, 2048};
                    setrlimit(RLIMIT_FSIZE, &limit);
                });
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(ReadCsv(out), std::vector<int16_t>{1});
    fs::remove(out);

    // Kills at random moments: the file is absent or holds the whole second.
    std::mt19937 random(20240131);
    int complete = 0;
    for (int round = 0; round < 12; ++round) {
        const auto killAfter = std::chrono::milliseconds(50 + random() % 400);
        const ToolRun run =
            RunTool("tondrela-record",
                    {"--simulate", "--seconds", "1", "--speed", "10", "--out", out}, killAfter);
        if (fs::exists(out)) {
            EXPECT_EQ(ReadCsv(out).size(), 200u) << "round " << round;
            ++complete;
            fs::remove(out);
        } else {
            EXPECT_TRUE(run.killed) << "round " << round << ": " << run.err;
        }
        for (const auto& entry : fs::directory_iterator(m_folder))
            EXPECT_TRUE(entry.path().filename().string().ends_with(".tmp") ||
                        entry.path().filename() == "out.csv")
                << entry.path();
    }
    RecordProperty("completeRuns", complete);
}

TEST_F(TondrelaRecord, TracePrintsOnlyWhenAskedToStandardErrorOrAFile) {
    const std::string file = PathOf("trace.txt");
    struct Case {
        const char* what;
        std::vector<std::string> options;
        bool toStderr;
        bool toFile;
    };
    const Case cases[] = {
        {"without --trace", {}, false, false},
        {"--trace", {"--trace"}, true, false},
        {"--trace=FILE", {"--trace=" + file}, false, true},
    };
    const std::regex line(R"((^|\n)Acquisition\.cpp:[0-9]+: input length : [0-9]+:\n)");
    for (const Case& c : cases) {
        std::filesystem::remove(file);
        std::vector<std::string> arguments = {"--simulate", "--seconds", "2"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const ToolRun run = Record(arguments);
        ASSERT_EQ(run.exitCode, 0) << c.what << ": " << run.err;
        std::ifstream traced(file);
        const std::string text(std::istreambuf_iterator<char>(traced), {});
        EXPECT_EQ(run.err.empty(), !c.toStderr) << c.what << ": " << run.err.substr(0, 200);
        EXPECT_EQ(std::regex_search(run.err, line), c.toStderr) << c.what;
        EXPECT_EQ(std::regex_search(text, line), c.toFile) << c.what;
    }
}

TEST_F(TondrelaRecord, BadUsageExitsWithTwo) {
    const std::string ppg = PathOf("Kim_20240131_093005.ppg");
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"--simulate"}, "--seconds is required"},
        {{"--simulate", "--seconds", "0"}, "from 1 to 3600"},
        {{"--simulate", "--seconds", "3601"}, "from 1 to 3600"},
        {{"--seconds", "5", "--speed", "4"}, "need --simulate"},
        {{"--seconds", "5", "--unplug-every", "4"}, "need --simulate"},
        {{"--simulate", "--seconds", "5", "--speed", "0"}, "above 0"},
        {{"--simulate", "--seconds", "5", "--colour"}, "unknown argument --colour"},
        {{"--simulate", "--seconds", "5", "--name", "Kim"}, "need --ppg"},
        {{"--simulate", "--seconds", "5", "--ppg", ppg}, "needs --birth-year and --sex"},
        {{"--simulate", "--seconds", "5", "--ppg", ppg, "--birth-year", "1975", "--sex", "3"},
         "--sex must be"},
        {{"--simulate", "--seconds", "5", "--ppg", PathOf("Kim.ppg"), "--birth-year", "1975",
          "--sex", "1"},
         "NAME_YYYYMMDD_HHMMSS.ppg"},
        {{"--simulate", "--seconds", "5", "--ppg", PathOf("Kim_Lee_20240131_093005.ppg"),
          "--birth-year", "1975", "--sex", "1"},
         "NAME_YYYYMMDD_HHMMSS.ppg"},
        {{"--simulate", "--seconds", "1", "--trace="}, "--trace= needs a file"},
        {{"--simulate", "--seconds", "1", "--trace=" + PathOf("absent/trace.txt")},
         "cannot write the trace"},
    };
    for (const Case& c : cases) {
        const ToolRun run = Record(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_TRUE(Entries().empty());
}

TEST_F(TondrelaRecord, AnyPpgNameWhenToldSo) {
    const std::string ppg = PathOf("warm-up.ppg");
    const ToolRun run = Record({"--simulate", "--seconds", "2", "--speed", "10", "--ppg", ppg,
                                "--birth-year", "1975", "--sex", "2", "--any-ppg-name"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(RunTool("tondrela-analyse", {ppg}).out.find("\"name\": \"warm-up\""),
              std::string::npos);
}

TEST_F(TondrelaRecord, UnreadableReplayFileFailsWithOne) {
    std::ofstream(PathOf("broken.csv")) << "raw\n12\nabc\n";
    ToolRun run = Record({"--simulate=" + PathOf("broken.csv"), "--seconds", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("broken.csv: line 3: \"abc\" is not a whole number"), std::string::npos)
        << run.err;
    EXPECT_EQ(Record({"--simulate=" + PathOf("absent.csv"), "--seconds", "1"}).exitCode, 1);
}

} // namespace
