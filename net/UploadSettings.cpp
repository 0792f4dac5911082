#include "net/UploadSettings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace {

constexpr char kBlanks[] = " \t\r\n";
constexpr std::size_t kMaxKeyLength = 16;

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool IsWord(const std::string& text) {
    return !text.empty() && text.size() <= kMaxKeyLength &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isalpha(c & 0xFF); });
}

// One of `choices` (each a word and its value); false when the word is not among them.
template <typename T, std::size_t N>
bool Choose(const std::string& word, const std::pair<const char*, T> (&choices)[N], T* value) {
    for (const auto& [name, choice] : choices) {
        if (word == name) {
            *value = choice;
            return true;
        }
    }
    return false;
}

constexpr std::pair<const char*, DataMode> kModes[] = {{"active", DataMode::Active},
                                                       {"passive", DataMode::Passive}};
constexpr std::pair<const char*, TlsUse> kTlsUses[] = {
    {"try", TlsUse::Try}, {"require", TlsUse::Require}, {"off", TlsUse::Off}};
constexpr std::pair<const char*, bool> kYesNo[] = {{"yes", true}, {"no", false}};

// Sets the key's field from the value; "" when that worked, else what is wrong.
std::string SetField(const std::string& key, const std::string& value, UploadSettings* s) {
    if (key == "server")
        s->server = value;
    else if (key == "user")
        s->user = value;
    else if (key == "password")
        s->password = value;
    else if (key == "folder")
        s->folder = value;
    else if (key == "cafile")
        s->caFile = value;
    else if (key == "port") {
        char* end = nullptr;
        const long port = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || port < 1 || port > 65535)
            return "'port' must be a number from 1 to 65535";
        s->port = static_cast<int>(port);
    } else if (key == "mode") {
        if (!Choose(value, kModes, &s->mode))
            return "'mode' must be active or passive";
    } else if (key == "tls") {
        if (!Choose(value, kTlsUses, &s->tls))
            return "'tls' must be try, require or off";
    } else if (key == "verify") {
        if (!Choose(value, kYesNo, &s->verify))
            return "'verify' must be yes or no";
    } else {
        return "unknown key '" + key + "'";
    }
    return std::string();
}

} // namespace

SettingsStatus ParseUploadSettings(const std::string& text, UploadSettings* settings,
                                   std::string* error) {
    UploadSettings parsed;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string content = Trim(line);
        if (content.empty() || content[0] == '#')
            continue;
        const std::size_t equals = content.find('=');
        const std::string key = Trim(content.substr(0, equals));
        // Neither the line nor anything but a word before "=" is ever quoted back: it may be
        // a mistyped password.
        std::string problem = "expected key = value";
        if (equals != std::string::npos && IsWord(key))
            problem = SetField(key, Trim(content.substr(equals + 1)), &parsed);
        if (!problem.empty()) {
            *error = "line " + std::to_string(number) + ": " + problem;
            return SettingsStatus::Invalid;
        }
    }
    for (const auto& [key, value] : {std::pair{"server", &parsed.server},
                                     {"user", &parsed.user},
                                     {"password", &parsed.password}}) {
        if (value->empty()) {
            *error = std::string("'") + key + "' is missing";
            return SettingsStatus::Invalid;
        }
    }
    *settings = std::move(parsed);
    return SettingsStatus::Ok;
}

SettingsStatus LoadUploadSettings(const std::string& path, UploadSettings* settings,
                                  std::string* error) {
    namespace fs = std::filesystem;
    std::error_code code;
    if (path.empty() || !fs::exists(path, code)) {
        *error = "no upload settings file " + path;
        return SettingsStatus::NotFound;
    }
    std::ifstream file(path, std::ios::binary);
    if (!fs::is_regular_file(path, code) || !file) {
        *error = "cannot read the upload settings file " + path;
        return SettingsStatus::Unreadable;
    }
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const SettingsStatus status = ParseUploadSettings(text, settings, error);
    if (status != SettingsStatus::Ok) {
        *error = path + ": " + *error;
        return status;
    }
    if (!settings->caFile.empty() && fs::path(settings->caFile).is_relative())
        settings->caFile = (fs::path(path).parent_path() / settings->caFile).string();
    return SettingsStatus::Ok;
}

std::string DefaultUploadSettingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path folder;
    if (config && config[0] == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home)
            return std::string();
        folder = std::filesystem::path(home) / ".config";
    }
    return (folder / "tondrela" / "upload.conf").string();
}
