#include "device/Acquisition.h"

#include "analysis/Hrv.h"
#include "analysis/Trace.h"
#include "device/SensorLink.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <system_error>

namespace {
constexpr std::chrono::milliseconds kCyclePause{10};

void RunLoop(SensorLink& link, CHrv& hrv, ReadCancel& cancel, AcquisitionKind kind) {
    uint8_t report[SensorLink::kReportBufferBytes];
    while (hrv.ThreadRun()) {
        const int received = link.ExchangeReports(report, cancel);
        const int length = ReportSampleBytes(report, received);
        hrv.FeedBytes(report + 2, length);
        if (kind == AcquisitionKind::Apg)
            TRACE("input length : %d:\n", length);
        else
            TRACE("STRESS input length : %d:\n", length);
        std::this_thread::sleep_for(kCyclePause);
    }
}
} // namespace

int ReportSampleBytes(const unsigned char* report, int receivedBytes) {
    int groups = static_cast<int8_t>(report[1]);
    if (groups <= 0)
        return 0;
    return std::min(3 * groups, std::max(receivedBytes - 2, 0));
}

int ApgAcquisitionThread(SensorLink& link, CHrv& hrv, ReadCancel& cancel) {
    TRACE("APG Thread Start success !!! \n");
    RunLoop(link, hrv, cancel, AcquisitionKind::Apg);
    TRACE("APG Thread exit success \n");
    return 1;
}

int StressAcquisitionThread(SensorLink& link, CHrv& hrv, ReadCancel& cancel) {
    RunLoop(link, hrv, cancel, AcquisitionKind::Stress);
    return 0;
}

CAcquisition::CAcquisition(SensorLink& link, CHrv& hrv, AcquisitionKind kind)
    : m_link(link), m_hrv(hrv), m_kind(kind) {}

CAcquisition::~CAcquisition() {
    if (m_started)
        Stop();
    if (m_thread.joinable())
        m_thread.join();
}

int CAcquisition::Start() {
    if (m_started)
        return 1;
    if (m_thread.joinable())
        m_thread.join();
    if (!m_link.Gate().Enter(this))
        return 0;
    m_cancel.Clear();
    m_hrv.SetThreadRun(true);
    try {
        m_thread = std::thread([this] {
            if (m_kind == AcquisitionKind::Apg)
                ApgAcquisitionThread(m_link, m_hrv, m_cancel);
            else
                StressAcquisitionThread(m_link, m_hrv, m_cancel);
            m_link.Gate().Leave(this);
        });
    } catch (const std::system_error&) {
        m_hrv.SetThreadRun(false);
        m_link.Gate().Leave(this);
        return 0;
    }
    m_started = true;
    return 1;
}

void CAcquisition::Stop() {
    m_hrv.SetThreadRun(false);
    m_cancel.Request();
    m_link.Gate().Stopping(this);
    m_started = false;
}
