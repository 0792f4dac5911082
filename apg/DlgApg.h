#pragma once
// The wellness (APG) test window: runs a test of about one minute on the sensor, draws the
// pulse wave, its two derivatives and the figures as they come, saves the recording at the
// 61st second when at least 20 good beats were seen, and opens the report. Beside the test
// it shows four explanatory pictures.
//
// The window owns the test's CHrv and the acquisition that feeds it. The acquisition thread
// only feeds the CHrv; the window reads it through the copy-out readers on its own timers:
// timer 1 (50 ms) redraws the graphs and every tenth tick the figures, timer 2 (1 s) counts
// the seconds and ends the test, timer 10 (1 s) shows the sensor's connection state.
// Stopping a test, ending it and closing the window stop the acquisition and wait for its
// thread (its pending read is cancelled, so this is at most one cycle's tail), so the CHrv
// is never read for the results, handed to the report or destroyed while the thread feeds it.
//
// Each panel is drawn into an image of its own over its slice of the background and copied
// to the window in one step (CApgPanelSet); painting draws the background, the kept panel
// images and the selected explanatory picture.
//
// Threads: GUI thread only.

#include "analysis/ApgCanvas.h"
#include "apg/ApgLayout.h"
#include "apg/ApgPanelSet.h"
#include "controls/BkDialog.h"

#include <QImage>
#include <QRect>
#include <QTimer>

#include <functional>
#include <memory>

class CAcquisition;
class CButtonST;
class CHrv;
class CStaticEx;
class CTestSounds;

class CDlgApg : public CBkDialog {
    Q_OBJECT
public:
    static constexpr int kGraphTimer = 1;       // 50 ms: graphs, and figures twice a second
    static constexpr int kSecondTimer = 2;      // 1 s: elapsed time and the end of the test
    static constexpr int kConnectionTimer = 10; // 1 s: the connection label
    static constexpr int kGraphPeriodMs = 50;
    static constexpr int kSecondPeriodMs = 1000;
    static constexpr int kConnectionPeriodMs = 1000;
    static constexpr int kTestSeconds = 60;       // the test ends at the tick after this
    static constexpr int kMinSavedBeats = 20;     // qualified beats a saved test needs
    static constexpr int kRateChartSeconds = 300; // span of the attached rate chart
    static constexpr int kSaveFailedMessage = 40022;

    // Opens the report on the window's CHrv, modally, with the window as owner.
    using ReportRunner = std::function<void(CHrv* hrv, QWidget* owner)>;

    explicit CDlgApg(QWidget* parent = nullptr);
    ~CDlgApg() override;

    // Keeps the path; loads the background (stretched to the window), cuts the panel slices
    // from it and loads the four explanatory pictures of the current language.
    void SetBackground(const QString& path);
    void SetReportRunner(ReportRunner runner);

    // --- Commands (the buttons call them) ---
    void OnStart();
    void OnStop();
    void OnResult();
    void OnQuit();
    void ShowInfoPage(int page); // 1..4
    void OnHelp();               // a click on 1045, 1046 or 1047

    // --- Timers: the QTimers call OnTimer; tests may call it directly. ---
    void OnTimer(int timerId);
    bool TimerActive(int timerId) const;

    // --- State (for the main menu and the tests) ---
    CHrv* Hrv() const { return m_hrv.get(); }
    bool AcquisitionRunning() const;
    int ElapsedSeconds() const { return m_elapsedSeconds; }
    int SelectedInfoPage() const { return m_infoPage; }
    // The figures the panels show now (those of the last figure redraw).
    const ApgSummary& ShownSummary() const { return m_shownSummary; }
    QRect PanelRect(ApgPanel panel) const { return m_panels.Rect(panel); }
    // The panel as drawn last (its background slice until it is first drawn).
    const QImage& PanelImage(ApgPanel panel) const { return m_panels.Image(panel); }
    const QImage& PanelBackground(ApgPanel panel) const { return m_panels.Background(panel); }
    CButtonST* Button(int id) const;
    CStaticEx* Static(int id) const;

    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void SkinControls();
    void ApplyLanguageToWindow();
    QTimer* Timer(int timerId) const;
    void SetActionEnabled(int id, bool enabled);
    void ShowConnectionState(bool connected);
    void StopAcquisition();
    void EndOfTest();
    void SaveRecording(const ApgSummary& summary);
    void OpenReport();
    void LoadInfoPictures();
    void CutPanelSlices();
    void PlaceInfoPageButtons();

    void DrawFigures(const ApgSummary& summary);
    ApgFigureTexts FigureTexts() const;
    int UserAge() const;

    // Declared before the acquisition, so that the acquisition's thread is stopped and
    // joined before the CHrv it feeds goes away.
    std::unique_ptr<CHrv> m_hrv;
    std::unique_ptr<CAcquisition> m_acquisition;

    ReportRunner m_runReport;
    CTestSounds* m_sounds;
    QTimer* m_timers[3];
    int m_tickPhase = 0;      // ms within the current half second, 0..450
    int m_elapsedSeconds = 0; // since Start
    int m_infoPage = 1;
    int m_lastConnection = -1; // the connection state shown last, -1 before the first
    ApgSummary m_shownSummary;

    CApgPanelSet m_panels;
    QImage m_infoPictures[kApgInfoPages]; // scaled to their rectangles
    bool m_closing = false;
};
