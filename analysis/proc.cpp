#include "analysis/proc.h"

#include "analysis/Trace.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace {
// Smallest (Less = std::less) or largest value, searched in four interleaved runs so that
// the comparisons do not wait on each other. The extreme of a set does not depend on the
// order in which it is searched.
template <class Better> double Extreme(const double* values, int count, Better better) {
    if (!values || count <= 0)
        return 0;
    double m[4] = {values[0], values[0], values[0], values[0]};
    int i = 1;
    for (; i + 4 <= count; i += 4) {
        for (int j = 0; j < 4; ++j)
            m[j] = better(values[i + j], m[j]) ? values[i + j] : m[j];
    }
    for (; i < count; ++i)
        m[0] = better(values[i], m[0]) ? values[i] : m[0];
    double a = better(m[1], m[0]) ? m[1] : m[0];
    double b = better(m[3], m[2]) ? m[3] : m[2];
    return better(b, a) ? b : a;
}
} // namespace

double f_min(const double* values, int count) {
    return Extreme(values, count, [](double x, double y) { return x < y; });
}

double f_max(const double* values, int count) {
    return Extreme(values, count, [](double x, double y) { return x > y; });
}

double f_mean(const double* values, int count) {
    if (!values || count <= 0)
        return 0;
    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += values[i];
    return sum / count;
}

double f_stddev(const double* values, int count) {
    if (!values || count < 2)
        return 0;
    double mean = f_mean(values, count);
    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += (values[i] - mean) * (values[i] - mean);
    return std::sqrt(sum / (count - 1));
}

double f_nearest(double x) {
    return std::round(x); // halves away from zero
}

namespace {
// Most bins f_histozero and f_gaussscore count. Rates span at most 241 one-bpm bins; input
// spanning more than this is left alone instead of allocating gigabytes of bins.
constexpr double kMaxBins = 1 << 20;
} // namespace

void f_histogram(double* bins, int binCount, const double* values, int count) {
    if (!bins || binCount <= 0)
        return;
    std::fill(bins, bins + binCount, 0.0);
    if (!values || count <= 0)
        return;
    const double mn = f_min(values, count);
    const double mx = f_max(values, count);
    if (mx == mn)
        return; // no width to divide by: all bins stay 0
    for (int i = 0; i < count; ++i) {
        const double bin = std::floor((binCount - 1) * (values[i] - mn) / (mx - mn));
        if (bin >= 0 && bin < binCount) // false for a value that is not a number
            bins[static_cast<int>(bin)] += 1;
    }
}

double f_beattime(const double* rates, int count) {
    double seconds = 0;
    for (int i = 0; rates && i < count; ++i) {
        if (rates[i] >= 30 && rates[i] <= 240)
            seconds += 60 / rates[i];
    }
    return seconds;
}

double f_updown(const double* values, int count) {
    int rises = 0;
    int falls = 0;
    for (int i = 1; values && i < count; ++i) {
        if (values[i] > values[i - 1])
            ++rises;
        else if (values[i] < values[i - 1])
            ++falls;
    }
    return falls > 0 ? 100 - 50.0 * rises / falls : 0;
}

double f_diff2index(const double* values, int count) {
    if (!values || count < 4)
        return 0;
    std::vector<double> second(static_cast<size_t>(count - 2));
    for (int i = 0; i + 2 < count; ++i)
        second[static_cast<size_t>(i)] =
            (values[i + 2] - values[i + 1]) - (values[i + 1] - values[i]);
    const double index = f_stddev(second.data(), count - 2) / 12 * 100;
    return std::min(index, 100.0);
}

