#include "analysis/ApgCanvas.h"

#include "analysis/proc.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

enum Wave { kA, kB, kC, kD, kE };

// Reference c/a (mean, standard deviation) per row k = 2 * age decade + sex - 1, decades 0-9
// to 80-89, men in the even rows and women in the odd ones.
struct Reference {
    double mean;
    double deviation;
};
constexpr Reference kWellnessReference[] = {
    {-0.150551938, 0.162711175}, {-0.099298858, 0.144801272}, // 0-9
    {-0.150551938, 0.162711175}, {-0.099298858, 0.144801272}, // 10-19
    {-0.150551938, 0.162711175}, {-0.099298858, 0.144801272}, // 20-29
    {-0.176607428, 0.145522589}, {-0.156859551, 0.1307426},   // 30-39
    {-0.2276262, 0.143983748},   {-0.222905729, 0.123644038}, // 40-49
    {-0.278634915, 0.147236904}, {-0.288345563, 0.131119894}, // 50-59
    {-0.312429343, 0.136264465}, {-0.324925089, 0.134790533}, // 60-69
    {-0.316226077, 0.126712209}, {-0.322970355, 0.13910662},  // 70-79
    {-0.35966, 0.157273623},     {-0.364420435, 0.128414476}, // 80-89
};
constexpr int kWellnessRows = static_cast<int>(std::size(kWellnessReference));

// Reference d/a per age decade, 0-9 to 80-89.
constexpr double kPressureReference[] = {-0.05, -0.07, -0.08, -0.14, -0.24,
                                         -0.26, -0.30, -0.32, -0.38};
constexpr int kPressureDecades = static_cast<int>(std::size(kPressureReference));

// Language-table messages of the blood-pressure tendency.
constexpr int kPressureABitLow = 40012;
constexpr int kPressureNormal = 40013;
constexpr int kPressureABitHigh = 40014;
constexpr int kPressureHigh = 40015;

double IntervalMs(int samples) {
    return samples * 1000 / ApgCanvas::kSampleRate;
}

enum Type { kTypeA, kTypeB, kTypeC, kTypeD, kTypeE, kTypeF, kTypeG };

// Wellness type from the b, c and d amplitudes; the order of the tests matters.
Type DecideType(double b, double c, double d) {
    const double u = std::fabs(b);
    const double t = std::fabs(d);
    const double m = std::fabs(c);
    if (c > 0 && (d >= 0 || u / 5 >= t))
        return kTypeA;
    if (t < 2 * u / 3)
        return m < t ? kTypeB : kTypeC;
    if (t > 2 * u)
        return kTypeG;
    if (t > 5 * u / 3)
        return kTypeF;
    if (t > 4 * u / 3)
        return kTypeE;
    return m < u / 2 ? kTypeC : kTypeD;
}

bool Qualified(const ApgBeatRow& row) {
    return row.strength >= ApgCanvas::kQualifiedStrength;
}

// Sorts the values; above 40 of them the 10 smallest are left out of the mean. count > 0.
double TrimmedMean(double* values, int count) {
    std::sort(values, values + count);
    const int skip = count > 40 ? 10 : 0;
    return f_mean(values + skip, count - skip);
}

} // namespace

ApgCanvas::ApgCanvas() = default;

ApgCanvas::~ApgCanvas() = default;

void ApgCanvas::Reset() {
    m_pulse.Clear();
    m_diff1.Clear();
    m_diff2.Clear();
    m_diff3.Clear();
    for (Smoother* s : {&m_smooth1, &m_smooth2, &m_smooth3})
        s->Clear();
    m_windowLength = 0;
    m_windowOffset = 0;
    m_rowCount = 0;
    std::fill(std::begin(m_means), std::end(m_means), 0.0);
    m_rates.Clear();
    m_beatListCount = 0;
}

void ApgCanvas::Differentiate(const SeriesArray& in, Smoother& smoother, SeriesArray& out) {
    const int n = in.Count();
    if (n < 2) {
        out.Push(0);
        return;
    }
    out.Push(smoother.Push(in.Back() - in[n - 2]));
}

void ApgCanvas::AddSample(double value) {
    m_pulse.Push(value);
    Differentiate(m_pulse, m_smooth1, m_diff1);
    Differentiate(m_diff1, m_smooth2, m_diff2);
    Differentiate(m_diff2, m_smooth3, m_diff3);
}

int ApgCanvas::PositivePeak(int start) const {
    int k = FindPeak(start, m_window, m_windowLength);
    while (k != -1 && m_window[k] <= 0)
        k = FindPeak(k + 1, m_window, m_windowLength);
    return k;
}

int ApgCanvas::ThresholdPeak(int start, double threshold) const {
    int k = FindPeak(start, m_window, m_windowLength);
    while (k != -1 && m_window[k] < threshold)
        k = FindPeak(k + 1, m_window, m_windowLength);
    return k;
}

