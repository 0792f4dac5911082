#include "apg/DlgApgReport.h"

#include "analysis/Hrv.h"
#include "apg/ApgReportLayout.h"
#include "app/Tondrela.h"

#include <QDate>
#include <QKeyEvent>

namespace {

const CReportFrame::Sheet kSheet = {ApgReport::kPageHeight, 30012, "apgReport.jpg",
                                    ApgReport::kControlLayout, ApgPrintedRect};

} // namespace

CDlgApgReport::CDlgApgReport(CHrv* hrv, QWidget* parent) : CReportFrame(hrv, parent, kSheet) {
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
    if (!hrv)
        return;
    m_data.history = BuildApgHistory(*hrv, TheApp().recordingsFolder, user.name, user.sex);

    // The page shows what the CHrv holds now: the last recording replayed, or the test.
    const RecordingIdentity identity = hrv->Identity();
    m_data.dateTimeText = QString::fromStdString(identity.dateTimeText);
    m_data.age = identity.age >= 1 ? identity.age : QDate::currentDate().year() - user.birthYear;
    m_data.summary = hrv->SummariseApg(m_data.age, user.sex);
    m_data.meanPulse = hrv->TimelineStats(&m_data.minPulse, &m_data.maxPulse);
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
