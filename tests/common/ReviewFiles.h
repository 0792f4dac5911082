#pragma once
// Recordings of a person as the tests save them, made by the program's own analysis from the
// committed five minutes of resting pulse: a wellness test keeps 61 s (.ppg), a stress test
// 150 s (.hrv). Shared by the review's tests and its benchmark.

#include "analysis/Hrv.h"
#include "analysis/RecordingHeader.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace reviewfiles {

constexpr int kPulseSamples = 61 * 200;
constexpr int kRateSamples = 150 * 200;

// The resting pulse of tests/data (300 s at 200 samples per second).
inline const std::vector<int16_t>& RestingPulse() {
    static const std::vector<int16_t> samples = [] {
        std::vector<int16_t> values;
        std::ifstream in(std::string(TONDRELA_TEST_DATA) + "/neurokit_resting5min_raw.csv");
        std::string line;
        std::getline(in, line); // "raw"
        while (std::getline(in, line))
            values.push_back(static_cast<int16_t>(std::stoi(line)));
        return values;
    }();
    return samples;
}

// "YYYYMMDD_HHMMSS" of a person's n-th test (n from 0): one test a day from 2024-01-01 on,
// at 09:00:00 plus n minutes and seconds, so that name order is test order.
inline std::string Stamp(int n) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d_%02d%02d%02d", 2024, 1 + n / 28 % 12, 1 + n % 28,
                  9, n % 60, n % 60);
    return text;
}

// Where in the resting pulse the n-th test starts: tests differ from each other.
inline int Offset(int n, int length) {
    const int room = static_cast<int>(RestingPulse().size()) - length;
    return room > 0 ? (n * 1237) % room : 0;
}

inline RecordingHeader Header(const std::string& name, int birthYear, int sex) {
    RecordingHeader header;
    header.SetName(name);
    header.SetBirthYear(birthYear);
    header.SetSex(sex);
    return header;
}

inline std::string PathOf(const std::filesystem::path& folder, const std::string& name,
                          const std::string& stamp, const char* extension) {
    return (folder / (name + "_" + stamp + extension)).string();
}

// Saves the n-th wellness test of the person; true when it was written.
inline bool SavePulseRecording(const std::filesystem::path& folder, const std::string& name, int n,
                               int birthYear, int sex) {
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachRateChart(300);
    hrv->AttachPulseRing();
    hrv->AddSamples(RestingPulse().data() + Offset(n, kPulseSamples), kPulseSamples);
    const RecordingHeader header = Header(name, birthYear, sex);
    return hrv->SavePulseFile(PathOf(folder, name, Stamp(n), ".ppg"), &header) == FileStatus::Ok;
}

// Saves the rate recording of the person's n-th stress test; true when it was written.
inline bool SaveRateRecording(const std::filesystem::path& folder, const std::string& name, int n,
                              int birthYear, int sex) {
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachRateChart(150);
    hrv->AddSamples(RestingPulse().data() + Offset(n, kRateSamples), kRateSamples);
    RecordingHeader header = Header(name, birthYear, sex);
    if (hrv->AnalyseHrv(sex, 2024 - birthYear) == HrvStatus::Ok)
        header.SetValue(hrv->Result().stressScoreCopy);
    return hrv->SaveRateFile(&header, PathOf(folder, name, Stamp(n), ".hrv")) == FileStatus::Ok;
}

} // namespace reviewfiles
