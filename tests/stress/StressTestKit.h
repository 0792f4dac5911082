#pragma once
// What the stress window's and report's tests share: a CHrv as the stress window makes it,
// filled with the committed resting pulse, and a finished test loaded back as the review does.

#include "analysis/Hrv.h"
#include "analysis/RecordingHeader.h"
#include "tests/common/TestInputs.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace stresstest {

constexpr int kSampleRate = 200;

// A CHrv with the stress window's attachments.
inline std::unique_ptr<CHrv> MakeStressHrv() {
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachRateDisplay();
    hrv->AttachRateChart(150);
    hrv->AttachPulseRing();
    hrv->AttachLfHfChart();
    return hrv;
}

inline const std::vector<int16_t>& RestingPulse() {
    static const std::vector<int16_t> pulse = [] {
        std::vector<int16_t> samples;
        for (const std::string& line : DataLines("neurokit_resting5min_raw.csv"))
            samples.push_back(static_cast<int16_t>(std::stoi(line)));
        return samples;
    }();
    return pulse;
}

// `seconds` of the resting pulse from `offset` samples on.
inline void FeedRestingPulse(CHrv& hrv, int seconds, int offset = 0) {
    const std::vector<int16_t>& pulse = RestingPulse();
    const int count = std::min<int>(seconds * kSampleRate, int(pulse.size()) - offset);
    if (count > 0)
        hrv.AddSamples(pulse.data() + offset, count);
}

// A stress test of 152 s of the resting pulse saved as `path` (.hrv) with a header of a man
// born in `birthYear`, loaded back and analysed: what the report shows for that recording.
inline std::unique_ptr<CHrv> FinishedTest(const std::string& path, int birthYear) {
    auto hrv = MakeStressHrv();
    FeedRestingPulse(*hrv, 152);
    RecordingHeader header;
    header.SetName("Kim");
    header.SetBirthYear(birthYear);
    header.SetSex(1);
    if (hrv->SaveRateFile(&header, path) != FileStatus::Ok)
        return nullptr;
    if (hrv->LoadRateFile(&header, path) != FileStatus::Ok)
        return nullptr;
    hrv->AnalyseHrv(1, hrv->Identity().age);
    return hrv;
}

} // namespace stresstest
