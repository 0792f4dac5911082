// Arbitrary bytes as a raw-sample .csv: the parser and the file reader must agree on every
// input, an accepted file must read back the same once written out again, and a refusal must
// name its line.

#include "analysis/SampleCsv.h"
#include "fuzz/FuzzFile.h"

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<int16_t> parsed;
    std::string parseError;
    const bool accepted = ParseSampleCsv(text, &parsed, &parseError);

    std::vector<int16_t> read;
    std::string readError;
    const std::string& path = WriteFuzzFile(data, size, ".csv");
    if (ReadSampleCsv(path, &read, &readError) != accepted || read != parsed ||
        readError != parseError)
        std::abort();

    if (!accepted) {
        if (parseError != "no samples" && !parseError.starts_with("line "))
            std::abort();
        return 0;
    }
    std::string written = "raw\r\n";
    for (int16_t sample : parsed)
        written += std::to_string(sample) + "\r\n";
    std::vector<int16_t> again;
    if (!ParseSampleCsv(written, &again, &parseError) || again != parsed)
        std::abort();
    return 0;
}
