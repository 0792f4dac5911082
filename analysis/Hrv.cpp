#include "analysis/Hrv.h"

#include "analysis/BeatSearch.h"
#include "analysis/LfHfCanvas.h"
#include "analysis/Trace.h"
#include "analysis/proc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
// FeedBytes calls in progress in the whole process; a diagnostic, not a lock.
std::atomic<int> g_feedDepth{0};

constexpr uint8_t kMarkerA = 0xFF;
constexpr uint8_t kMarkerB = 0xFE;
} // namespace

// 4th-order Butterworth low-pass as two bilinear-transformed second-order sections, with
// an overall DC gain of 0.5. The pre-warping tangent is taken in single precision.
void CHrv::Filter::Design() {
    fourFs2 = 4 * fs * fs;
    eightFs2 = 8 * fs * fs;
    twoFs = 2 * fs;
    piOverFs = std::numbers::pi / fs;
    s1 = s2 = t1 = t2 = 0;
    fmin = 0.01 * fs;
    fmax = 0.45 * fs;
    double fc = std::clamp(cutoff, fmin, fmax);
    double r = std::clamp(resonance, 0.0, 1.0);

    double T = static_cast<double>(std::tan(static_cast<float>(fc * piOverFs)));
    double K = twoFs;
    double wa = T * K;
    double g = 1 / (wa * wa);
    double h = g * fourFs2 + 1;

    double l1 = 0.765367 / (6 * r + 1) / wa * K;
    double m1 = 1 / (h + l1);
    a1 = m1 * (2 - g * eightFs2);
    a2 = m1 * (h - l1);

    double l2 = 1.847759 / (6 * r + 1) / wa * K;
    double m2 = 1 / (h + l2);
    b1 = m2 * (2 - g * eightFs2);
    b2 = m2 * (h - l2);

    gain = 0.5 * m1 * m2;
}

double CHrv::Filter::Step(double x) {
    double w = gain * x - a1 * s1 - a2 * s2;
    double u = w + 2 * s1 + s2;
    s2 = s1;
    s1 = w;
    double w2 = u - b1 * t1 - b2 * t2;
    double y = w2 + 2 * t1 + t2;
    t2 = t1;
    t1 = w2;
    return y;
}

CHrv::CHrv() : m_decoded(kIntakeCapacity / 3 + 1) {
    ResetMeasurement();
}

CHrv::~CHrv() = default;

void CHrv::ResetMeasurement() {
    std::lock_guard<std::mutex> guard(m_lock);
    ResetLocked();
}

void CHrv::ResetLocked() {
    m_intake.Clear();
    m_raw.Clear();
    m_rawReceived = 0;
    m_signal.Clear();
    m_slope.Clear();
    m_slopeAverage.Clear();
    m_window.Clear();
    m_countdown = -1;
    m_tickCounter = 0;
    m_lastInterval = 0;
    m_lastBeatIndex = 0;
    m_apgLastIndex = -1;
    m_apgIntake = true;
    m_beatCount = 0;
    m_rates.Clear();
    m_resampled.Clear();
    m_running = 0;
    m_filter.Design();
    if (m_apg)
        m_apg->Reset();
    if (m_rateChart)
        m_rateChart->Reset(m_rateChart->Span());
    if (m_rateDisplay)
        *m_rateDisplay = RateDisplay{};
    if (m_pulseRing)
        m_pulseRing->Reset();
    if (m_lfHf)
        m_lfHf->Reset();
    m_identity.dateTimeText.clear();
    m_identity.age = -1;
}

void CHrv::AttachApg() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_apgIntake = true;
    if (m_apg)
        m_apg->Reset();
    else
        m_apg = std::make_unique<ApgCanvas>();
}

void CHrv::AttachRateDisplay() {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_rateDisplay)
        *m_rateDisplay = RateDisplay{};
    else
        m_rateDisplay = std::make_unique<RateDisplay>();
}

void CHrv::AttachRateChart(int spanSeconds) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_rateChart)
        m_rateChart->Reset(spanSeconds);
    else
        m_rateChart = std::make_unique<HrvCanvas>(spanSeconds);
}