// a is the first peak that reaches 0.8 of the window's maximum, b..e follow from the first
// trough t1 after it and the first peak p1 after that.
bool ApgCanvas::PlaceWaves(int wave[5]) const {
    const int n = m_windowLength;
    const double threshold = 0.8 * f_max(m_window, n);
    const int a = ThresholdPeak(0, threshold);
    if (a == -1)
        return false;
    const int t1 = FindTrough(a + 1, m_window, n);
    if (t1 == -1)
        return false;
    const int p1 = FindPeak(t1 + 1, m_window, n);
    if (p1 == -1)
        return false;

    wave[kA] = a;
    if (IntervalMs(t1 - a) > 150) {
        // A slow fall from a: b and c lie on it, the trough is d, the next peak e.
        wave[kB] = a + (t1 - a) * 4 / 8;
        wave[kC] = a + (t1 - a) * 6 / 8;
        wave[kD] = t1;
        wave[kE] = p1;
        return true;
    }

    // Look for a separate d (the trough t2 after p1) and e (the first positive peak x after
    // t2). Without t2 the search for x starts at the window's beginning and finds a peak at or
    // before a: then c and d count as separate unless no a wave of a next beat follows x, and
    // the missing d leaves the beat unrecorded.
    const int t2 = FindTrough(p1 + 1, m_window, n);
    const int x = PositivePeak(t2 + 1);
    // y: the a wave of the next beat, -1 when the window holds none.
    const int y = x == -1 ? -1 : ThresholdPeak(x + 1, threshold);
    wave[kB] = t1;
    if (x == -1 || (x - a) > (y - x) || IntervalMs(p1 - a) > 250) {
        // x belongs to the next beat (or is missing), or p1 is too late to be c: c and d
        // are placed at 3/8 and 5/8 of the way from b to p1, which is e.
        wave[kC] = t1 + (p1 - t1) * 3 / 8;
        wave[kD] = t1 + (p1 - t1) * 5 / 8;
        wave[kE] = p1;
    } else {
        if (t2 == -1)
            return false;
        wave[kC] = p1;
        wave[kD] = t2;
        wave[kE] = x;
    }
    return true;
}

void ApgCanvas::AnalyseBeat(double strengthPercent) {
    const int count = m_diff2.Count();
    m_windowLength = std::min(count, kWindowCapacity);
    m_windowOffset = count - m_windowLength;
    m_window = m_diff2.Data() + m_windowOffset; // read in place: nothing moves DIFF2 here
    if (m_windowLength == 0)
        return;

    int wave[5];
    if (!PlaceWaves(wave) || m_rowCount == kBeatCapacity)
        return;

    ApgBeatRow& row = m_rows[m_rowCount++];
    for (int i = 0; i < 5; ++i) {
        row.position[i] = m_windowOffset + wave[i];
        row.amplitude[i] = m_window[wave[i]];
    }
    const double* v = row.amplitude;
    row.vascularAge = ((v[kB] - v[kC] - v[kD] - v[kE]) / v[kA] + 1.515) / 0.023;
    row.typeIndex = DecideType(v[kB], v[kC], v[kD]);
    row.strength = strengthPercent;
}

void ApgCanvas::AppendRate(double rateBpm) {
    m_rates.Push(rateBpm);
}

void ApgCanvas::AppendBeat(int pulseIndex, double pulseValue, double rateBpm) {
    if (m_beatListCount == kBeatCapacity)
        return;
    m_beatList[m_beatListCount++] = BeatListEntry{pulseIndex, pulseValue, rateBpm};
}

int ApgCanvas::ComputeMeans() {
    double sums[8] = {};
    int n = 0;
    for (int i = 0; i < m_rowCount; ++i) {
        const ApgBeatRow& row = m_rows[i];
        if (!Qualified(row) || row.amplitude[kA] == 0)
            continue;
        for (int w = kB; w <= kE; ++w) {
            sums[w - 1] += row.amplitude[w] / row.amplitude[kA];
            sums[w + 3] += (row.position[w] - row.position[kA]) * 1000 / kSampleRate;
        }
        ++n;
    }
    if (n > 0) {
        for (int k = 0; k < 8; ++k)
            m_means[k] = sums[k] / n;
    }
    return n;
}

template <class Pick> int ApgCanvas::CollectQualified(double* values, Pick pick) const {
    int n = 0;
    for (int i = 0; i < m_rowCount; ++i) {
        if (Qualified(m_rows[i]) && pick(m_rows[i], &values[n]))
            ++n;
    }
    return n;
}

