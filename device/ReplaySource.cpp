#include "device/ReplaySource.h"

#include "analysis/RecordingFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>

ReplaySource::ReplaySource(std::vector<int16_t> samples) : m_samples(std::move(samples)) {}

int16_t ReplaySource::Next() {
    int16_t value = m_samples[m_next];
    m_next = (m_next + 1) % m_samples.size();
    return value;
}

namespace {
bool ParseSample(std::string_view text, int16_t* sample) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || status != std::errc() || end != text.data() + text.size() ||
        value < -32768 || value > 32767)
        return false;
    *sample = static_cast<int16_t>(value);
    return true;
}

bool LoadCsv(const std::string& path, std::vector<int16_t>* samples, std::string* error) {
    std::ifstream file(path);
    if (!file) {
        *error = "cannot open " + path;
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        std::string_view field(line);
        if (size_t comma = field.rfind(','); comma != std::string_view::npos)
            field.remove_prefix(comma + 1);
        if (field.find_first_not_of(" \t\r") == std::string_view::npos)
            continue;
        int16_t sample = 0;
        if (ParseSample(field, &sample)) {
            samples->push_back(sample);
        } else if (number > 1) {
            *error = path + ":" + std::to_string(number) +
                     ": not a 16-bit sample: " + std::string(field);
            return false;
        } // else the header line
    }
    if (file.bad()) {
        *error = "cannot read " + path;
        return false;
    }
    return true;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}
} // namespace

bool LoadReplaySamples(const std::string& path, std::vector<int16_t>* samples, std::string* error) {
    samples->clear();
    if (EndsWith(path, ".ppg")) {
        RecordingHeader header;
        if (ReadPulseSamples(path, &header, samples) != FileStatus::Ok) {
            *error = "cannot open " + path;
            return false;
        }
    } else if (!LoadCsv(path, samples, error)) {
        return false;
    }
    if (samples->empty()) {
        *error = path + ": no samples";
        return false;
    }
    return true;
}
