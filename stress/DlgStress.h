#pragma once
// The stress test window: runs a test of about two and a half minutes on the sensor. During
// the first minute the pulse wave is analysed as in the wellness test, and at the 61st second
// that recording is saved (when at least 20 good beats were seen); the test goes on until the
// rate display passes 150 seconds, then checks that at least 120 seconds of valid beats were
// recorded, analyses the heart-rate series, saves the rate recording and opens the stress
// report. Beside the test the window shows three health topics and three body-measure
// calculators.
//
// The test itself (the CHrv and the acquisition that feeds it, the timers, Start / Stop /
// Quit, the sounds, the connection label, the panels) is the frame of CTestDialog: see there
// who owns what, which thread touches what, and why the acquisition thread is joined before
// the CHrv is read for results, handed to the report or destroyed. The window reads the test
// only through the CHrv's copy-out readers.
//
// Threads: GUI thread only.

#include "analysis/ApgCanvas.h"
#include "stress/StressLayout.h"
#include "testframe/TestDialog.h"

#include <QImage>

class QLineEdit;
class QRadioButton;

class CDlgStress : public CTestDialog {
    Q_OBJECT
public:
    static constexpr int kApgSeconds = 60;        // the wellness part ends at the tick after this
    static constexpr int kTestSeconds = 150;      // the test ends when the rate display passes it
    static constexpr int kMinBeatSeconds = 120;   // valid beat time a rate recording needs
    static constexpr int kRateChartSeconds = 150; // span of the attached rate chart

    explicit CDlgStress(QWidget* parent = nullptr);
    ~CDlgStress() override;

    // --- Commands (the buttons call them) ---
    // Analyses the rates recorded so far (message 40018 when they are too few) and opens the
    // report on them.
    void OnResult() override;
    // Shows topic 1..3 (a page) or 4..6 (its calculator).
    void ShowTopic(int topic);
    // Reads the calculator's inputs and shows its outputs (topics 4..6).
    void Calculate(int topic);

    int Topic() const { return m_topic; }
    // 1 from Start until the pulse recording was handled after the 60th second.
    bool ApgPhase() const { return m_apgPhase; }
    QLineEdit* Edit(int id) const;
    QRadioButton* Radio(int id) const;

protected:
    void OnCommand(int id) override;
    void PlaceMovableControls() override;
    void LoadPictures() override;
    void TestStarted() override;
    void DrawGraphTick(bool figures) override;
    void SecondTick() override;
    void RedrawPanels() override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateCalculatorControls();
    void SkinControls();
    // The end of the first minute; false when its figures were too few to be saved.
    bool EndOfApgPhase();
    void EndOfTest();
    void DrawCharts();
    void DrawWellnessFigures();
    int ChartBarWidth() const;

    int m_topic = 1;
    bool m_apgPhase = false;
    int m_bodyMassCategory = -1;          // of the index shown, -1 while none
    QImage m_infoPictures[kStressTopics]; // scaled to their rectangles
};
