// tondrela-analyse: runs the program's own analysis on recordings and prints one JSON object
// per file (JSON Lines).
//
//   tondrela-analyse [--age YEARS] [--sex 1|2] [--hrv] [--trace[=FILE]] FILE...
//
// --trace writes the diagnostic trace to standard error, or to FILE.
// FILE is a pulse recording (.ppg), a rate recording (.hrv) or a .csv of raw sensor samples
// (grammar in analysis/SampleCsv.h).
// Exit status: 0 when every file was analysed, 1 when any file could not be read, 2 on bad
// usage.

#include "analysis/Hrv.h"
#include "analysis/RecordingHeader.h"
#include "analysis/SampleCsv.h"
#include "analysis/Trace.h"
#include "tools/JsonLine.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultAge = 40;
constexpr int kDefaultSex = 1;

struct Options {
    int age = kDefaultAge;
    bool ageGiven = false;
    int sex = kDefaultSex;
    bool sexGiven = false;
    bool hrv = false;
    bool trace = false;
    std::string traceFile; // "" for standard error
    std::vector<std::string> files;
};

const char* const kUsage =
    "usage: tondrela-analyse [--age YEARS] [--sex 1|2] [--hrv] [--trace[=FILE]] FILE...\n";

bool ParseInt(const char* text, int* value) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < -100000 || v > 100000)
        return false;
    *value = static_cast<int>(v);
    return true;
}

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--age" && i + 1 < argc) {
            if (!ParseInt(argv[++i], &options->age))
                return false;
            options->ageGiven = true;
        } else if (arg == "--sex" && i + 1 < argc) {
            if (!ParseInt(argv[++i], &options->sex) || (options->sex != 1 && options->sex != 2))
                return false;
            options->sexGiven = true;
        } else if (arg == "--hrv") {
            options->hrv = true;
        } else if (arg == "--trace" || (arg.starts_with("--trace=") && arg.size() > 8)) {
            options->trace = true;
            options->traceFile = arg == "--trace" ? "" : arg.substr(8);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return false;
        } else {
            options->files.push_back(arg);
        }
    }
    return !options->files.empty();
}

