#include "Chime.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kLengthS = 0.9;
constexpr double kSecondNoteS = 0.16;
constexpr double kPeak = 0.45; // of full scale

// A soft bell tone: fundamental with two quiet overtones, quick attack, long decay.
double Note(double t, double hz) {
    if (t < 0)
        return 0;
    const double attack = std::min(1.0, t / 0.008);
    const double decay = std::exp(-t / 0.22);
    const double w = 2 * std::numbers::pi * hz * t;
    return attack * decay * (std::sin(w) + 0.30 * std::sin(2 * w) + 0.08 * std::sin(3 * w)) / 1.38;
}

void Put16(QByteArray& out, std::uint16_t value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

void Put32(QByteArray& out, std::uint32_t value) {
    Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(value >> 16));
}

} // namespace

bool WriteChime(const QString& path, double firstHz, double secondHz) {
    const int count = static_cast<int>(kLengthS * kRate);
    const int fadeOut = kRate / 40;
    QByteArray data;
    data.reserve(count * 2);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double value = 0.55 * Note(t, firstHz) + 0.55 * Note(t - kSecondNoteS, secondHz);
        if (i > count - fadeOut)
            value *= static_cast<double>(count - i) / fadeOut;
        const auto sample = static_cast<std::int16_t>(std::lround(kPeak * value * 32767));
        Put16(data, static_cast<std::uint16_t>(sample));
    }
    QByteArray wav("RIFF");
    Put32(wav, static_cast<std::uint32_t>(36 + data.size()));
    wav.append("WAVEfmt ");
    Put32(wav, 16); // format chunk size
    Put16(wav, 1);  // PCM
    Put16(wav, 1);  // mono
    Put32(wav, kRate);
    Put32(wav, kRate * 2); // bytes per second
    Put16(wav, 2);         // block align
    Put16(wav, 16);        // bits per sample
    wav.append("data");
    Put32(wav, static_cast<std::uint32_t>(data.size()));
    wav.append(data);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size();
}
