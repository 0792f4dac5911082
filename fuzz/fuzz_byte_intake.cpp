// Arbitrary report sequences through the byte intake (CHrv::FeedBytes), checked against a
// straightforward decoder that takes the stream one byte at a time: wait for a marker (0xFF
// or 0xFE), then a high and a low byte make a sample. After every report both must have
// produced the same number of samples, and at the end the same samples.
//
// Input: a sequence of reports, each opened by one byte op:
//   op < 0xFF    a report of the next op bytes (fewer at the end of the input);
//   op == 0xFF   a long report, one call past the intake queue's 24000 bytes: the next byte
//                L, then L bytes repeated to 24000 + 16 * L bytes.

#include "analysis/Hrv.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {
constexpr size_t kMaxFedBytes = 60000; // per input, to keep the runs quick

class StreamDecoder {
public:
    void Push(uint8_t byte) {
        switch (m_state) {
        case State::Marker:
            if (byte == 0xFF || byte == 0xFE)
                m_state = State::High;
            break;
        case State::High:
            m_high = byte;
            m_state = State::Low;
            break;
        case State::Low:
            samples.push_back(static_cast<int16_t>(m_high * 256 + byte));
            m_state = State::Marker;
            break;
        }
    }
    std::vector<int16_t> samples;

private:
    enum class State { Marker, High, Low };
    State m_state = State::Marker;
    int m_high = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::unique_ptr<CHrv> hrv = std::make_unique<CHrv>();
    hrv->ResetMeasurement();
    StreamDecoder reference;
    std::vector<uint8_t> report;
    std::vector<double> none;
    size_t fed = 0;
    for (size_t pos = 0; pos < size && fed < kMaxFedBytes;) {
        const uint8_t op = data[pos++];
        if (op < 0xFF) {
            const size_t n = std::min<size_t>(op, size - pos);
            report.assign(data + pos, data + pos + n);
            pos += n;
        } else {
            const size_t length = pos < size ? data[pos++] : 0;
            const size_t n = std::min(length, size - pos);
            const std::vector<uint8_t> piece =
                n > 0 ? std::vector<uint8_t>(data + pos, data + pos + n)
                      : std::vector<uint8_t>{0xFF, 0x12, 0x34};
            pos += n;
            report.resize(CHrv::kIntakeCapacity + 16 * length);
            for (size_t i = 0; i < report.size(); ++i)
                report[i] = piece[i % piece.size()];
        }
        hrv->FeedBytes(report.data(), static_cast<int>(report.size()));
        for (uint8_t byte : report)
            reference.Push(byte);
        fed += report.size();
        if (hrv->CopyRawFrom(LLONG_MAX, &none) != static_cast<long long>(reference.samples.size()))
            std::abort();
    }

    static std::vector<double> raw(CHrv::kSeriesCapacity); // allocated once: runs stay quick
    const auto held = static_cast<size_t>(
        hrv->CopySeriesTail(CHrv::Series::Raw, raw.data(), CHrv::kSeriesCapacity));
    const std::vector<int16_t>& expected = reference.samples;
    if (held != std::min(expected.size(), raw.size()) ||
        !std::equal(raw.begin(), raw.begin() + static_cast<long>(held),
                    expected.end() - static_cast<long>(held)))
        std::abort();
    return 0;
}
