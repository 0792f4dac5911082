// tondrela-upload: sends recordings to the upload server of the settings file, the same way
// as the send button of the report windows.
//
//   tondrela-upload [--config FILE] [--trace[=FILE]] FILE...
//
// --config FILE  the settings file; by default $XDG_CONFIG_HOME/tondrela/upload.conf
//                (~/.config/tondrela/upload.conf)
// --trace        writes the diagnostic trace to standard error, or to FILE (never the
//                password)
//
// One line per file on standard output: "sent FILE", or "failed FILE: could not connect:
// REASON" (nothing was sent) or "failed FILE: not stored: REASON" (the server was reached).
// Exit status: 0 when every file was sent, 2 on bad usage, 1 otherwise (also when the
// settings file is missing or wrong: the reason goes to standard error).

#include "analysis/Trace.h"
#include "net/Ftp.h"
#include "net/UploadSettings.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kUsage = "usage: tondrela-upload [--config FILE] [--trace[=FILE]] FILE...\n";

struct Options {
    std::string config;
    bool trace = false;
    std::string traceFile; // "" for standard error
    std::vector<std::string> files;
};

bool ParseOptions(int argc, char** argv, Options* options) {
    options->config = DefaultUploadSettingsPath();
    bool filesOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (filesOnly || arg.empty() || arg[0] != '-')
            options->files.push_back(arg);
        else if (arg == "--")
            filesOnly = true;
        else if (arg == "--config" && i + 1 < argc)
            options->config = argv[++i];
        else if (arg == "--trace" || (arg.starts_with("--trace=") && arg.size() > 8)) {
            options->trace = true;
            options->traceFile = arg == "--trace" ? "" : arg.substr(8);
        } else
            return false;
    }
    return !options->files.empty();
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (options.trace && !TraceTo(options.traceFile)) {
        std::fprintf(stderr, "tondrela-upload: cannot write the trace to %s\n",
                     options.traceFile.c_str());
        return 1;
    }
    UploadSettings settings;
    std::string error;
    if (LoadUploadSettings(options.config, &settings, &error) != SettingsStatus::Ok) {
        std::fprintf(stderr, "tondrela-upload: %s\n", error.c_str());
        return 1;
    }

    CFtp ftp(settings);
    int failed = 0;
    for (const std::string& file : options.files) {
        const UploadResult result = ftp.SendFile(file);
        switch (result.status) {
        case UploadStatus::Stored:
            std::printf("sent %s\n", file.c_str());
            break;
        case UploadStatus::CannotConnect:
            std::printf("failed %s: could not connect: %s\n", file.c_str(), result.reason.c_str());
            ++failed;
            break;
        case UploadStatus::NotStored:
            std::printf("failed %s: not stored: %s\n", file.c_str(), result.reason.c_str());
            ++failed;
            break;
        }
        std::fflush(stdout);
    }
    return failed == 0 ? 0 : 1;
}
