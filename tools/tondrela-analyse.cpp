// tondrela-analyse: runs the program's own analysis on recordings and prints one JSON object
// per file (JSON Lines), or with --csv one header row and one row of headline figures per
// file.
//
//   tondrela-analyse [--age YEARS] [--sex 1|2] [--hrv] [--csv] [--work] [--trace[=FILE]]
//                    FILE...
//
// --trace writes the diagnostic trace to standard error, or to FILE.
// FILE is a pulse recording (.ppg), a rate recording (.hrv) or a .csv of raw sensor samples
// (grammar in analysis/SampleCsv.h). --work adds every recording in the program's recordings
// folder (platform/RecordingsFolder.h). An input longer than the program's stores hold is
// analysed as the program would analyse it, and standard error says so.
// Exit status: 0 when every file was analysed, 1 when any file could not be read, 2 on bad
// usage.

#include "analysis/Hrv.h"
#include "analysis/RecordingFile.h"
#include "analysis/SampleCsv.h"
#include "analysis/Trace.h"
#include "platform/RecordingsFolder.h"
#include "tools/CsvRow.h"
#include "tools/JsonLine.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <variant>
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
    bool csv = false;
    bool work = false;
    std::vector<std::string> files;
};

const char* const kUsage =
    "usage: tondrela-analyse [--age YEARS] [--sex 1|2] [--hrv] [--csv] [--work]\n"
    "                        [--trace[=FILE]] FILE...\n";

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
        } else if (arg == "--csv") {
            options->csv = true;
        } else if (arg == "--work") {
            options->work = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return false;
        } else {
            options->files.push_back(arg);
        }
    }
    return !options->files.empty() || options->work;
}