void CHrv::AttachPulseRing() {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_pulseRing)
        m_pulseRing->Reset();
    else
        m_pulseRing = std::make_unique<PulseRing>();
}

void CHrv::AttachLfHfChart() {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_lfHf)
        m_lfHf->Reset();
    else
        m_lfHf = std::make_unique<LfHfCanvas>();
}

void CHrv::FeedBytes(const uint8_t* bytes, int length) {
    int depth = g_feedDepth.fetch_add(1);
    if (depth != 0)
        TRACE("### reEntered! (%d) ###\n", depth);
    {
        std::lock_guard<std::mutex> guard(m_lock);
        for (int i = 0; i < length; ++i) {
            if (m_intake.Full())
                DecodeSamplesLocked();
            m_intake.Append(bytes[i]); // dropped when the queue is still full
        }
        if (m_intake.Count() >= 3)
            DecodeSamplesLocked();
    }
    g_feedDepth.fetch_sub(1);
}

// One pass over the intake queue: groups of marker (0xFF or 0xFE), high and low byte become
// signed 16-bit samples; any other byte where a marker is due is skipped, which finds the
// group boundaries again after a lost byte. Up to two bytes of an unfinished group stay.
void CHrv::DecodeSamplesLocked() {
    const int queued = m_intake.Count();
    const uint8_t* bytes = m_intake.Data();
    int pos = 0;
    int n = 0;
    while (queued - pos >= 3) {
        uint8_t b = bytes[pos++];
        if (b != kMarkerA && b != kMarkerB)
            continue;
        int high = bytes[pos];
        int low = bytes[pos + 1];
        pos += 2;
        m_decoded[static_cast<size_t>(n++)] = static_cast<int16_t>(high * 256 + low);
    }
    m_intake.DropFront(pos);
    if (n >= queued / 3)
        m_running = 1;
    if (n > 0)
        AddSamplesLocked(m_decoded.data(), n);
}

void CHrv::AddSamples(const int16_t* samples, int count) {
    std::lock_guard<std::mutex> guard(m_lock);
    AddSamplesLocked(samples, count);
}

void CHrv::AddSamplesLocked(const int16_t* samples, int count) {
    for (int i = 0; i < count; ++i)
        AddSampleLocked(samples[i]);
}

void CHrv::AddSampleLocked(double x) {
    m_raw.Push(x);
    ++m_rawReceived;
    double y = m_filter.Step(x);
    if (m_raw.Count() < kSettlingSamples)
        return;

    double v = 1024 - y;
    m_signal.Push(v);
    double d = 0;
    if (m_signal.Count() >= 2) {
        d = m_slopeAverage.Push(m_signal.Back() - m_signal[m_signal.Count() - 2]);
        m_slope.Push(d);
    }

    if (m_pulseRing)
        m_pulseRing->values.Push(v);
    ApgCanvas* apg = ApgIntake();
    if (apg && apg->PulseCount() < ApgCanvas::kSeriesCapacity) {
        apg->AddSample(v);
        m_apgLastIndex = apg->LastSampleIndex();
    } else if (apg) {
        // Its series hold the first 65 s. A later beat would be analysed on a window that no
        // longer moves and repeat an earlier beat's row: the intake ends here, as the stress
        // window ends it after the first minute.
        m_apgIntake = false;
    }

    m_window.Push(d);
    if (!m_window.Full())
        return;

    if (++m_tickCounter == kSamplesPerTick) {
        m_tickCounter = 0;
        AddRateLocked(true, HrvCanvas::kTick);
    }

    if (m_countdown < 0)
        m_countdown = FirstLobeEnd(m_window.Data(), kDetectionWindow);
    if (m_countdown > 0)
        --m_countdown;
    if (m_countdown == 0)
        EvaluateBeat();
}

