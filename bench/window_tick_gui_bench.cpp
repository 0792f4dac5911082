// Cost of the heaviest tick of the test windows' 50 ms timer: the tenth, which redraws every
// panel (the graphs, and the charts and figures; in the stress window's first minute the
// wellness figures as well); with repaint:1 also the repaint of the window that it causes.
// Offscreen at 1600 x 1000 over the staged pictures, on a test of full length: 60 s of pulse
// in the wellness window, 150 s in the stress window (its first-minute flag still set).

#include "analysis/Hrv.h"
#include "apg/DlgApg.h"
#include "app/Tondrela.h"
#include "device/SensorLink.h"
#include "device/SimulatedSensor.h"
#include "device/SyntheticPulseSource.h"
#include "stress/DlgStress.h"

#include <QApplication>
#include <QDate>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

// The application as the main menu leaves it, with a sensor that takes requests and never
// answers: a started test whose loop feeds nothing, so that the benchmark feeds the CHrv.
void SetUpApplication() {
    CTondrelaApp& app = TheApp();
    app.InitInstance(QSize(1600, 1000), QStringLiteral(TONDRELA_STAGE_DIR "/bin"));
    app.RegisterLanguageTables();
    app.languageIndex = 2;
    LoadMessageList(app.messageList, app.CurrentTable(), "Tondrela-message", true);
    app.CurrentUser = UserRecord{QStringLiteral("Kim"), QDate::currentDate().year() - 45, 1, {}};
    app.userLine = FormatUserLine(app.CurrentUser, QDate::currentDate().year());
    auto sensor = std::make_unique<SimulatedSensor>(std::make_unique<SyntheticPulseSource>(), 1.0);
    sensor->SetAnswering(false);
    auto link = std::make_unique<SensorLink>(std::move(sensor), std::chrono::hours(1));
    link->StartUp({});
    app.SetLink(std::move(link));
}

template <class Window> void FigureTick(benchmark::State& state, const char* picture, int seconds) {
    Window window;
    window.resize(TheApp().screenSize);
    window.SetBackground(TheApp().ResourcePath(QStringLiteral("IMAGE"), QString(picture)));
    window.show();
    QApplication::processEvents();
    window.OnStart();
    SyntheticPulseSource source;
    std::vector<int16_t> samples(static_cast<size_t>(seconds) * 200);
    for (int16_t& sample : samples)
        sample = source.Next();
    window.Hrv()->AddSamples(samples.data(), static_cast<int>(samples.size()));
    if (!window.AcquisitionRunning() || window.Hrv()->CopyRateDisplay().seconds < seconds - 3)
        state.SkipWithError("the test did not start");

    for (auto _ : state) {
        state.PauseTiming();
        for (int tick = 1; tick < 10; ++tick)
            window.OnTimer(Window::kGraphTimer);
        QApplication::processEvents();
        state.ResumeTiming();
        window.OnTimer(Window::kGraphTimer); // the tenth: every panel
        if (state.range(0))
            QApplication::processEvents(); // and the repaint
    }
    window.OnStop();
}

void BM_WellnessWindowFigureTick(benchmark::State& state) {
    FigureTick<CDlgApg>(state, "apg.jpg", 60);
}
BENCHMARK(BM_WellnessWindowFigureTick)
    ->ArgName("repaint")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

void BM_StressWindowFigureTick(benchmark::State& state) {
    FigureTick<CDlgStress>(state, "stress.jpg", 150);
}
BENCHMARK(BM_StressWindowFigureTick)
    ->ArgName("repaint")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    SetUpApplication();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TheApp().SetLink(nullptr);
    return 0;
}