// The .ppg and .hrv files of the recordings folder, in name order.
std::vector<std::string> RecordingsInWorkFolder() {
    const std::filesystem::path folder = RecordingsFolder(ProgramFolder());
    std::vector<std::string> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string ext = it->path().extension().string();
        if ((ext == ".ppg" || ext == ".hrv") && it->is_regular_file(ec))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
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

// The wellness type letter of a type index, "" for none.
std::string TypeLetter(int typeIndex) {
    return typeIndex >= 0 ? std::string(1, static_cast<char>('A' + typeIndex)) : std::string();
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
        .Field("type", TypeLetter(apg.typeIndex))
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

// One file, analysed as the program does.
struct Analysed {
    std::string path;
    std::string kind; // "ppg", "hrv" or "csv"
    std::unique_ptr<CHrv> hrv;
    bool hasHeader = false;
    RecordingHeader header;
    int age = kDefaultAge;
    int sex = kDefaultSex;
    bool pulse = false;       // .ppg or .csv: the wellness figures
    ApgSummary apg;           // when pulse
    bool hrvAnalysed = false; // .hrv, or --hrv
    bool hrvOk = false;       // the HRV analysis had enough rates
};

void Note(const std::string& path, const std::string& text) {
    std::fprintf(stderr, "tondrela-analyse: %s: %s\n", path.c_str(), text.c_str());
}

// Says on standard error where the program's stores cut the input: the raw series (65000
// samples), the wellness analysis (its first 13000 values, 65 s) and the rate queue (1080).
void NoteLimits(const Analysed& a, size_t inputValues, bool inputCut) {
    const std::string samples = std::to_string(CHrv::kSeriesCapacity);
    if (inputCut)
        Note(a.path, a.pulse ? "holds more than the " + samples +
                                   " samples the program reads: analysed are the first " + samples
                             : "holds more than the " + std::to_string(kRateBodyLimit) +
                                   " values the program reads: analysed are the first " +
                                   std::to_string(kRateBodyLimit));
    else if (a.kind == "csv" && inputValues > static_cast<size_t>(CHrv::kSeriesCapacity))
        Note(a.path, std::to_string(inputValues) + " samples, more than the " + samples +
                         " the program holds: analysed as the program would analyse them live");
    if (a.pulse && a.hrv->Count(CHrv::Series::Signal) > ApgCanvas::kSeriesCapacity)
        Note(a.path, "the wellness figures are those of the first 65 s (" +
                         std::to_string(ApgCanvas::kSeriesCapacity) +
                         " values), as in the program's test");
    if (a.hrvAnalysed) {
        const std::vector<double> timeline = a.hrv->CopyTimeline();
        const auto rates = std::count_if(timeline.begin(), timeline.end(),
                                         [](double v) { return v != HrvCanvas::kTick; });
        if (rates > CHrv::kRateCapacity)
            Note(a.path, "the HRV figures are those of the last " +
                             std::to_string(CHrv::kRateCapacity) + " of " + std::to_string(rates) +
                             " rates, as the program keeps them");
    }
}

// Reads and analyses one file; false with a message when it cannot be read.
bool Analyse(const std::string& path, const Options& options, Analysed* a, std::string* error) {
    a->path = path;
    a->kind = Extension(path);
    if (a->kind != "ppg" && a->kind != "hrv" && a->kind != "csv") {
        *error = "unknown file kind (expected .ppg, .hrv or .csv)";
        return false;
    }
    a->hrv = std::make_unique<CHrv>();
    CHrv& hrv = *a->hrv;
    a->pulse = a->kind != "hrv";
    if (a->pulse) {
        hrv.AttachApg();
        hrv.AttachRateChart(300);
        hrv.AttachPulseRing();
        hrv.AttachLfHfChart();
        hrv.ResetMeasurement();
    } else {
        hrv.AttachRateChart(150);
        hrv.AttachRateDisplay();
        hrv.AttachLfHfChart();
    }

    size_t inputValues = 0;
    bool inputCut = false;
    if (a->kind == "csv") {
        std::vector<int16_t> samples;
        if (!ReadSampleCsv(path, &samples, error))
            return false;
        inputValues = samples.size();
        hrv.AddSamples(samples.data(), static_cast<int>(samples.size()));
    } else {
        const FileStatus status =
            a->pulse ? hrv.LoadPulseFile(&a->header, path) : hrv.LoadRateFile(&a->header, path);
        if (status != FileStatus::Ok) {
            *error = FileStatusText(status);
            return false;
        }
        RecordingHeader again;
        std::vector<int16_t> samples;
        std::vector<double> values;
        (void)(a->pulse ? ReadPulseSamples(path, &again, &samples, &inputCut)
                        : ReadRateValues(path, &again, &values, &inputCut));
        a->hasHeader = true;
        a->age = hrv.Identity().age;
        a->sex = a->header.Sex();
    }
    if (options.ageGiven)
        a->age = options.age;
    if (options.sexGiven)
        a->sex = options.sex;
    if (a->pulse)
        a->apg = hrv.SummariseApg(a->age, a->sex);
    a->hrvAnalysed = !a->pulse || options.hrv;
    if (a->hrvAnalysed)
        a->hrvOk = hrv.AnalyseHrv(a->sex, a->age) == HrvStatus::Ok;
    NoteLimits(*a, inputValues, inputCut);
    return true;
}

void WriteJson(const Analysed& a) {
    CHrv& hrv = *a.hrv;
    JsonLine json;
    json.Field("file", a.path).Field("kind", a.kind);
    if (a.hasHeader)
        WriteHeader(json, a.header);
    json.Field("age", a.age).Field("sex", a.sex);
    json.Field("dateTime", hrv.Identity().dateTimeText);
    json.Field("samples", hrv.Count(CHrv::Series::Raw));
    json.Key("rates").Array(hrv.CopyRates());
    json.Field("beats", hrv.BeatCount());

    double minRate = 0;
    double maxRate = 0;
    double mean = hrv.TimelineStats(&minRate, &maxRate);
    bool hasRates = false;
    for (double v : hrv.CopyTimeline())
        hasRates = hasRates || v != HrvCanvas::kTick;
    json.Key("timeline").BeginObject().Field("mean", mean);
    if (hasRates)
        json.Field("min", minRate).Field("max", maxRate);
    else
        json.Key("min").Null().Key("max").Null();
    json.Field("ticks", hrv.TimelineTicks()).EndObject();
    json.Key("lfHistory").Array(hrv.CopyLfHistory());

    if (a.pulse)
        WriteApg(json, a.apg);
    if (a.hrvAnalysed) {
        if (a.hrvOk)
            WriteHrv(json, hrv.Result(), static_cast<int>(hrv.CopyResampledRates().size()));
        else
            json.Key("hrv").Null();
    }
    std::printf("%s\n", json.Text().c_str());
}

void WriteJsonError(const std::string& file, const std::string& message) {
    JsonLine json;
    json.Field("file", file).Field("error", message);
    std::printf("%s\n", json.Text().c_str());
}

// --- CSV export: headline figures, each column named by the JSON key it comes from (with the
// object it belongs to: "apg.wellnessIndex") and holding the same value.

using Cell = std::variant<std::monostate, int, double, std::string>; // monostate: empty

struct Column {
    const char* name;
    std::function<Cell(const Analysed&)> value;
};

template <class Get> Column Apg(const char* name, Get get) {
    return {name, [get](const Analysed& a) { return a.pulse ? Cell(get(a.apg)) : Cell(); }};
}

template <class Get> Column Hrv(const char* name, Get get) {
    return {name,
            [get](const Analysed& a) { return a.hrvOk ? Cell(get(a.hrv->Result())) : Cell(); }};
}

std::vector<Column> CsvColumns(bool withApg, bool withHrv) {
    std::vector<Column> columns = {
        {"file", [](const Analysed& a) { return Cell(a.path); }},
        {"header.name",
         [](const Analysed& a) { return a.hasHeader ? Cell(a.header.Name()) : Cell(); }},
        {"dateTime", [](const Analysed& a) { return Cell(a.hrv->Identity().dateTimeText); }},
        {"kind", [](const Analysed& a) { return Cell(a.kind); }},
        {"age", [](const Analysed& a) { return Cell(a.age); }},
        {"sex", [](const Analysed& a) { return Cell(a.sex); }},
    };
    if (withApg) {
        for (Column column : {
                 Apg("apg.wellnessIndex", [](const ApgSummary& s) { return s.wellnessIndex; }),
                 Apg("apg.type", [](const ApgSummary& s) { return TypeLetter(s.typeIndex); }),
                 Apg("apg.vascularAge", [](const ApgSummary& s) { return s.vascularAge; }),
                 Apg("apg.meanPulse", [](const ApgSummary& s) { return s.meanPulse; }),
                 Apg("apg.qualified", [](const ApgSummary& s) { return s.qualified; }),
                 Apg("apg.meanSignalStrength",
                     [](const ApgSummary& s) { return s.meanSignalStrength; }),
             })
            columns.push_back(column);
    }
    if (withHrv) {
        for (Column column : {
                 Hrv("hrv.stressScore", [](const HrvResult& r) { return r.stressScore; }),
                 Hrv("hrv.meanRate", [](const HrvResult& r) { return r.meanRate; }),
                 Hrv("hrv.sdnn", [](const HrvResult& r) { return r.sdnn; }),
                 Hrv("hrv.rmssd", [](const HrvResult& r) { return r.rmssd; }),
                 Hrv("hrv.pnn50", [](const HrvResult& r) { return r.pnn50; }),
                 Hrv("hrv.triangularIndex", [](const HrvResult& r) { return r.triangularIndex; }),
                 Hrv("hrv.lfPower", [](const HrvResult& r) { return r.lfPower; }),
                 Hrv("hrv.hfPower", [](const HrvResult& r) { return r.hfPower; }),
                 Hrv("hrv.lfShare", [](const HrvResult& r) { return r.lfShare; }),
                 Hrv("hrv.hfShare", [](const HrvResult& r) { return r.hfShare; }),
                 Hrv("hrv.ansType", [](const HrvResult& r) { return r.ansType; }),
             })
            columns.push_back(column);
    }
    return columns;
}

void WriteCsvHeader(const std::vector<Column>& columns) {
    CsvRow row;
    for (const Column& column : columns)
        row.Add(std::string(column.name));
    std::fputs(row.Text().c_str(), stdout);
}

void WriteCsvRow(const std::vector<Column>& columns, const Analysed& a) {
    CsvRow row;
    for (const Column& column : columns) {
        std::visit(
            [&row](const auto& v) {
                if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::monostate>)
                    row.AddEmpty();
                else
                    row.Add(v);
            },
            column.value(a));
    }
    std::fputs(row.Text().c_str(), stdout);
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
    if (options.work) {
        const std::vector<std::string> recordings = RecordingsInWorkFolder();
        options.files.insert(options.files.end(), recordings.begin(), recordings.end());
    }
    std::vector<Column> columns;
    if (options.csv) {
        const bool anyRate = options.hrv || std::any_of(options.files.begin(), options.files.end(),
                                                        [](const std::string& file) {
                                                            return Extension(file) == "hrv";
                                                        });
        const bool anyPulse =
            std::any_of(options.files.begin(), options.files.end(),
                        [](const std::string& file) { return Extension(file) != "hrv"; });
        columns = CsvColumns(anyPulse, anyRate);
        WriteCsvHeader(columns);
    }
    bool allRead = true;
    for (const std::string& file : options.files) {
        Analysed analysed;
        std::string error;
        if (!Analyse(file, options, &analysed, &error)) {
            allRead = false;
            if (options.csv)
                Note(file, error);
            else
                WriteJsonError(file, error);
        } else if (options.csv) {
            WriteCsvRow(columns, analysed);
        } else {
            WriteJson(analysed);
        }
    }
    return allRead ? 0 : 1;
}
