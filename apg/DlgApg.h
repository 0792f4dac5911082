#pragma once
// The wellness (APG) test window: runs a test of about one minute on the sensor, draws the
// pulse wave, its two derivatives and the figures as they come, saves the recording at the
// 61st second when at least 20 good beats were seen, and opens the report. Beside the test
// it shows four explanatory pictures.
//
// The test itself (the CHrv and the acquisition that feeds it, the timers, Start / Stop /
// Quit, the sounds, the connection label, the panels) is the frame of CTestDialog: see there
// who owns what, which thread touches what, and why the acquisition thread is joined before
// the CHrv is read for results, handed to the report or destroyed. Each panel is drawn into
// an image of its own over its slice of the background and copied to the window in one step;
// painting draws the background, the kept panel images and the selected explanatory picture.
//
// Threads: GUI thread only.

#include "analysis/ApgCanvas.h"
#include "apg/ApgLayout.h"
#include "testframe/TestDialog.h"

#include <QImage>

class CDlgApg : public CTestDialog {
    Q_OBJECT
public:
    static constexpr int kTestSeconds = 60; // the test ends at the tick after this

    explicit CDlgApg(QWidget* parent = nullptr);
    ~CDlgApg() override;

    // --- Commands (the buttons call them) ---
    // Opens the report on the test (a test that was stopped shows what it recorded).
    void OnResult() override;
    void ShowInfoPage(int page); // 1..4
    void OnHelp();               // a click on 1045, 1046 or 1047

    int SelectedInfoPage() const { return m_infoPage; }
    // The figures the panels show now (those of the last figure redraw).
    const ApgSummary& ShownSummary() const { return m_shownSummary; }

protected:
    void OnCommand(int id) override;
    void PlaceMovableControls() override;
    void LoadPictures() override;
    void DrawGraphTick(bool figures) override;
    void SecondTick() override;
    void RedrawPanels() override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SkinControls();
    void EndOfTest();
    void DrawFigures(const ApgSummary& summary);

    int m_infoPage = 1;
    ApgSummary m_shownSummary;
    QImage m_infoPictures[kApgInfoPages]; // scaled to their rectangles
};
