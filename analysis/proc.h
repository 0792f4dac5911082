#pragma once
// Numeric routines of the analysis: plain functions on caller-owned arrays of doubles with
// an explicit count. None keeps state between calls; temporary buffers live only for the
// call. Rates are in beats per minute; one rate stands for one beat of 60/rate seconds.
//
// Degenerate input never reads or writes outside the arrays. Each routine states below what
// it returns for a missing array, a count of 0 or a division by zero. A temporary buffer that
// cannot be allocated raises std::bad_alloc (only f_cleanrate catches it, around f_histozero).

// Band powers of a rate series, in this order.
struct BandPower {
    double total = 0;   // (beats per minute)^2, all frequencies of the periodogram
    double vlf = 0;     // 0.0033 <= f <= 0.04 Hz
    double lf = 0;      // 0.04 < f < 0.15 Hz
    double hf = 0;      // 0.15 <= f < 0.4 Hz
    double lfShare = 0; // 100·LF/(LF + HF) percent, 0 when LF + HF is 0
    double hfShare = 0; // 100·HF/(LF + HF) percent, 0 when LF + HF is 0
};

// Smallest / largest value; 0 when values is missing or count <= 0.
double f_min(const double* values, int count);
double f_max(const double* values, int count);
// Arithmetic mean (sum / count); 0 when values is missing or count <= 0.
double f_mean(const double* values, int count);
// Sample standard deviation, divisor count - 1; 0 when count < 2.
double f_stddev(const double* values, int count);
// Nearest integer, halves away from zero (2.5 -> 3, -2.5 -> -3).
double f_nearest(double x);

// Zeroes binCount bins, then adds 1 to bin floor((binCount - 1)·(v - min)/(max - min)) for
// each value v. When all values are equal (max = min) the bins stay 0. Values that are not a
// number are not counted.
void f_histogram(double* bins, int binCount, const double* values, int count);
// Seconds covered by valid beats: the sum of 60/r over the rates with 30 <= r <= 240.
double f_beattime(const double* rates, int count);
// Up/down balance: 100 - 50·u/d with u rises and d falls between consecutive values (equal
// neighbours count in neither); 50 when rises and falls balance. 0 when there is no fall.
double f_updown(const double* values, int count);
// Variability of the second differences: f_stddev of the count - 2 second differences / 12
// · 100, at most 100. 0 for fewer than 4 values.
double f_diff2index(const double* values, int count);
// Distribution score around 50: compares the bell curve of the values (their mean m and
// f_stddev s, height = the largest count of a histogram with round(max - min) bins) with the
// reference curve of the same height (refMean, refDeviation) on x = 1..160. 50 - L when
// m < refMean, else 50 + L, with L = 50 · (area where the own curve lies above the
// reference) / (area of the own curve), 0..50. Returns 0 when s or refDeviation is 0 (fewer
// than two values or all values equal) or when the values span more than 2^20 bins.
double f_gaussscore(const double* values, int count, double refMean, double refDeviation);
// Outlier filter, in place: histograms the values into one bin per integer between the
// truncated minimum and maximum, finds the most populated bin from bin 2 on (bin 0 is never
// a candidate; index 0 when nothing beats bin 1), and zeroes every value whose floor lies
// beyond the first run of five empty bins below or above it. Values are left unchanged when
// they all truncate to the same integer (a single bin) or span more than 2^20 bins.
void f_histozero(double* values, int count);
// Cleans a rate series into output, which must hold count values and must not overlap rates:
// leading zeros skipped; a rate more than 15 away from a non-zero preceding input rate set to
// 0; returns 0 when 4 or fewer values are left (zeros inside included); f_histozero (on
// failure to allocate, a trace and the unfiltered series); leading and trailing zeros dropped
// and only the part after the last run of 10 or more zeros kept; remaining zeros linearly
// interpolated. Returns the cleaned count, 0 when nothing usable is left.
int f_cleanrate(double* output, const double* rates, int count);
// Resamples a rate series onto an even time grid of n cells over its total time T (sum of
// 60/r over the non-zero rates), n = ceil(count·mean rate·mean beat time/60), one value per
// cell: the rate of the beat ending in the cell, or the mean of two neighbouring rates when
// no beat ends there. output must hold 2·count values; n never exceeds that. Returns n, 0
// when count <= 0 or no rate is above 0.
int f_resample(const double* rates, double* output, int count);
// Stretches count values to L = 2^ceil(log count / log 2) values in output (which must hold
// 2·count values): D = L - count means of neighbouring input values are inserted after the
// output positions floor(i·L/(D + 1)), i = 1..D. Returns L (count itself when count is a
// power of two); 0 when count <= 0.
int f_pad2(double* output, const double* values, int count);
// Undoes the length of f_pad2 in place: drops the values at positions floor(k·L/(D + 1)),
// k = 1..removeCount, of the length L values (positions before any removal), moving the rest
// down. Nothing changes when removeCount <= 0 or removeCount >= length.
void f_unpad(int removeCount, double* values, int length);
// Discrete Fourier transform of length values (a power of two): radix-2 decimation in
// frequency with the twiddle angle 3.141·j/f in place of pi·j/f, then bit-reversal order.
// input may be realOut. Outputs are left unchanged when length is not a power of two >= 1.
void f_fft(const double* input, double* realOut, double* imagOut, int length);
// Power spectrum of a transform of count values: work holds the real parts and values the
// imaginary parts (count each, unchanged). power[k] = (re² + im²)/count for k = 0..count - 1,
// then power[0] = 0; frequencies[i] = samplingRate·i/count for i = 0..count/2 - 1 (Hz when
// samplingRate is in values per second). Returns count/2; 0 (nothing written) when
// count <= 0.
int f_periodogram(double* frequencies, const double* work, int count, double samplingRate,
                  const double* values, double* power);
// Band powers of a series with one value per beat (sampling rate = mean / 60 per second):
// f_pad2 to L values, f_fft, and f_periodogram of the L values at L/count times that rate
// (so each bin keeps its true frequency), then the sums over the L/2 frequencies: total,
// VLF 0.0033..0.04 Hz, LF 0.04..<0.15 Hz, HF 0.15..<0.4 Hz. All fields 0 when count <= 0;
// the shares are 0 when LF + HF is 0.
void f_bandpower(const double* values, BandPower* bands, int count);

// First index k >= start, k < end - 1, whose value is strictly above (FindPeak) or below
// (FindTrough) each of the next five values, with k + 6 < end; -1 when there is none. A
// negative start counts from 0.
int FindPeak(int start, const double* values, int end);
int FindTrough(int start, const double* values, int end);