double f_gaussscore(const double* values, int count, double refMean, double refDeviation) {
    const double mean = f_mean(values, count);
    const double deviation = f_stddev(values, count);
    if (deviation == 0 || refDeviation == 0)
        return 0;
    const double range = f_nearest(f_max(values, count) - f_min(values, count));
    if (!(range <= kMaxBins))
        return 0;
    const int binCount = static_cast<int>(range);
    double height = 0;
    if (binCount > 0) {
        std::vector<double> bins(static_cast<size_t>(binCount));
        f_histogram(bins.data(), binCount, values, count);
        height = f_max(bins.data(), binCount);
    }

    const double refWidth = (2 * refDeviation) * (2 * refDeviation);
    const double ownWidth = (2 * deviation) * (2 * deviation);
    double above = 0; // where the own curve lies above the reference
    double area = 0;  // of the own curve
    for (int x = 1; x <= 160; ++x) {
        const double ref = height * std::exp(-((x - refMean) * (x - refMean)) / refWidth);
        const double own = height * std::exp(-((x - mean) * (x - mean)) / ownWidth);
        if (own - ref > 0)
            above += own - ref;
        area += own;
    }
    // above <= area, so area > 0 whenever above > 0.
    const double level = above > 0 ? 50 * above / area : 0;
    return mean < refMean ? 50 - level : 50 + level;
}

void f_histozero(double* values, int count) {
    if (!values || count <= 0)
        return;
    const double lo = std::trunc(f_min(values, count));
    const double hi = std::trunc(f_max(values, count));
    const double span = hi - lo + 1;
    if (!(span >= 2 && span <= kMaxBins))
        return; // a single bin has no cluster to find
    const int binCount = static_cast<int>(span);
    std::vector<double> bins(static_cast<size_t>(binCount));
    f_histogram(bins.data(), binCount, values, count);

    // Bin 0 is never the mode; when no bin from 2 on beats bin 1 the scans start at 0.
    int mode = 0;
    double modeCount = bins[1];
    for (int b = 2; b < binCount; ++b) {
        if (bins[b] > modeCount) {
            modeCount = bins[b];
            mode = b;
        }
    }

    double lower = lo;
    for (int j = mode, empty = 0; j >= 0; --j) {
        empty = bins[static_cast<size_t>(j)] == 0 ? empty + 1 : 0;
        if (empty == 5) {
            lower = lo + j + 5;
            break;
        }
    }
    double upper = hi;
    for (int k = mode, empty = 0; k < binCount; ++k) {
        empty = bins[static_cast<size_t>(k)] == 0 ? empty + 1 : 0;
        if (empty == 5) {
            upper = lo + k - 5;
            break;
        }
    }

    for (int i = 0; i < count; ++i) {
        const double whole = std::floor(values[i]);
        if (whole < lower || whole > upper)
            values[i] = 0;
    }
}

int f_cleanrate(double* output, const double* rates, int count) {
    if (!output || !rates || count <= 0)
        return 0;
    int start = 0;
    while (start < count && rates[start] == 0)
        ++start;

    // Jump filter against the preceding input rate, not the cleaned one.
    int n = count - start;
    for (int i = start; i < count; ++i) {
        const double rate = rates[i];
        const double previous = i > start ? rates[i - 1] : 0;
        output[i - start] = rate > 0 && previous > 0 && std::fabs(rate - previous) > 15 ? 0 : rate;
    }
    if (n <= 4)
        return 0;

    try {
        f_histozero(output, n);
    } catch (const std::bad_alloc& e) {
        TRACE("memory Exception! [f_histozero()]\n%s\n", e.what());
    }

    // Keep the part after the last gap of 10 or more missing beats, without zeros at its ends.
    int begin = 0;
    int end = n;
    while (begin < end && output[begin] == 0)
        ++begin;
    while (end > begin && output[end - 1] == 0)
        --end;
    if (begin == end)
        return 0;
    for (int i = begin, run = 0; i < end; ++i) {
        if (output[i] == 0) {
            ++run;
        } else {
            if (run >= 10)
                begin = i;
            run = 0;
        }
    }
    n = end - begin;
    std::memmove(output, output + begin, static_cast<size_t>(n) * sizeof(double));

    // The ends are non-zero, so every run of zeros has a neighbour on both sides.
    for (int g = 0; g + 1 < n; ++g) {
        if (output[g + 1] != 0)
            continue;
        int i = g + 1;
        while (output[i] == 0)
            ++i;
        for (int l = g + 1; l < i; ++l)
            output[l] = output[g] + (output[i] - output[g]) * (l - g) / (i - g);
        g = i - 1;
    }
    return n;
}