// A beat is evaluated when the end of the previous beat's slope lobe reaches the start of
// the window; the countdown of the first one comes from the first lobe in the window.
void CHrv::EvaluateBeat() {
    int a = NextLobeEnd(m_window.Data(), kDetectionWindow);
    if (a == 0) {
        m_lastInterval = 0;
        m_countdown = kNoBeatWait;
        AddRateLocked(true, 0);
        return;
    }

    ApgCanvas* apg = ApgIntake();
    double rate = 12000.0 / a; // 60 s × 200 samples/s over the interval in samples
    if (rate >= 30 && rate <= 240) {
        if (apg) {
            double strength = 0;
            if (m_pulseRing) {
                m_pulseRing->UpdateRange();
                strength = m_pulseRing->StrengthPercent();
            }
            apg->AnalyseBeat(strength);
        }
    } else {
        rate = 0;
    }

    int index = m_signal.Count() - kDetectionWindow + a - 1;
    if (m_beatCount < kBeatCapacity) {
        m_beatIndex[m_beatCount] = index;
        m_beatValue[m_beatCount] = m_signal[index];
        m_beatRate[m_beatCount] = rate;
        ++m_beatCount;
    }
    m_lastBeatIndex = index;
    if (apg) {
        int apgIndex = m_apgLastIndex + a - kDetectionWindow;
        int apgCount = apg->PulseCount();
        double apgValue = apgIndex >= 0 && apgIndex < apgCount
                              ? apg->Data(ApgCanvas::Series::Pulse)[apgIndex]
                              : 0.0;
        apg->AppendBeat(apgIndex, apgValue, rate);
        TRACE("bpm: %.2f, Index : %d, value :%.2f \n", rate, apgIndex, apgValue);
    }

    if (rate != 0) {
        m_countdown = a;
    } else {
        m_countdown = kNoBeatWait;
        a = 0;
    }
    m_lastInterval = a;
    AddRateLocked(true, rate);
}

void CHrv::AddRate(bool redraw, double value) {
    std::lock_guard<std::mutex> guard(m_lock);
    AddRateLocked(redraw, value);
}

void CHrv::AddRateLocked(bool redraw, double value) {
    if (value == HrvCanvas::kTick) {
        if (!m_rateChart)
            return;
        m_rateChart->Append(value);
        if (m_rateChart->TickCount() % 4 == 0) {
            if (m_lfHf)
                UpdateLfHf(m_rates.Data(), m_rates.Count(), *m_lfHf);
            if (m_rateDisplay)
                m_rateDisplay->seconds = m_rateChart->TickCount() / 4;
        }
    } else if (value == 0 || (value >= 30 && value <= 240)) {
        if (m_rates.Full())
            m_rates.PopFront();
        m_rates.Append(value);
        if (m_rateChart)
            m_rateChart->Append(value);
        if (m_rateDisplay)
            m_rateDisplay->rateBpm = value;
        if (ApgCanvas* apg = ApgIntake())
            apg->AppendRate(value);
    } else {
        return;
    }
    if (redraw)
        ++m_chartRevision;
}

const double* CHrv::SeriesData(Series which, int* count) const {
    switch (which) {
    case Series::Raw:
        *count = m_raw.Count();
        return m_raw.Data();
    case Series::Signal:
        *count = m_signal.Count();
        return m_signal.Data();
    case Series::Slope:
        *count = m_slope.Count();
        return m_slope.Data();
    case Series::ApgPulse:
    case Series::ApgDiff1:
    case Series::ApgDiff2: {
        if (!m_apg) {
            *count = 0;
            return nullptr;
        }
        auto apgSeries = which == Series::ApgPulse   ? ApgCanvas::Series::Pulse
                         : which == Series::ApgDiff1 ? ApgCanvas::Series::Diff1
                                                     : ApgCanvas::Series::Diff2;
        *count = m_apg->Count(apgSeries);
        return m_apg->Data(apgSeries);
    }
    }
    *count = 0;
    return nullptr;
}

int CHrv::Count(Series which) const {
    std::lock_guard<std::mutex> guard(m_lock);
    int count = 0;
    SeriesData(which, &count);
    return count;
}

