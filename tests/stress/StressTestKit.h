#pragma once
// What the stress window's and report's tests share besides SensorKit.h: the window as the
// main menu opens it, a CHrv as the window makes it filled with the committed resting pulse,
// and a finished test loaded back as the review does.

#include "analysis/Hrv.h"
#include "analysis/RecordingHeader.h"
#include "stress/DlgStress.h"
#include "tests/common/TestInputs.h"

#include "SensorKit.h"

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

// The window as the main menu opens it, at the screen's size with its picture.
inline std::unique_ptr<CDlgStress> OpenWindow() {
    auto window = std::make_unique<CDlgStress>();
    window->resize(TheApp().screenSize);
    window->SetBackground(
        TheApp().ResourcePath(QStringLiteral("IMAGE"), QStringLiteral("stress.jpg")));
    return window;
}

// Runs timer 2 until the test ends (at most `ticks` times); the number of ticks it took.
inline int RunSeconds(CDlgStress& window, int ticks) {
    int run = 0;
    while (run < ticks && window.TimerActive(CDlgStress::kSecondTimer)) {
        window.OnTimer(CDlgStress::kSecondTimer);
        ++run;
    }
    return run;
}

// Ten ticks of timer 1: the last one redraws every panel.
inline void RunFigureTick(CDlgStress& window) {
    for (int tick = 0; tick < 10; ++tick)
        window.OnTimer(CDlgStress::kGraphTimer);
}

} // namespace stresstest