namespace {
// Duration of one beat in seconds; a missing beat (rate 0) takes no time.
double BeatSeconds(double rate) {
    return rate != 0 ? 60 / rate : 0;
}
} // namespace

int f_resample(const double* rates, double* output, int count) {
    if (!rates || !output || count <= 0)
        return 0;
    double total = 0; // seconds
    double sum = 0;
    for (int i = 0; i < count; ++i) {
        total += BeatSeconds(rates[i]);
        sum += rates[i];
    }
    const double cells = std::ceil(count * (sum / count) / (60 / (total / count)));
    if (!(total > 0 && cells >= 1))
        return 0;
    const int n = cells < 2.0 * count ? static_cast<int>(cells) : 2 * count;

    // Cell i spans [total·i/n, total·(i + 1)/n); beat k ends at the time `end`.
    int k = 0;
    double end = BeatSeconds(rates[0]);
    bool past = false; // the walk has left the last beat: later cells take its rate
    for (int i = 1; i <= n; ++i) {
        const double from = total * i / n;
        const double to = total * (i + 1) / n;
        while (!past && end < from) {
            if (k + 1 < count)
                end += BeatSeconds(rates[++k]);
            else
                past = true; // rounding left the last beat just short of the mark
        }
        if (past) {
            output[i - 1] = rates[count - 1];
        } else if (end < to) {
            output[i - 1] = rates[k];
            if (k + 1 < count)
                end += BeatSeconds(rates[++k]);
            else
                past = true;
        } else {
            output[i - 1] = k > 0 ? (rates[k - 1] + rates[k]) / 2 : rates[0];
        }
    }
    return n;
}

int f_pad2(double* output, const double* values, int count) {
    if (!output || !values || count <= 0 || count > (1 << 30))
        return 0;
    const int length = static_cast<int>(
        std::pow(2.0, std::ceil(std::log(static_cast<double>(count)) / std::log(2.0))));
    if (length <= count) {
        std::copy(values, values + count, output);
        return count;
    }

    const int inserts = length - count;
    auto input = [&](int p) { return p >= 0 && p < count ? values[p] : 0.0; };
    int next = 0;   // next input value
    int insert = 1; // number of the next insertion
    for (int j = 0; j < length; ++j) {
        output[j] = input(next++);
        const int64_t at = static_cast<int64_t>(insert) * length / (inserts + 1);
        if (insert <= inserts && j == at && j + 1 < length) {
            output[++j] = (input(next - 1) + input(next - 2)) / 2;
            ++insert;
        }
    }
    return length;
}

void f_unpad(int removeCount, double* values, int length) {
    if (!values || removeCount <= 0 || removeCount >= length)
        return;
    const double step = static_cast<double>(length) / (removeCount + 1);
    int k = 1;
    int drop = static_cast<int>(std::floor(k * step));
    int kept = 0;
    for (int pos = 0; pos < length; ++pos) {
        if (k <= removeCount && pos == drop) {
            ++k;
            drop = static_cast<int>(std::floor(k * step));
            continue;
        }
        values[kept++] = values[pos];
    }
}

