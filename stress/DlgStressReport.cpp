#include "stress/DlgStressReport.h"

#include "app/Tondrela.h"
#include "stress/StressReportLayout.h"

namespace {
const CReportFrame::Sheet kSheet = {StressReport::kPageHeight, 30013, "stressReport.jpg",
                                    StressReport::kControlLayout, StressPrintedRect};
} // namespace

CDlgStressReport::CDlgStressReport(CHrv* hrv, QWidget* parent, ReportSource source)
    : CReportFrame(hrv, parent, kSheet, source) {
    m_data.userLine = TheApp().userLine;
    if (hrv) {
        const RecordingIdentity identity = hrv->Identity();
        m_data.dateTimeText = QString::fromStdString(identity.dateTimeText);
        m_data.age = identity.age;
        m_data.result = hrv->Result();
        m_data.chart = hrv->CopyRateChart();
        m_data.rates = hrv->CopyRates();
    }
    ShowPage();
}

CDlgStressReport::~CDlgStressReport() = default;

QImage CDlgStressReport::ComposePage(QSize size, const QImage& picture) const {
    return ComposeStressReportPage(size, m_data, picture, TheApp().fontFace);
}
