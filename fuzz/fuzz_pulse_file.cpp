// Arbitrary bytes as a pulse recording (.ppg): the header-only reader, the sample reader and
// the replay through the whole analysis must neither crash nor read out of bounds.

#include "analysis/RecordingFile.h"
#include "fuzz/FuzzFile.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::unique_ptr<CHrv> hrv = [] {
        auto h = std::make_unique<CHrv>();
        h->AttachApg();
        h->AttachPulseRing();
        h->AttachRateChart(300);
        h->AttachRateDisplay();
        h->AttachLfHfChart();
        return h;
    }();
    const std::string& path = WriteFuzzFile(data, size, ".ppg");

    RecordingHeader header;
    if (!ReadRecordingHeader(path, &header))
        std::abort();
    (void)header.Name();
    (void)header.Phone();

    RecordingHeader again;
    std::vector<int16_t> samples;
    if (ReadPulseSamples(path, &again, &samples) != FileStatus::Ok ||
        samples.size() > static_cast<size_t>(kPulseBodyLimit))
        std::abort();

    hrv->ResetMeasurement();
    RecordingHeader loaded;
    if (hrv->LoadPulseFile(&loaded, path) != FileStatus::Ok ||
        hrv->Count(CHrv::Series::Raw) !=
            static_cast<int>(std::min<size_t>(samples.size(), CHrv::kSeriesCapacity)))
        std::abort();
    (void)hrv->SummariseApg(hrv->Identity().age, loaded.Sex());
    return 0;
}
