#include "analysis/SampleCsv.h"

#include <filesystem>
#include <fstream>
#include <utility>

namespace fs = std::filesystem;

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kQuotedBytes = 40; // of a faulty field, in an error message

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool LooksLikeNumber(std::string_view field) {
    return !field.empty() &&
           (IsDigit(field[0]) || field[0] == '+' || field[0] == '-' || field[0] == '.');
}

enum class Parse { Ok, NotWhole, OutOfRange };

Parse ParseSample(std::string_view field, int16_t* sample) {
    const bool negative = !field.empty() && field[0] == '-';
    if (!field.empty() && (field[0] == '+' || field[0] == '-'))
        field.remove_prefix(1);
    if (field.empty())
        return Parse::NotWhole;
    long value = 0;
    for (char c : field) {
        if (!IsDigit(c))
            return Parse::NotWhole;
        if (value <= 32768)
            value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < INT16_MIN || value > INT16_MAX)
        return Parse::OutOfRange;
    *sample = static_cast<int16_t>(value);
    return Parse::Ok;
}

// The field as an error message shows it: printable ASCII kept, other bytes as '?', cut.
std::string Quoted(std::string_view field) {
    std::string text = "\"";
    for (size_t i = 0; i < field.size() && i < kQuotedBytes; ++i)
        text += field[i] >= 0x20 && field[i] < 0x7F ? field[i] : '?';
    if (field.size() > kQuotedBytes)
        text += "...";
    return text + "\"";
}
std::string TooLarge() {
    return "larger than " + std::to_string(kSampleCsvMaxBytes >> 20) +
           " MB: not a recording of raw samples";
}
} // namespace

bool ParseSampleCsv(std::string_view text, std::vector<int16_t>* samples, std::string* error) {
    samples->clear();
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    bool headerAllowed = true;
    for (long long number = 1; !text.empty(); ++number) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (TrimBlanks(line).empty())
            continue;
        const size_t comma = line.rfind(',');
        const std::string_view field =
            TrimBlanks(comma == std::string_view::npos ? line : line.substr(comma + 1));
        if (std::exchange(headerAllowed, false) && !LooksLikeNumber(field))
            continue;
        int16_t sample = 0;
        switch (ParseSample(field, &sample)) {
        case Parse::Ok:
            samples->push_back(sample);
            break;
        case Parse::NotWhole:
            *error =
                "line " + std::to_string(number) + ": " + Quoted(field) + " is not a whole number";
            return false;
        case Parse::OutOfRange:
            *error = "line " + std::to_string(number) + ": " + Quoted(field) +
                     " is outside -32768..32767";
            return false;
        }
    }
    if (samples->empty()) {
        *error = "no samples";
        return false;
    }
    return true;
}

bool ReadSampleCsv(const std::string& path, std::vector<int16_t>* samples, std::string* error) {
    samples->clear();
    const fs::path file(std::u8string(path.begin(), path.end()));
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (!fs::exists(status)) {
        *error = "cannot open the file";
        return false;
    }
    if (!fs::is_regular_file(status)) {
        *error = "not a regular file (a folder, device or pipe)";
        return false;
    }
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec || size > kSampleCsvMaxBytes) {
        *error = TooLarge();
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        *error = "cannot open the file";
        return false;
    }
    // Read in steps up to one byte past the limit, which tells a file that grew meanwhile.
    constexpr size_t kStep = 1 << 16;
    std::string text;
    while (in && text.size() <= kSampleCsvMaxBytes) {
        const size_t got = text.size();
        text.resize(got + kStep);
        in.read(text.data() + got, kStep);
        text.resize(got + static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) {
        *error = "cannot read the file";
        return false;
    }
    if (text.size() > kSampleCsvMaxBytes) {
        *error = TooLarge();
        return false;
    }
    return ParseSampleCsv(text, samples, error);
}
