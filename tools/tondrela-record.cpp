// tondrela-record: records raw samples from the sensor through the program's own sensor link,
// acquisition loop and byte decoding, and writes them as .csv (header "raw", one sample per
// line).
//
//   tondrela-record --seconds N [--out FILE] [--ppg PATH] [--simulate[=FILE] [--speed K]]
//
// --seconds N     record N seconds (1 to 300) at 200 samples per second
// --out FILE      write the .csv there instead of to standard output
// --ppg PATH      also save the recording (its first 60 s) as a pulse recording (.ppg)
// --simulate      record from a simulated sensor with a synthetic pulse
// --simulate=FILE record from a simulated sensor that replays FILE (.csv or .ppg) in a loop
// --speed K       run the simulated sensor's clock K times faster than real time
//
// Exit status: 0 when the recording was written, 1 on failure, 2 on bad usage.

#include "analysis/Hrv.h"
#include "analysis/RecordingFile.h"
#include "analysis/RecordingHeader.h"
#include "device/Acquisition.h"
#include "device/HidPlatform.h"
#include "device/SensorLink.h"
#include "platform/FileSync.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kMaxSeconds = 300; // CHrv keeps 65000 raw samples
constexpr int kSampleRate = 200;
// With no new sample for this long the sensor is taken as lost (more than two read limits).
constexpr std::chrono::seconds kStallLimit{15};

const char* const kUsage = "usage: tondrela-record --seconds N [--out FILE] [--ppg PATH] "
                           "[--simulate[=FILE] [--speed K]]\n";

struct Options {
    int seconds = 0;
    std::string out;
    std::string ppg;
    bool simulate = false;
    std::string simulateFile;
    double speed = 1.0;
    bool speedGiven = false;
};

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                *error = std::string(name) + " needs a value";
                return nullptr;
            }
            return argv[++i];
        };
        if (arg == "--seconds") {
            const char* text = value("--seconds");
            if (!text)
                return false;
            char* end = nullptr;
            long seconds = std::strtol(text, &end, 10);
            if (end == text || *end != '\0' || seconds < 1 || seconds > kMaxSeconds) {
                *error =
                    "--seconds must be a whole number from 1 to " + std::to_string(kMaxSeconds);
                return false;
            }
            options->seconds = static_cast<int>(seconds);
        } else if (arg == "--out" || arg == "--ppg") {
            const char* text = value(arg.c_str());
            if (!text)
                return false;
            (arg == "--out" ? options->out : options->ppg) = text;
        } else if (arg == "--simulate") {
            options->simulate = true;
        } else if (arg.starts_with("--simulate=")) {
            options->simulate = true;
            options->simulateFile = arg.substr(11);
            if (options->simulateFile.empty()) {
                *error = "--simulate= needs a file";
                return false;
            }
        } else if (arg == "--speed") {
            const char* text = value("--speed");
            if (!text)
                return false;
            char* end = nullptr;
            options->speed = std::strtod(text, &end);
            if (end == text || *end != '\0' || !(options->speed > 0) || options->speed > 1000) {
                *error = "--speed must be a number above 0 and at most 1000";
                return false;
            }
            options->speedGiven = true;
        } else {
            *error = "unknown argument " + arg;
            return false;
        }
    }
    if (options->seconds == 0) {
        *error = "--seconds is required";
        return false;
    }
    if (options->speedGiven && !options->simulate) {
        *error = "--speed needs --simulate";
        return false;
    }
    return true;
}

bool WriteCsv(std::ostream& out, const std::vector<double>& samples) {
    out << "raw\n";
    for (double sample : samples)
        out << static_cast<int>(sample) << '\n';
    out.flush();
    return static_cast<bool>(out);
}

// Waits until the analysis object holds `target` raw samples. False when the sensor
// delivered nothing new for kStallLimit.
bool WaitForSamples(const CHrv& hrv, int target) {
    using Clock = std::chrono::steady_clock;
    int count = 0;
    int last = -1;
    auto progress = Clock::now();
    while ((count = hrv.Count(CHrv::Series::Raw)) < target) {
        auto now = Clock::now();
        if (count != last) {
            last = count;
            progress = now;
        } else if (now - progress > kStallLimit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

int Record(const Options& options) {
    std::string error;
    std::string source =
        options.simulate ? (options.simulateFile.empty() ? "synthetic" : options.simulateFile) : "";
    std::unique_ptr<HidPlatform> platform = MakeHidPlatform(source, options.speed, &error);
    if (!platform) {
        std::fprintf(stderr, "tondrela-record: %s\n", error.c_str());
        return 1;
    }
    SensorLink link(std::move(platform));
    // No window thread here: device changes are handled right on the notification thread,
    // which is the only caller of the link's owner operations after start-up.
    link.StartUp([&link](const DeviceChange& change) { link.HandleDeviceChange(change); });
    if (!link.SensorConnected()) {
        std::fprintf(stderr, "tondrela-record: sensor not found (USB vendor 04d8, product 003f)\n");
        return 1;
    }

    auto hrv = std::make_unique<CHrv>();
    const int target = options.seconds * kSampleRate;
    bool complete = false;
    {
        CAcquisition acquisition(link, *hrv, AcquisitionKind::Apg);
        if (acquisition.Start() != 1) {
            std::fprintf(stderr, "tondrela-record: cannot start the acquisition thread\n");
            return 1;
        }
        complete = WaitForSamples(*hrv, target);
        acquisition.Stop();
    }
    if (!complete) {
        std::fprintf(stderr,
                     "tondrela-record: the sensor stopped delivering samples after %d of %d "
                     "(on Linux, check that the udev rule gives you access to its hidraw node)\n",
                     hrv->Count(CHrv::Series::Raw), target);
        return 1;
    }

    std::vector<double> samples(static_cast<size_t>(CHrv::kSeriesCapacity));
    int count = hrv->CopySeriesTail(CHrv::Series::Raw, samples.data(), CHrv::kSeriesCapacity);
    samples.resize(static_cast<size_t>(std::min(count, target)));

    if (options.out.empty()) {
        if (!WriteCsv(std::cout, samples)) {
            std::fprintf(stderr, "tondrela-record: cannot write to standard output\n");
            return 1;
        }
    } else {
        std::ofstream file(options.out, std::ios::binary | std::ios::trunc);
        if (!file || !WriteCsv(file, samples)) {
            std::fprintf(stderr, "tondrela-record: cannot write %s\n", options.out.c_str());
            return 1;
        }
    }

    if (!options.ppg.empty()) {
        // The loop may have delivered a few samples past the target before it stopped: the
        // pulse recording is made from exactly the samples written to the .csv.
        std::vector<int16_t> recorded(samples.begin(), samples.end());
        hrv->ResetMeasurement();
        hrv->AddSamples(recorded.data(), static_cast<int>(recorded.size()));
        RecordingHeader header;
        header.SetName(std::filesystem::path(options.ppg).stem().string());
        FileStatus status = hrv->SavePulseFile(options.ppg, &header);
        if (status != FileStatus::Ok) {
            std::fprintf(stderr, "tondrela-record: cannot save the pulse recording %s\n",
                         options.ppg.c_str());
            return 1;
        }
    }
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
    SetFileSync(&SyncToDisk);
    return Record(options);
}
