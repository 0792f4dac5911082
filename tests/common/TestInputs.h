#pragma once
// Inputs and waits shared by the analysis, device and tool tests.

#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

// Marker groups as the sensor sends them: 0xFF, high byte, low byte per sample.
inline std::vector<uint8_t> Groups(const std::vector<int>& samples) {
    std::vector<uint8_t> bytes;
    for (int s : samples) {
        bytes.push_back(0xFF);
        bytes.push_back(static_cast<uint8_t>(s >> 8));
        bytes.push_back(static_cast<uint8_t>(s));
    }
    return bytes;
}

// Beat-by-beat rates over `seconds`: `base` bpm with a sine of `hz` and `amplitude` bpm,
// each beat lasting 60/rate seconds.
inline std::vector<double> ModulatedRates(double seconds, double hz, double amplitude = 5,
                                          double base = 70) {
    std::vector<double> rates;
    for (double t = 0; t < seconds;) {
        const double rate = base + amplitude * std::sin(2 * std::numbers::pi * hz * t);
        rates.push_back(rate);
        t += 60 / rate;
    }
    return rates;
}

// The lines after the header line of a file in tests/data.
inline std::vector<std::string> DataLines(const std::string& name) {
    std::ifstream in(std::string(TONDRELA_TEST_DATA) + "/" + name);
    std::vector<std::string> lines;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// Waits for something another thread does; false instead of hanging when it never happens.
template <class Condition> bool Eventually(Condition condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
