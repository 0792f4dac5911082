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

void RunLoop(SensorLink& link, CHrv& hrv, AcquisitionKind kind) {
    while (hrv.ThreadRun()) {
        link.SendRequestReport();
        link.ReadInputReport();
        const uint8_t* report = link.InputReport();
        int length = ReportSampleBytes(report, link.InputBytes());
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

int ApgAcquisitionThread(SensorLink& link, CHrv& hrv) {
    TRACE("APG Thread Start success !!! \n");
    RunLoop(link, hrv, AcquisitionKind::Apg);
    TRACE("APG Thread exit success \n");
    return 1;
}

int StressAcquisitionThread(SensorLink& link, CHrv& hrv) {
    RunLoop(link, hrv, AcquisitionKind::Stress);
    return 0;
}

CAcquisition::CAcquisition(SensorLink& link, CHrv& hrv, AcquisitionKind kind)
    : m_link(link), m_hrv(hrv), m_kind(kind) {}

CAcquisition::~CAcquisition() {
    if (m_started)
        Stop();
    Join();
}

void CAcquisition::Join() {
    if (m_thread.joinable())
        m_thread.join();
    if (m_claimed) {
        m_claimed = false;
        m_link.ReleaseLoop();
    }
}

int CAcquisition::Start() {
    if (m_started)
        return 1;
    Join();
    if (!m_link.ClaimLoop()) {
        TRACE("the sensor link runs another loop\n");
        return 0;
    }
    m_claimed = true;
    m_link.ResumeReads();
    m_hrv.SetThreadRun(true);
    try {
        if (m_kind == AcquisitionKind::Apg)
            m_thread = std::thread([this] { ApgAcquisitionThread(m_link, m_hrv); });
        else
            m_thread = std::thread([this] { StressAcquisitionThread(m_link, m_hrv); });
    } catch (const std::system_error&) {
        m_hrv.SetThreadRun(false);
        Join();
        return 0;
    }
    m_started = true;
    return 1;
}

void CAcquisition::Stop() {
    m_hrv.SetThreadRun(false);
    m_link.CancelRead();
    m_started = false;
}
