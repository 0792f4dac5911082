#pragma once
// What the wellness window's tests share besides SensorKit.h: the window as the main menu
// opens it, and its seconds run to the end.

#include "analysis/Hrv.h"
#include "apg/DlgApg.h"

#include "SensorKit.h"

#include <memory>

namespace apgtest {

using testkit::LimitedSensor;
using testkit::SetUpApplication;
using testkit::UsePlatform;
using testkit::UseSimulatedSensor;

// The window as the main menu opens it, at the screen's size with its picture.
inline std::unique_ptr<CDlgApg> OpenWindow() {
    auto window = std::make_unique<CDlgApg>();
    window->resize(TheApp().screenSize);
    window->SetBackground(
        TheApp().ResourcePath(QStringLiteral("IMAGE"), QStringLiteral("apg.jpg")));
    return window;
}

// Runs timer 2 until the test ends (at most `ticks` times); the number of ticks it took.
inline int RunSecondsToTheEnd(CDlgApg& window, int ticks = 61) {
    int run = 0;
    while (run < ticks && window.TimerActive(CDlgApg::kSecondTimer)) {
        window.OnTimer(CDlgApg::kSecondTimer);
        ++run;
    }
    return run;
}

} // namespace apgtest
