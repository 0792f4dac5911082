#pragma once
// The frame both test windows share (the wellness window CDlgApg and the stress window
// CDlgStress): the test's CHrv and the acquisition that feeds it, the three timers, the
// Start / Stop / Result / Quit flow, the start and end sounds, the connection label, the
// panels drawn over the window's picture and the layout of the controls.
//
// The window owns the CHrv and the acquisition. The acquisition thread only feeds the CHrv;
// the window reads it through the copy-out readers on its own timers: timer 1 (50 ms) redraws
// the graphs and every tenth tick the figures, timer 2 (1 s) counts the seconds and ends the
// test, timer 10 (1 s, from opening to closing) shows the sensor's connection state.
// Stopping a test, ending it, opening the report and closing the window stop the acquisition
// and wait for its thread (its pending read is cancelled, so this is at most one cycle's
// tail): the CHrv is never read for the results, handed to a report or destroyed while the
// thread feeds it.
//
// A running test is never thrown away by accident: while it runs, Escape does nothing and
// the close box (or closing the window otherwise) first asks whether to stop it (message
// 40041, Yes / No); No keeps the test running. Quit is disabled meanwhile. The sensor feeds
// one test at a time: Start while another window's test runs tells so (message 40045) and
// starts nothing.
//
// The report learns what the CHrv holds (ReportSource): nothing before the first test, an
// unsaved test from Start on, the saved recording once the derived window reports its save
// (TestSaved).
//
// Layout: the controls, panels and pictures are placed from the window's table in its
// 1600 x 1000 design space scaled to the window's own client area (ScaleX() x ScaleY()), at
// the screen's pixel density; Relayout() places them again, which every resize does. What
// holds for one test window's layout, keys and closing belongs in this class, so that it
// holds for both.
//
// Threads: GUI thread only.

#include "apg/ActionIcons.h"
#include "apg/ApgLayout.h"
#include "apg/ApgPanelSet.h"
#include "controls/BkDialog.h"
#include "device/Acquisition.h"
#include "testframe/ReportFrame.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <span>

class CButtonST;
class CHrv;
class CStaticEx;
class CTestSounds;
class QTimer;

class CTestDialog : public CBkDialog {
    Q_OBJECT
public:
    static constexpr int kGraphTimer = 1;       // 50 ms: graphs, and figures twice a second
    static constexpr int kSecondTimer = 2;      // 1 s: elapsed time and the end of the test
    static constexpr int kConnectionTimer = 10; // 1 s: the connection label
    static constexpr int kGraphPeriodMs = 50;
    static constexpr int kSecondPeriodMs = 1000;
    static constexpr int kConnectionPeriodMs = 1000;
    static constexpr int kMinSavedBeats = 20; // qualified beats a saved pulse recording needs
    static constexpr int kSaveFailedMessage = 40022;
    static constexpr int kStopToCloseMessage = 40041; // the question before closing a test
    static constexpr int kSensorBusyMessage = 40045;  // another window's test holds the link

    // Control IDs both windows have.
    static constexpr int kCloseId = 1006;
    static constexpr int kStartId = 1032;
    static constexpr int kStopId = 1033;
    static constexpr int kResultId = 1034;
    static constexpr int kQuitId = 1035;
    static constexpr int kStatusId = 1038;
    static constexpr int kUserLineId = 1039;

    // Opens the report on the window's CHrv, modally, with the window as owner; source says
    // what the CHrv holds.
    using ReportRunner = std::function<void(CHrv* hrv, ReportSource source, QWidget* owner)>;

    ~CTestDialog() override;

    // Keeps the path; loads the background (stretched to the window), the window's own
    // pictures and cuts the panel slices from it.
    void SetBackground(const QString& path);
    void SetReportRunner(ReportRunner runner);

    // --- Commands (the buttons call them) ---
    // Refused with message 40004 without a sensor, 40023 with one that cannot be opened
    // (SensorStartRefusal). Otherwise resets the CHrv, starts the
    // acquisition (a loop that cannot be started leaves an empty test), plays the start
    // sound and starts timers 1 and 2.
    void OnStart();
    // Stops the acquisition and waits for its thread, plays the end sound, stops timers 1
    // and 2. The running flag of the CHrv stays: the graphs keep what they show.
    void OnStop();
    virtual void OnResult() = 0;
    void OnQuit();

    // --- Timers: the QTimers call OnTimer; tests may call it directly. ---
    void OnTimer(int timerId);
    bool TimerActive(int timerId) const;

    // --- State (for the main menu and the tests) ---
    CHrv* Hrv() const { return m_hrv.get(); }
    bool AcquisitionRunning() const;
    // From Start until Stop or the end of the test.
    bool TestRunning() const;
    ReportSource Source() const { return m_source; }
    int ElapsedSeconds() const { return m_elapsedSeconds; }
    QRect PanelRect(ApgPanel panel) const { return m_panels.Rect(panel); }
    // The panel as drawn last (its background slice until it is first drawn).
    const QImage& PanelImage(ApgPanel panel) const { return m_panels.Image(panel); }
    const QImage& PanelBackground(ApgPanel panel) const { return m_panels.Background(panel); }
    CButtonST* Button(int id) const;
    CStaticEx* Static(int id) const;