// A beat with a zero a wave has neither ratios nor a vascular age (its vascular age is
// infinite or undefined), so it is left out here as in ComputeMeans.
double ApgCanvas::WellnessIndex(int age, int sex) const {
    double values[kBeatCapacity];
    const int n = CollectQualified(values, [](const ApgBeatRow& row, double* value) {
        if (row.amplitude[kA] == 0 || !(std::trunc(row.vascularAge) > 0))
            return false;
        *value = row.amplitude[kC] / row.amplitude[kA];
        return true;
    });
    if (n == 0)
        return 0;
    const double mean = TrimmedMean(values, n);
    // The table covers ages 0 to 89: the decade is held to 0..8, so that people of 90 and
    // above use the 80-89 row of their own sex and a negative age the 0-9 row. A sex other
    // than 1 or 2 is taken as the nearer of the two.
    const int decade = std::clamp(age / 10, 0, kWellnessRows / 2 - 1);
    const Reference& ref = kWellnessReference[2 * decade + std::clamp(sex, 1, 2) - 1];
    const double index = (mean - ref.mean) / ref.deviation * 20 + 50;
    return index < 0 ? 0 : index;
}

double ApgCanvas::MeanVascularAge() const {
    double values[kBeatCapacity];
    const int n = CollectQualified(values, [](const ApgBeatRow& row, double* value) {
        if (row.amplitude[kA] == 0)
            return false;
        *value = std::trunc(row.vascularAge);
        return true;
    });
    if (n == 0)
        return 0;
    const double mean = TrimmedMean(values, n);
    return mean < 0 ? 0 : mean;
}

int ApgCanvas::MeanTypeIndex() const {
    double values[kBeatCapacity];
    const int n = CollectQualified(values, [](const ApgBeatRow& row, double* value) {
        *value = row.typeIndex;
        return true;
    });
    if (n == 0)
        return -1;
    const double mean = TrimmedMean(values, n);
    return mean < 0 ? -1 : static_cast<int>(mean);
}

double ApgCanvas::ReferenceDa(int age) {
    // The table covers ages 0 to 89: 90 and above use the 80-89 reference.
    return kPressureReference[std::clamp(age / 10, 0, kPressureDecades - 1)];
}

int ApgCanvas::BloodPressureStatus(int age) const {
    if (age < 0)
        return 0;
    const double x = ReferenceDa(age);
    const double v = m_means[2]; // d/a
    const double c = std::trunc(((0.6 + x) / 0.6 - (0.6 + v) / 0.6) * 100);
    if (c < -10)
        return kPressureABitLow;
    if (c < 10)
        return kPressureNormal;
    if (c < 20)
        return kPressureABitHigh;
    return kPressureHigh;
}

double ApgCanvas::MeanSignalStrength() const {
    if (m_rowCount == 0)
        return 0;
    double sum = 0;
    for (int i = 0; i < m_rowCount; ++i)
        sum += m_rows[i].strength;
    return sum / m_rowCount;
}

double ApgCanvas::MeanPulse() const {
    return f_mean(m_rates.Data(), m_rates.Count());
}

ApgSummary ApgCanvas::Summarise(int age, int sex) {
    ApgSummary s;
    s.qualified = ComputeMeans();
    s.ba = m_means[0];
    s.ca = m_means[1];
    s.da = m_means[2];
    s.ea = m_means[3];
    s.abMs = m_means[4];
    s.acMs = m_means[5];
    s.adMs = m_means[6];
    s.aeMs = m_means[7];
    s.wellnessIndex = WellnessIndex(age, sex);
    s.vascularAge = MeanVascularAge();
    s.typeIndex = MeanTypeIndex();
    s.bpStatus = BloodPressureStatus(age);
    s.meanSignalStrength = MeanSignalStrength();
    s.meanPulse = MeanPulse();
    s.rows = m_rowCount;
    return s;
}

int ApgCanvas::PulseCount() const {
    return m_pulse.Count();
}

int ApgCanvas::LastSampleIndex() const {
    return m_pulse.Count() - 1;
}

int ApgCanvas::Count(Series which) const {
    switch (which) {
    case Series::Pulse:
        return m_pulse.Count();
    case Series::Diff1:
        return m_diff1.Count();
    case Series::Diff2:
        return m_diff2.Count();
    case Series::Diff3:
        return m_diff3.Count();
    }
    return 0;
}

const double* ApgCanvas::Data(Series which) const {
    switch (which) {
    case Series::Pulse:
        return m_pulse.Data();
    case Series::Diff1:
        return m_diff1.Data();
    case Series::Diff2:
        return m_diff2.Data();
    case Series::Diff3:
        return m_diff3.Data();
    }
    return nullptr;
}

int ApgCanvas::BeatRows() const {
    return m_rowCount;
}

ApgBeatRow ApgCanvas::Row(int i) const {
    return i >= 0 && i < m_rowCount ? m_rows[i] : ApgBeatRow{};
}

int ApgCanvas::BeatListCount() const {
    return m_beatListCount;
}
