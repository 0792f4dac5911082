// tondrela-record: records raw samples from the sensor through the program's own sensor link,
// acquisition loop and byte decoding, and writes them as .csv (header "raw", one sample per
// line).
//
//   tondrela-record --seconds N [--out FILE]
//                   [--ppg PATH --birth-year YYYY --sex 1|2 [--name NAME] [--phone TEXT]
//                    [--any-ppg-name] [--work]]
//                   [--simulate[=FILE] [--speed K] [--unplug-every S]] [--trace[=FILE]]
//
// The options are explained in kUsage below (--help prints it).
// Exit status: 0 when the recording was written, 1 on failure, 2 on bad usage.

#include "analysis/Hrv.h"
#include "analysis/RecordingFile.h"
#include "analysis/RecordingHeader.h"
#include "analysis/Trace.h"
#include "device/Acquisition.h"
#include "device/HidPlatform.h"
#include "device/SensorLink.h"
#include "device/SimulatedSensor.h"
#include "platform/FileSync.h"
#include "platform/RecordingsFolder.h"
#include "records/UserFields.h"
#include "records/UserRecordings.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kMaxSeconds = 3600;
constexpr int kSampleRate = 200;
// The simulated sensor answers each 10 ms cycle with at most 21 samples (one report), about
// 10.5 times the real rate: a faster clock would only build a backlog.
constexpr double kMaxSpeed = 10;
// With no new sample for this long the sensor is taken as lost (more than two read limits).
constexpr std::chrono::seconds kStallLimit{15};
// How long the simulated sensor stays unplugged in each --unplug-every cycle.
constexpr std::chrono::milliseconds kUnplugged{200};

const char* const kUsage =
    "usage: tondrela-record --seconds N [--out FILE]\n"
    "                       [--ppg PATH --birth-year YYYY --sex 1|2 [--name NAME]\n"
    "                        [--phone TEXT] [--any-ppg-name] [--work]]\n"
    "                       [--simulate[=FILE] [--speed K] [--unplug-every S]]\n"
    "                       [--trace[=FILE]]\n"
    "  --seconds N       record N seconds (1 to 3600) at 200 samples per second\n"
    "  --out FILE        write the .csv there instead of to standard output\n"
    "  --ppg PATH        also save the first 60 s as a pulse recording NAME_YYYYMMDD_HHMMSS.ppg\n"
    "  --birth-year, --sex, --name, --phone\n"
    "                    the person in its header (the name defaults to NAME of the file name)\n"
    "  --any-ppg-name    accept a --ppg file name that does not follow that pattern\n"
    "  --work            save the --ppg file (a bare file name) in the program's recordings\n"
    "                    folder, where the program finds it\n"
    "  --simulate        record from a simulated sensor with a synthetic pulse\n"
    "  --simulate=FILE   record from a simulated sensor that replays FILE (.csv or .ppg)\n"
    "  --speed K         run the simulated sensor's clock K times faster than real time;\n"
    "                    at most 10 (it sends 21 samples per 10 ms cycle), more is clamped\n"
    "  --unplug-every S  unplug the simulated sensor every S recorded seconds and plug it in\n"
    "                    again; reports the samples lost\n"
    "  --trace[=FILE]    write the diagnostic trace to standard error, or to FILE\n";

struct Options {
    int seconds = 0;
    std::string out;
    std::string ppg;
    std::optional<std::string> name;
    std::optional<int> birthYear;
    std::optional<int> sex;
    std::string phone;
    bool anyPpgName = false;
    bool work = false;
    bool simulate = false;
    std::string simulateFile;
    double speed = 1.0;
    bool speedGiven = false;
    int unplugEvery = 0; // recorded seconds, 0 = never
    bool trace = false;
    std::string traceFile; // "" for standard error
};

int CurrentYear() {
    using namespace std::chrono;
    return static_cast<int>(year_month_day(floor<days>(system_clock::now())).year());
}