std::string Extension(const std::string& path) {
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

const char* FileStatusText(FileStatus status) {
    switch (status) {
    case FileStatus::Ok:
        return "ok";
    case FileStatus::CannotOpen:
        return "cannot open the file";
    case FileStatus::WriteFailed:
        return "write failed";
    case FileStatus::UnsafeName:
        return "unsafe file name";
    case FileStatus::NothingSaved:
        return "nothing saved";
    }
    return "unknown failure";
}

void WriteHeader(JsonLine& json, const RecordingHeader& header) {
    char type = header.Type();
    json.Key("header")
        .BeginObject()
        .Field("name", header.Name())
        .Field("birthYear", header.BirthYear())
        .Field("sex", header.Sex())
        .Field("value", header.Value())
        .Field("type", type ? std::string(1, type) : std::string())
        .Field("meanPulse", header.MeanPulse())
        .Field("phone", header.Phone())
        .EndObject();
}

void WriteApg(JsonLine& json, const ApgSummary& apg) {
    json.Key("apg")
        .BeginObject()
        .Field("qualified", apg.qualified)
        .Field("ba", apg.ba)
        .Field("ca", apg.ca)
        .Field("da", apg.da)
        .Field("ea", apg.ea)
        .Field("abMs", apg.abMs)
        .Field("acMs", apg.acMs)
        .Field("adMs", apg.adMs)
        .Field("aeMs", apg.aeMs)
        .Field("wellnessIndex", apg.wellnessIndex)
        .Field("vascularAge", apg.vascularAge)
        .Field("typeIndex", apg.typeIndex)
        .Field("type", apg.typeIndex >= 0 ? std::string(1, static_cast<char>('A' + apg.typeIndex))
                                          : std::string())
        .Field("meanSignalStrength", apg.meanSignalStrength)
        .Field("meanPulse", apg.meanPulse)
        .Field("bpStatus", apg.bpStatus)
        .Field("rows", apg.rows)
        .EndObject();
}

void WriteHrv(JsonLine& json, const HrvResult& r, int cleanedCount) {
    json.Key("hrv")
        .BeginObject()
        .Field("age", r.age)
        .Field("sex", r.sex)
        .Field("meanRate", r.meanRate)
        .Field("sdRate", r.sdRate)
        .Field("totalPower", r.totalPower)
        .Field("vlfPower", r.vlfPower)
        .Field("lfPower", r.lfPower)
        .Field("hfPower", r.hfPower)
        .Field("lfShare", r.lfShare)
        .Field("hfShare", r.hfShare)
        .Field("rateNormSd", r.rateNormSd)
        .Field("sdNormRange", r.sdNormRange)
        .Field("rateNorm", r.rateNorm)
        .Field("sdNorm", r.sdNorm)
        .Field("quarterSd", r.quarterSd)
        .Field("sdNormRate", r.sdNormRate)
        .Field("sdNormLow", r.sdNormLow)
        .Field("sdNormHigh", r.sdNormHigh)
        .Field("sdNormHalf", r.sdNormHalf)
        .Field("variabilityScore", r.variabilityScore)
        .Field("diff2Index", r.diff2Index)
        .Field("lfScore", r.lfScore)
        .Field("hfScore", r.hfScore)
        .Field("hfBalanceScore", r.hfBalanceScore)
        .Field("diff2Score", r.diff2Score)
        .Field("distributionScore", r.distributionScore)
        .Field("geoVariability", r.geoVariability)
        .Field("combinedScore", r.combinedScore)
        .Field("upDownIndex", r.upDownIndex)
        .Field("regularityScore", r.regularityScore)
        .Field("stressScore", r.stressScore)
        .Field("stressScoreCopy", r.stressScoreCopy)
        .Field("meanRr", r.meanRr)
        .Field("sdnn", r.sdnn)
        .Field("triangularIndex", r.triangularIndex)
        .Field("pnn50", r.pnn50)
        .Field("rmssd", r.rmssd)
        .Field("sdsd", r.sdsd)
        .Field("totalClass", r.totalClass)
        .Field("vlfClass", r.vlfClass)
        .Field("lfClass", r.lfClass)
        .Field("hfClass", r.hfClass)
        .Field("ratioClass", r.ratioClass)
        .Field("rateClass", r.rateClass)
        .Field("sdnnClass", r.sdnnClass)
        .Field("rmssdClass", r.rmssdClass)
        .Field("triangularClass", r.triangularClass)
        .Field("pnn50Class", r.pnn50Class)
        .Field("ansType", r.ansType)
        .Field("cleanedCount", cleanedCount)
        .EndObject();
}

void WriteError(const std::string& file, const std::string& message) {
    JsonLine json;
    json.Field("file", file).Field("error", message);
    std::printf("%s\n", json.Text().c_str());
}

// Analyses one file and prints its line; false when the file could not be read.
bool AnalyseFile(const std::string& path, const Options& options) {
    std::string ext = Extension(path);
    if (ext != "ppg" && ext != "hrv" && ext != "csv") {
        WriteError(path, "unknown file kind (expected .ppg, .hrv or .csv)");
        return false;
    }

    auto hrv = std::make_unique<CHrv>();
    RecordingHeader header;
    bool pulse = ext != "hrv";
    if (pulse) {
        hrv->AttachApg();
        hrv->AttachRateChart(300);
        hrv->AttachPulseRing();
        hrv->AttachLfHfChart();
        hrv->ResetMeasurement();
    } else {
        hrv->AttachRateChart(150);
        hrv->AttachRateDisplay();
        hrv->AttachLfHfChart();
    }

    int age = kDefaultAge;
    int sex = kDefaultSex;
    if (ext == "csv") {
        std::vector<int16_t> samples;
        std::string error;
        if (!ReadSampleCsv(path, &samples, &error)) {
            WriteError(path, error);
            return false;
        }
        if (samples.size() > static_cast<size_t>(CHrv::kSeriesCapacity))
            std::fprintf(stderr,
                         "tondrela-analyse: %s: %zu samples, more than the %d the program holds: "
                         "analysed as the program would analyse them live\n",
                         path.c_str(), samples.size(), CHrv::kSeriesCapacity);
        hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    } else {
        FileStatus status =
            pulse ? hrv->LoadPulseFile(&header, path) : hrv->LoadRateFile(&header, path);
        if (status != FileStatus::Ok) {
            WriteError(path, FileStatusText(status));
            return false;
        }
        age = hrv->Identity().age;
        sex = header.Sex();
    }
    if (options.ageGiven)
        age = options.age;
    if (options.sexGiven)
        sex = options.sex;

    JsonLine json;
    json.Field("file", path).Field("kind", ext);
    if (ext != "csv")
        WriteHeader(json, header);
    json.Field("age", age).Field("sex", sex);
    json.Field("dateTime", hrv->Identity().dateTimeText);
    json.Field("samples", hrv->Count(CHrv::Series::Raw));
    json.Key("rates").Array(hrv->CopyRates());
    json.Field("beats", hrv->BeatCount());

    double minRate = 0;
    double maxRate = 0;
    double mean = hrv->TimelineStats(&minRate, &maxRate);
    bool hasRates = false;
    for (double v : hrv->CopyTimeline())
        hasRates = hasRates || v != HrvCanvas::kTick;
    json.Key("timeline").BeginObject().Field("mean", mean);
    if (hasRates)
        json.Field("min", minRate).Field("max", maxRate);
    else
        json.Key("min").Null().Key("max").Null();
    json.Field("ticks", hrv->TimelineTicks()).EndObject();
    json.Key("lfHistory").Array(hrv->CopyLfHistory());

    if (pulse)
        WriteApg(json, hrv->SummariseApg(age, sex));
    if (!pulse || options.hrv) {
        if (hrv->AnalyseHrv(sex, age) == HrvStatus::Ok)
            WriteHrv(json, hrv->Result(), static_cast<int>(hrv->CopyResampledRates().size()));
        else
            json.Key("hrv").Null();
    }
    std::printf("%s\n", json.Text().c_str());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (options.trace && !TraceTo(options.traceFile)) {
        std::fprintf(stderr, "tondrela-analyse: cannot write the trace to %s\n",
                     options.traceFile.c_str());
        return 2;
    }
    bool allRead = true;
    for (const std::string& file : options.files)
        allRead = AnalyseFile(file, options) && allRead;
    return allRead ? 0 : 1;
}