void f_fft(const double* input, double* realOut, double* imagOut, int length) {
    if (!input || !realOut || !imagOut || length < 1 || (length & (length - 1)) != 0)
        return;
    for (int i = 0; i < length; ++i) {
        realOut[i] = input[i];
        imagOut[i] = 0;
    }

    for (int span = length; span >= 2; span /= 2) {
        const int half = span / 2;
        for (int j = 0; j < half; ++j) {
            const double angle = 3.141 * j / half;
            const double c = std::cos(angle);
            const double s = std::sin(angle);
            for (int r = j; r < length; r += span) {
                const double dr = realOut[r] - realOut[r + half];
                const double di = imagOut[r] - imagOut[r + half];
                realOut[r] += realOut[r + half];
                imagOut[r] += imagOut[r + half];
                realOut[r + half] = dr * c + di * s; // (dr + i·di)·(c - i·s)
                imagOut[r + half] = di * c - dr * s;
            }
        }
    }

    for (int i = 1, j = 0; i < length; ++i) {
        int bit = length >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j) {
            std::swap(realOut[i], realOut[j]);
            std::swap(imagOut[i], imagOut[j]);
        }
    }
}

int f_periodogram(double* frequencies, const double* work, int count, double samplingRate,
                  const double* values, double* power) {
    if (!frequencies || !work || !values || !power || count <= 0)
        return 0;
    for (int k = 0; k < count; ++k)
        power[k] = (work[k] * work[k] + values[k] * values[k]) / count;
    power[0] = 0;
    const int half = count / 2;
    for (int i = 0; i < half; ++i)
        frequencies[i] = samplingRate * i / count;
    return half;
}

void f_bandpower(const double* values, BandPower* bands, int count) {
    if (!bands)
        return;
    *bands = BandPower{};
    if (!values || count <= 0 || count > (1 << 30))
        return;

    // The padded length is below 2·count (1 for a single value).
    const size_t room = 2 * static_cast<size_t>(count);
    std::vector<double> scratch(5 * room);
    double* padded = scratch.data();
    double* re = padded + room;
    double* im = re + room;
    double* power = im + room;
    double* frequencies = power + room;

    // The padded series holds `length` values over the time of `count` beats: its sampling
    // rate is length/count times the beat rate, so that every bin keeps its true frequency.
    // (Dropping bins after the transform to get back to `count` values would leave the
    // frequency axis compressed by count/length and move a breathing rhythm into LF.)
    const int length = f_pad2(padded, values, count);
    f_fft(padded, re, im, length);
    const double beatsPerSecond = f_mean(values, count) / 60;
    const int half =
        f_periodogram(frequencies, re, length, beatsPerSecond * length / count, im, power);

    for (int i = 0; i < half; ++i) {
        const double f = frequencies[i];
        bands->total += power[i];
        if (f >= 0.0033 && f <= 0.04)
            bands->vlf += power[i];
        else if (f >= 0.04 && f < 0.15)
            bands->lf += power[i];
        else if (f >= 0.15 && f < 0.4)
            bands->hf += power[i];
    }
    const double lfHf = bands->lf + bands->hf;
    if (lfHf > 0) {
        bands->lfShare = 100 * bands->lf / lfHf;
        bands->hfShare = 100 * bands->hf / lfHf;
    }
}

namespace {
// First index k >= start with values[k] beyond each of the next five values (Beyond =
// strictly greater for a peak, strictly smaller for a trough) and k + 6 < end.
// When the test fails at j, no index between k and k + j qualifies either (values[k + j] is
// not short of values[k], which is beyond each of them), so the search goes on at k + j; the
// result is that of testing every index in turn.
template <class Beyond> int FindExtremum(int start, const double* values, int end, Beyond beyond) {
    for (int k = start < 0 ? 0 : start; k < end - 1;) {
        if (k + 6 >= end)
            return -1;
        int j = 1;
        while (j <= 5 && beyond(values[k], values[k + j]))
            ++j;
        if (j > 5)
            return k;
        k += j;
    }
    return -1;
}
} // namespace

int FindPeak(int start, const double* values, int end) {
    return FindExtremum(start, values, end, [](double x, double y) { return x > y; });
}

int FindTrough(int start, const double* values, int end) {
    return FindExtremum(start, values, end, [](double x, double y) { return x < y; });
}
