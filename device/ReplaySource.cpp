#include "device/ReplaySource.h"

#include "analysis/RecordingFile.h"
#include "analysis/SampleCsv.h"

#include <algorithm>
#include <cctype>

ReplaySource::ReplaySource(std::vector<int16_t> samples) : m_samples(std::move(samples)) {}

int16_t ReplaySource::Next() {
    int16_t value = m_samples[m_next];
    m_next = (m_next + 1) % m_samples.size();
    return value;
}

namespace {
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
            *error = path + ": cannot open the file";
            return false;
        }
        if (samples->empty()) {
            *error = path + ": no samples";
            return false;
        }
        return true;
    }
    std::string message;
    if (!ReadSampleCsv(path, samples, &message)) {
        *error = path + ": " + message;
        return false;
    }
    return true;
}