    void done(int result) override;

protected:
    // kind: the loop of this window's tests; layout: the control table (design units);
    // timeFullSeconds: the seconds at which the time bar is full.
    CTestDialog(QWidget* parent, AcquisitionKind kind, std::span<const ControlLayoutRow> layout,
                int timeFullSeconds);

    // --- Building the window (the derived constructor calls these in order) ---
    // Creates the buttons and statics; a button click goes to OnCommand.
    void CreateControls(std::span<const int> buttonIds, std::span<const int> staticIds);
    // The statics in white on the picture, the action buttons round and transparent, the
    // idle enable states, timer 10 and the connection and user labels. Call after Relayout.
    void SkinCommonControls(std::span<const int> staticIds);
    // Places the controls from the table, then PlaceMovableControls, then cuts the panels.
    void Relayout();

    // Start, Stop, Result, Quit and the close box; the derived window adds its own.
    virtual void OnCommand(int id);
    // The derived window's controls that move with its pages (after each Relayout).
    virtual void PlaceMovableControls() {}
    // The derived window's pictures (SetBackground loads them).
    virtual void LoadPictures() {}
    // After Start has started the test.
    virtual void TestStarted() {}
    // Timer 1 while the CHrv runs; figures: the tenth tick (every 500 ms).
    virtual void DrawGraphTick(bool figures) = 0;
    // Timer 2, after the second was counted and the time panel drawn.
    virtual void SecondTick() = 0;
    // New panel slices start empty: what the panels showed is drawn again.
    virtual void RedrawPanels() = 0;

    // The layout scale: design units to pixels.
    double ScaleX() const;
    double ScaleY() const;
    QRect ScaledRect(const DesignRect& rect) const;

    // The enable state of a button, with the icon of its glyph when it has one.
    void SetActionGlyph(int id, ActionGlyph glyph);
    void SetActionEnabled(int id, bool enabled);

    // Stops the acquisition and waits for its thread.
    void StopAcquisition();
    // Stops the acquisition, then runs the report on the CHrv.
    void RunReport();
    // The test's recording was saved: from now on the report shows it.
    void TestSaved() { m_source = ReportSource::Recording; }
    void ShowMessage(int number);
    // The current user's age this year.
    int UserAge() const;
    // "<recordings folder>/<name>_YYYYMMDD_HHMMSS.<extension>" of the current user and the
    // test's start.
    QString RecordingPath(const char* extension) const;
    // Saves the pulse recording of the test with the user's header and the APG figures;
    // message 40022 when that fails.
    bool SavePulseRecording(const ApgSummary& summary, double apgIndex);

    CApgPanelSet& Panels() { return m_panels; }
    // What the wellness figures need beyond the test: the user's age, the face, the bands.
    ApgFigureTexts WellnessFigureTexts() const;

    // --- The explanatory pictures beside the test ---
    // A picture of the current language's IMAGE folder, scaled to the rectangle (null when it
    // cannot be read).
    QImage LoadScaledPicture(const QString& file, const DesignRect& rect) const;
    // The page buttons: white bars, the selected one's text red, the others grey.
    void SkinPageButtons(std::initializer_list<int> ids);
    void MarkPageButton(int id, bool selected);
    // A rectangle given in a picture's own pixels (kApgInfoPictureWidth x ...Height), in the
    // window's pixels where the picture is shown at `picture`.
    QRect OnPicture(const DesignRect& picture, const DesignRect& inPicture) const;
    // Places an icon button over the picture that way, shown or hidden.
    void PlaceOnPicture(int id, const DesignRect& picture, const DesignRect& inPicture,
                        bool visible);
    // The frame in opaque black, then the picture at its rectangle.
    void PaintInfoPicture(QPainter& painter, const DesignRect& frame, const QImage& picture,
                          const DesignRect& rect) const;

    void paintEvent(QPaintEvent* event) override;
    void ClientAreaChanged() override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QTimer* Timer(int timerId) const;
    // While a test runs: asks whether to stop it; on Yes stops it. True when no test runs
    // (any more).
    bool StopForClosing();
    void RefreshActionIcons();
    void CutPanelSlices();

    // Declared before the acquisition, so that the acquisition's thread is stopped and
    // joined before the CHrv it feeds goes away.
    std::unique_ptr<CHrv> m_hrv;
    std::unique_ptr<CAcquisition> m_acquisition;
    const AcquisitionKind m_kind;
    const std::span<const ControlLayoutRow> m_layout;
    const int m_timeFullSeconds;

    ReportRunner m_runReport;
    CTestSounds* m_sounds;
    QTimer* m_timers[3];
    std::map<int, ActionGlyph> m_glyphs;
    int m_tickPhase = 0;       // ms within the current half second, 0..450
    int m_elapsedSeconds = 0;  // since Start
    int m_lastConnection = -1; // SensorStartRefusal() when the state was shown last
    CApgPanelSet m_panels;
    ReportSource m_source = ReportSource::Nothing;
    bool m_closing = false;
};
