#include "analysis/Hrv.h"
#include "device/ReplaySource.h"
#include "device/SyntheticPulseSource.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const std::string kTool = TONDRELA_STAGE_DIR "/bin/tondrela-record";

class TondrelaRecord : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kTool)) << kTool << " is not built";
        dir = fs::path(::testing::TempDir()) / "tondrela-record";
        fs::create_directories(dir);
    }
    // Runs the tool with the arguments; returns its exit status.
    int Run(const std::string& arguments) {
        std::string command = kTool + " " + arguments + " 2>" + (dir / "stderr.txt").string();
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Stderr() const {
        std::ifstream file(dir / "stderr.txt");
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    std::vector<int16_t> ReadCsv(const fs::path& path) {
        std::vector<int16_t> samples;
        std::string error;
        EXPECT_TRUE(LoadReplaySamples(path.string(), &samples, &error)) << error;
        std::ifstream file(path);
        std::string header;
        std::getline(file, header);
        EXPECT_EQ(header, "raw");
        return samples;
    }

    fs::path dir;
};

TEST_F(TondrelaRecord, SyntheticRecordingHasTheConfiguredRate) {
    fs::path out = dir / "synthetic.csv";
    ASSERT_EQ(Run("--simulate --seconds 60 --speed 20 --out " + out.string()), 0) << Stderr();
    std::vector<int16_t> samples = ReadCsv(out);
    ASSERT_EQ(samples.size(), 60u * 200);

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
}

TEST_F(TondrelaRecord, ReplayReproducesTheFileSampleForSample) {
    // Several fields per line (the last one is the sample), both signs, every byte value.
    fs::path in = dir / "replay.csv";
    std::vector<int16_t> original;
    {
        std::ofstream file(in);
        file << "time_s,raw\n";
        for (int i = 0; i < 700; ++i) {
            auto sample = static_cast<int16_t>((i * 7919) % 65536 - 32768);
            original.push_back(sample);
            file << i * 0.005 << "," << sample << "\n";
        }
    }
    fs::path out = dir / "replayed.csv";
    fs::path ppg = dir / "Replay_20240102_030405.ppg";
    ASSERT_EQ(Run("--simulate=" + in.string() + " --seconds 5 --speed 10 --out " + out.string() +
                  " --ppg " + ppg.string()),
              0)
        << Stderr();
    std::vector<int16_t> samples = ReadCsv(out);
    ASSERT_EQ(samples.size(), 1000u);
    for (size_t i = 0; i < samples.size(); ++i)
        ASSERT_EQ(samples[i], original[i % original.size()]) << "sample " << i;

    std::vector<int16_t> saved;
    std::string error;
    ASSERT_TRUE(LoadReplaySamples(ppg.string(), &saved, &error)) << error;
    EXPECT_EQ(saved, samples);
}

TEST_F(TondrelaRecord, BadUsageExitsWithTwo) {
    EXPECT_EQ(Run("--simulate"), 2);
    EXPECT_EQ(Run("--simulate --seconds 0"), 2);
    EXPECT_EQ(Run("--simulate --seconds 301"), 2);
    EXPECT_EQ(Run("--seconds 5 --speed 4"), 2);
    EXPECT_EQ(Run("--simulate --seconds 5 --speed 0"), 2);
    EXPECT_EQ(Run("--simulate --seconds 5 --colour"), 2);
    EXPECT_NE(Stderr().find("unknown argument --colour"), std::string::npos);
}

TEST_F(TondrelaRecord, UnreadableReplayFileFailsWithOne) {
    fs::path in = dir / "broken.csv";
    std::ofstream(in) << "raw\n12\nabc\n";
    EXPECT_EQ(Run("--simulate=" + in.string() + " --seconds 1"), 1);
    EXPECT_NE(Stderr().find("broken.csv:3"), std::string::npos) << Stderr();
    EXPECT_EQ(Run("--simulate=" + (dir / "absent.csv").string() + " --seconds 1"), 1);
}

} // namespace
