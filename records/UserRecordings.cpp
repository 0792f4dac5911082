#include "records/UserRecordings.h"

#include "analysis/Trace.h"

#include <algorithm>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

std::string Utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

bool IsRecordingOf(std::string_view fileName, std::string_view userName) {
    // "_YYYYMMDD_HHMMSS.ext" after the name.
    constexpr size_t kStampBytes = 1 + 8 + 1 + 6 + 4;
    if (fileName.size() != userName.size() + kStampBytes || !fileName.starts_with(userName))
        return false;
    const std::string_view stamp = fileName.substr(userName.size());
    const std::string_view extension = stamp.substr(16);
    return stamp[0] == '_' && AllDigits(stamp.substr(1, 8)) && stamp[9] == '_' &&
           AllDigits(stamp.substr(10, 6)) && (extension == ".ppg" || extension == ".hrv");
}

std::vector<std::string> ListUserRecordings(const fs::path& folder, std::string_view userName,
                                            std::string_view extension) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        std::string name = Utf8Of(it->path().filename());
        if (it->is_regular_file(typeError) && name.ends_with(extension) &&
            IsRecordingOf(name, userName))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool DeleteUserRecording(const fs::path& folder, std::string_view userName,
                         std::string_view fileName) {
    if (!IsRecordingOf(fileName, userName))
        return false;
    const fs::path path = folder / fs::path(std::u8string(fileName.begin(), fileName.end()));
    std::error_code ec;
    if (fs::remove(path, ec))
        return true;
    TRACE("deleting %s failed: %s\n", Utf8Of(path).c_str(), ec ? ec.message().c_str() : "missing");
    return false;
}

int DeleteUserRecordings(const fs::path& folder, std::string_view userName) {
    int deleted = 0;
    for (std::string_view extension : {".ppg", ".hrv"}) {
        // The names are gathered first: deleting while iterating is unspecified.
        for (const std::string& name : ListUserRecordings(folder, userName, extension))
            deleted += DeleteUserRecording(folder, userName, name) ? 1 : 0;
    }
    return deleted;
}
