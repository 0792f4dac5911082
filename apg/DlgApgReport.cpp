#include "apg/DlgApgReport.h"

#include "analysis/Hrv.h"
#include "apg/ApgReportLayout.h"
#include "app/Tondrela.h"

#include <QDate>
#include <QDir>
#include <QKeyEvent>

#include <memory>

namespace {

const CReportFrame::Sheet kSheet = {ApgReport::kPageHeight, 30012, "apgReport.jpg",
                                    ApgReport::kControlLayout, ApgPrintedRect};

} // namespace

CDlgApgReport::CDlgApgReport(CHrv* hrv, QWidget* parent, ReportSource source)
    : CReportFrame(hrv, parent, kSheet, source) {
    m_banner.load(TheApp().ResourcePath(QStringLiteral("banner"), QStringLiteral("banner.jpg")));
    CollectData();
    ShowPage();
}

CDlgApgReport::~CDlgApgReport() = default;

void CDlgApgReport::CollectData() {
    const CTondrelaApp& app = TheApp();
    const UserRecord& user = app.CurrentUser;
    m_data.userLine = app.userLine;
    CHrv* hrv = Hrv();
    const bool unsavedTest = Source() == ReportSource::UnsavedTest;
    const QString upTo = Source() == ReportSource::Recording && hrv
                             ? QString::fromStdString(hrv->Identity().name)
                             : QString();
    // A CHrv as the test window's: the history never replays into the opener's.
    auto replay = std::make_unique<CHrv>();
    AttachWellnessAnalysis(*replay);
    ApgHistory history = BuildApgHistory(*replay, app.recordingsFolder, user.name, user.sex, upTo);
    m_data.history = std::move(history.records);

    if (unsavedTest || history.last.isEmpty()) {
        if (hrv)
            TakeFigures(*hrv);
        if (unsavedTest) // the date of a test that has no recording: its start
            m_data.dateTimeText = app.testStartTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return;
    }
    if (!history.lastLoaded) {
        SetPageNote(GetMessageText(kUnreadableMessage) + QLatin1Char(' ') + history.last);
        SetShownRecording(QString());
        return;
    }
    SetShownRecording(QDir(app.recordingsFolder).filePath(history.last));
    TakeFigures(*replay);
}

void CDlgApgReport::TakeFigures(CHrv& shown) {
    const UserRecord& user = TheApp().CurrentUser;
    const RecordingIdentity identity = shown.Identity();
    m_data.dateTimeText = QString::fromStdString(identity.dateTimeText);
    m_data.age = identity.age >= 1 ? identity.age : QDate::currentDate().year() - user.birthYear;
    m_data.summary = shown.SummariseApg(m_data.age, user.sex);
    m_data.meanPulse = shown.TimelineStats(&m_data.minPulse, &m_data.maxPulse);
}

QImage CDlgApgReport::ComposePage(QSize size, const QImage& picture) const {
    return ComposeApgReportPage(size, m_data, picture, m_banner, TheApp().fontFace);
}

void CDlgApgReport::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        SetScroll(ScrollPosition() - kKeyStep);
        break;
    case Qt::Key_Down:
        SetScroll(ScrollPosition() + kKeyStep);
        break;
    default:
        CReportFrame::keyPressEvent(event);
    }
}
