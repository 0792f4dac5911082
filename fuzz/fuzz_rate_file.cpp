// Arbitrary bytes as a rate recording (.hrv): the reader and the replay of the timeline
// through the rate bookkeeping, the LF/HF chart and the HRV analysis must neither crash nor
// read out of bounds.

#include "analysis/RecordingFile.h"
#include "fuzz/FuzzFile.h"

#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::unique_ptr<CHrv> hrv = [] {
        auto h = std::make_unique<CHrv>();
        h->AttachApg();
        h->AttachRateChart(150);
        h->AttachRateDisplay();
        h->AttachLfHfChart();
        return h;
    }();
    const std::string& path = WriteFuzzFile(data, size, ".hrv");

    RecordingHeader header;
    std::vector<double> values;
    if (ReadRateValues(path, &header, &values) != FileStatus::Ok ||
        values.size() > static_cast<size_t>(kRateBodyLimit))
        std::abort();
    (void)header.Name();
    (void)header.Phone();

    RecordingHeader loaded;
    if (hrv->LoadRateFile(&loaded, path) != FileStatus::Ok)
        std::abort();
    double minRate = 0, maxRate = 0;
    (void)hrv->TimelineStats(&minRate, &maxRate);
    (void)hrv->AnalyseHrv(loaded.Sex(), hrv->Identity().age);
    return 0;
}
