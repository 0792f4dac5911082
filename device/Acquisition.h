#pragma once
// The acquisition loop of a test: request report, answer report, the answer's sample bytes
// into the analysis object (CHrv::FeedBytes), 10 ms pause, until the owner stops it.
// CAcquisition runs the loop on a thread of its own for one test window; the link admits one
// loop at a time (SensorLink::Gate), whichever window starts it.
//
// Threads: CAcquisition belongs to its window's (GUI) thread; the loop runs on the
// acquisition thread. Stop never waits. Start and the destructor wait for a loop that is
// still finishing (its pending read is cancelled by Stop, so this is at most one FeedBytes
// and the 10 ms pause); Start also waits so for another window's stopped loop.

#include "device/ReadCancel.h"

#include <thread>

class CHrv;
class SensorLink;

// Bytes of sample groups in an input report: 3·N for the signed count byte N at offset 1,
// no more than the received bytes after offset 2 hold; 0 when N is 0 or negative.
int ReportSampleBytes(const unsigned char* report, int receivedBytes);

// The loop of the APG test (returns 1) and of the stress test (returns 0); they differ only
// in their trace lines. Both run while hrv.ThreadRun() is set; cancel ends a pending read.
int ApgAcquisitionThread(SensorLink& link, CHrv& hrv, ReadCancel& cancel);
int StressAcquisitionThread(SensorLink& link, CHrv& hrv, ReadCancel& cancel);

enum class AcquisitionKind { Apg, Stress };

class CAcquisition {
public:
    CAcquisition(SensorLink& link, CHrv& hrv, AcquisitionKind kind);
    // Stops the loop and waits for its end: the CHrv may go away afterwards.
    ~CAcquisition();
    CAcquisition(const CAcquisition&) = delete;
    CAcquisition& operator=(const CAcquisition&) = delete;

    // 1 when a loop runs or was started. 0 when another window's loop runs on the link, or
    // when the thread could not be created (the thread-run flag is then cleared again). A
    // stopped loop that is still finishing, this window's or another's, is waited for
    // first, so that two loops never run side by side.
    int Start();
    // Clears the thread-run flag and cancels this loop's pending read; does not wait.
    void Stop();
    // True between a successful Start and Stop.
    bool Started() const { return m_started; }

private:
    SensorLink& m_link;
    CHrv& m_hrv;
    const AcquisitionKind m_kind;
    ReadCancel m_cancel;  // this loop's reads
    std::thread m_thread; // the running or finishing loop
    bool m_started = false;
};