bool ParseWhole(const char* text, long low, long high, int* value) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < low || v > high)
        return false;
    *value = static_cast<int>(v);
    return true;
}

// NAME of "NAME_YYYYMMDD_HHMMSS.ppg", or nothing when the file name does not follow it.
std::optional<std::string> RecordingName(const std::string& path) {
    const std::string file = std::filesystem::path(path).filename().string();
    const std::string name = file.substr(0, file.find('_'));
    if (!file.ends_with(".ppg") || !IsSafeUserName(name) || !IsRecordingOf(file, name))
        return std::nullopt;
    return name;
}

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                *error = arg + " needs a value";
                return nullptr;
            }
            return argv[++i];
        };
        auto whole = [&](long low, long high, int* out) {
            const char* text = value();
            if (text && !ParseWhole(text, low, high, out)) {
                *error = arg + " must be a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high);
                return false;
            }
            return text != nullptr;
        };
        if (arg == "--seconds") {
            if (!whole(1, kMaxSeconds, &options->seconds))
                return false;
        } else if (arg == "--out" || arg == "--ppg" || arg == "--name" || arg == "--phone") {
            const char* text = value();
            if (!text)
                return false;
            if (arg == "--out")
                options->out = text;
            else if (arg == "--ppg")
                options->ppg = text;
            else if (arg == "--name")
                options->name = text;
            else
                options->phone = text;
        } else if (arg == "--birth-year" || arg == "--sex") {
            int v = 0;
            if (!(arg == "--sex" ? whole(1, 2, &v) : whole(1900, CurrentYear(), &v)))
                return false;
            (arg == "--sex" ? options->sex : options->birthYear) = v;
        } else if (arg == "--any-ppg-name") {
            options->anyPpgName = true;
        } else if (arg == "--work") {
            options->work = true;
        } else if (arg == "--simulate") {
            options->simulate = true;
        } else if (arg.starts_with("--simulate=")) {
            options->simulate = true;
            options->simulateFile = arg.substr(11);
            if (options->simulateFile.empty()) {
                *error = "--simulate= needs a file";
                return false;
            }
        } else if (arg == "--trace" || arg.starts_with("--trace=")) {
            options->trace = true;
            options->traceFile = arg.size() > 8 ? arg.substr(8) : "";
            if (arg == "--trace=") {
                *error = "--trace= needs a file";
                return false;
            }
        } else if (arg == "--speed") {
            const char* text = value();
            if (!text)
                return false;
            char* end = nullptr;
            options->speed = std::strtod(text, &end);
            if (end == text || *end != '\0' || !(options->speed > 0) || options->speed > 1e6) {
                *error = "--speed must be a number above 0";
                return false;
            }
            options->speedGiven = true;
        } else if (arg == "--unplug-every") {
            if (!whole(1, kMaxSeconds, &options->unplugEvery))
                return false;
        } else {
            *error = "unknown argument " + arg;
            return false;
        }
    }
    if (options->seconds == 0) {
        *error = "--seconds is required";
        return false;
    }
    if ((options->speedGiven || options->unplugEvery > 0) && !options->simulate) {
        *error = "--speed and --unplug-every need --simulate";
        return false;
    }
    if (options->ppg.empty()) {
        if (options->name || options->birthYear || options->sex || !options->phone.empty() ||
            options->anyPpgName || options->work) {
            *error = "--name, --birth-year, --sex, --phone, --any-ppg-name and --work need --ppg";
            return false;
        }
        return true;
    }
    if (!options->birthYear || !options->sex) {
        *error = "--ppg needs --birth-year and --sex (the analysis of the recording uses them)";
        return false;
    }
    std::optional<std::string> fileName = RecordingName(options->ppg);
    if (!fileName && !options->anyPpgName) {
        *error = "--ppg " + options->ppg +
                 ": the program finds recordings named NAME_YYYYMMDD_HHMMSS.ppg (NAME without "
                 "\"_\"); give --any-ppg-name to save under this name anyway";
        return false;
    }
    if (!options->name)
        options->name = fileName ? *fileName : std::filesystem::path(options->ppg).stem().string();
    if (options->work) {
        if (std::filesystem::path(options->ppg).has_parent_path()) {
            *error = "--work takes a bare --ppg file name (the folder is the program's)";
            return false;
        }
        const std::filesystem::path folder = RecordingsFolder(ProgramFolder());
        if (folder.empty()) {
            *error = "cannot create the recordings folder (is HOME set?)";
            return false;
        }
        options->ppg = (folder / options->ppg).string();
    }
    return true;
}