int CHrv::CopySeriesTail(Series which, double* dst, int maxCount, int* total,
                         double* extent) const {
    std::lock_guard<std::mutex> guard(m_lock);
    int count = 0;
    const double* data = SeriesData(which, &count);
    int n = std::clamp(count, 0, std::max(maxCount, 0));
    std::copy(data + (count - n), data + count, dst);
    if (total)
        *total = count;
    if (extent)
        *extent = std::max(std::fabs(f_max(data, count)), std::fabs(f_min(data, count)));
    return n;
}

long long CHrv::CopyRawFrom(long long first, std::vector<double>* dst) const {
    std::lock_guard<std::mutex> guard(m_lock);
    const long long held = m_raw.Count();
    const long long from = std::max(first, m_rawReceived - held);
    dst->clear();
    if (from < m_rawReceived) {
        const double* data = m_raw.Data() + (from - (m_rawReceived - held));
        dst->assign(data, data + (m_rawReceived - from));
    }
    return m_rawReceived;
}

bool CHrv::PulseRingRange(int* minValue, int* maxValue) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_pulseRing)
        return false;
    m_pulseRing->UpdateRange();
    *minValue = m_pulseRing->minValue;
    *maxValue = m_pulseRing->maxValue;
    return true;
}

RateDisplay CHrv::CopyRateDisplay() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_rateDisplay ? *m_rateDisplay : RateDisplay{};
}

namespace {
std::vector<double> CopyQueue(const ElementQueue<double>& queue) {
    return std::vector<double>(queue.Data(), queue.Data() + queue.Count());
}
} // namespace

std::vector<double> CHrv::CopyRates() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return CopyQueue(m_rates);
}

std::vector<double> CHrv::CopyResampledRates() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return CopyQueue(m_resampled);
}

std::vector<double> CHrv::CopyTimeline() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_rateChart ? CopyQueue(m_rateChart->Timeline()) : std::vector<double>{};
}

std::vector<double> CHrv::CopyLfHistory() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_lfHf ? CopyQueue(m_lfHf->History()) : std::vector<double>{};
}

RateChartCopy CHrv::CopyRateChart() const {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_rateChart)
        return RateChartCopy{};
    return RateChartCopy{CopyQueue(m_rateChart->Timeline()), m_rateChart->DroppedTicks(),
                         m_rateChart->ScrollPosition(), m_rateChart->TickCount()};
}

LfHfChartCopy CHrv::CopyLfHfChart() const {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_lfHf)
        return LfHfChartCopy{};
    return LfHfChartCopy{CopyQueue(m_lfHf->History()), m_lfHf->DroppedValues(),
                         m_lfHf->ScrollPosition()};
}

void CHrv::StopApgIntake() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_apgIntake = false;
}

double CHrv::CleanRateQueue(int* cleanedCount) {
    std::lock_guard<std::mutex> guard(m_lock);
    const int n = m_rates.Count();
    std::vector<double> cleaned(static_cast<size_t>(n));
    const int c = f_cleanrate(cleaned.data(), m_rates.Data(), n);
    m_resampled.Clear();
    for (int i = 0; i < c; ++i)
        m_resampled.Append(cleaned[static_cast<size_t>(i)]);
    *cleanedCount = c;
    return f_beattime(cleaned.data(), c);
}

int CHrv::TimelineTicks() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_rateChart ? m_rateChart->TickCount() : 0;
}

double CHrv::TimelineStats(double* minRate, double* maxRate) const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_rateChart ? m_rateChart->TimelineStats(minRate, maxRate) : 0;
}

int CHrv::BeatCount() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_beatCount;
}

BeatEntry CHrv::Beat(int i) const {
    std::lock_guard<std::mutex> guard(m_lock);
    if (i < 0 || i >= m_beatCount)
        return BeatEntry{};
    return BeatEntry{m_beatIndex[i], m_beatValue[i], m_beatRate[i]};
}

int CHrv::LastInterval() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_lastInterval;
}

ApgSummary CHrv::SummariseApg(int age, int sex) {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_apg ? m_apg->Summarise(age, sex) : ApgSummary{};
}

HrvResult CHrv::Result() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_result;
}

RecordingIdentity CHrv::Identity() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_identity;
}

void CHrv::SetAge(int age) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_identity.age = age;
}