std::vector<uint8_t> CsvBytes(const std::vector<double>& samples) {
    std::string text = "raw\n";
    for (double sample : samples)
        text += std::to_string(static_cast<int>(sample)) + '\n';
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Unplugs the simulated sensor every `seconds` of recorded samples and plugs it in again.
class UnplugSchedule {
public:
    UnplugSchedule(SimulatedSensor* sensor, int seconds)
        : m_sensor(sensor), m_every(static_cast<size_t>(seconds) * kSampleRate), m_next(m_every) {}

    void Update(size_t recorded) {
        if (!m_sensor || recorded < m_next)
            return;
        m_sensor->Unplug();
        std::this_thread::sleep_for(kUnplugged);
        m_sensor->PlugIn();
        ++m_cycles;
        m_next += m_every;
    }
    int Cycles() const { return m_cycles; }

private:
    SimulatedSensor* m_sensor;
    size_t m_every;
    size_t m_next;
    int m_cycles = 0;
};

// Collects the raw samples as they arrive until `target` are there. False when the sensor
// delivered nothing new for kStallLimit or the collection fell behind the raw series.
bool CollectSamples(const CHrv& hrv, size_t target, UnplugSchedule& unplug,
                    std::vector<double>* samples, std::string* error) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> chunk;
    auto progress = Clock::now();
    while (samples->size() < target) {
        const long long total = hrv.CopyRawFrom(static_cast<long long>(samples->size()), &chunk);
        if (total - static_cast<long long>(samples->size()) >
            static_cast<long long>(chunk.size())) {
            *error = "the recording fell behind the sensor and lost samples";
            return false;
        }
        if (!chunk.empty()) {
            progress = Clock::now();
            samples->insert(samples->end(), chunk.begin(),
                            chunk.begin() + static_cast<std::ptrdiff_t>(
                                                std::min(chunk.size(), target - samples->size())));
            if (samples->size() < target)
                unplug.Update(samples->size());
        } else if (Clock::now() - progress > kStallLimit) {
            *error = "the sensor stopped delivering samples after " +
                     std::to_string(samples->size()) + " of " + std::to_string(target) +
                     " (on Linux, check that the udev rule gives you access to its hidraw node)";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The first 60 s as a pulse recording, with the figures of the wellness analysis in its
// header, as the program saves a test.
bool SavePulseRecording(const Options& options, const std::vector<double>& samples) {
    const size_t n = std::min(samples.size(), static_cast<size_t>(kPulseFileSamples));
    std::vector<int16_t> pulse(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(n));
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachPulseRing(); // the signal strength of each beat
    hrv->AttachRateChart(300);
    hrv->AddSamples(pulse.data(), static_cast<int>(pulse.size()));
    const std::string file = std::filesystem::path(options.ppg).filename().string();
    const size_t date = file.find('_');
    const int year = date != std::string::npos ? std::atoi(file.substr(date + 1, 4).c_str()) : 0;
    const int age = (year > 0 ? year : CurrentYear()) - *options.birthYear;
    const ApgSummary summary = hrv->SummariseApg(age, *options.sex);
    const RecordingHeader header =
        PulseRecordingHeader(*options.name, *options.birthYear, *options.sex, options.phone,
                             summary.vascularAge, summary);
    if (hrv->SavePulseFile(options.ppg, &header) != FileStatus::Ok) {
        std::fprintf(stderr, "tondrela-record: cannot save the pulse recording %s\n",
                     options.ppg.c_str());
        return false;
    }
    return true;
}

int Record(const Options& options) {
    std::string error;
    std::string source =
        options.simulate ? (options.simulateFile.empty() ? "synthetic" : options.simulateFile) : "";
    double speed = options.speed;
    if (speed > kMaxSpeed) {
        std::fprintf(stderr,
                     "tondrela-record: --speed %g is more than the simulated sensor delivers "
                     "(21 samples per 10 ms cycle): using %g\n",
                     speed, kMaxSpeed);
        speed = kMaxSpeed;
    }
    std::unique_ptr<HidPlatform> platform = MakeHidPlatform(source, speed, &error);
    if (!platform) {
        std::fprintf(stderr, "tondrela-record: %s\n", error.c_str());
        return 1;
    }
    auto* sensor = dynamic_cast<SimulatedSensor*>(platform.get());
    SensorLink link(std::move(platform));
    link.StartUp({}); // the link follows device changes itself; nobody else needs to know
    if (link.SensorInaccessible()) {
        std::fprintf(stderr, "tondrela-record: the sensor is present but cannot be opened: "
                             "install the udev rule and plug the sensor in again\n");
        return 1;
    }
    if (!link.SensorConnected()) {
        std::fprintf(stderr, "tondrela-record: sensor not found (USB vendor 04d8, product 003f)\n");
        return 1;
    }

    auto hrv = std::make_unique<CHrv>();
    const size_t target = static_cast<size_t>(options.seconds) * kSampleRate;
    std::vector<double> samples;
    samples.reserve(target);
    UnplugSchedule unplug(options.unplugEvery > 0 ? sensor : nullptr, options.unplugEvery);
    bool complete = false;
    {
        CAcquisition acquisition(link, *hrv, AcquisitionKind::Apg);
        if (acquisition.Start() != 1) {
            std::fprintf(stderr, "tondrela-record: cannot start the acquisition thread\n");
            return 1;
        }
        complete = CollectSamples(*hrv, target, unplug, &samples, &error);
        acquisition.Stop();
    } // the acquisition thread has ended here
    if (options.unplugEvery > 0) {
        std::vector<double> none;
        const long long received = hrv->CopyRawFrom(LLONG_MAX, &none);
        std::fprintf(stderr, "tondrela-record: %d unplug/replug cycles, %lld samples lost\n",
                     unplug.Cycles(), sensor->SamplesSent() - received);
    }
    if (!complete) {
        std::fprintf(stderr, "tondrela-record: %s\n", error.c_str());
        return 1;
    }

    const std::vector<uint8_t> csv = CsvBytes(samples);
    if (options.out.empty()) {
        if (std::fwrite(csv.data(), 1, csv.size(), stdout) != csv.size() ||
            std::fflush(stdout) != 0) {
            std::fprintf(stderr, "tondrela-record: cannot write to standard output\n");
            return 1;
        }
    } else if (SaveFileContents(options.out, csv) != FileStatus::Ok) {
        std::fprintf(stderr, "tondrela-record: cannot write %s\n", options.out.c_str());
        return 1;
    }
    if (!options.ppg.empty() && !SavePulseRecording(options, samples))
        return 1;
    if (options.work)
        std::fprintf(stderr, "tondrela-record: saved %s\n", options.ppg.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "tondrela-record: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options.trace && !TraceTo(options.traceFile)) {
        std::fprintf(stderr, "tondrela-record: cannot write the trace to %s\n",
                     options.traceFile.c_str());
        return 2;
    }
    SetFileSync(&SyncToDisk);
    return Record(options);
}
