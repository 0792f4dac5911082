#include "records/UserList.h"

#include "analysis/RecordingFile.h"
#include "analysis/RecordingHeader.h"
#include "analysis/Trace.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

std::string Utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

struct Entry {
    std::string name; // file name, UTF-8
    fs::path path;
};

// The entries of folder in name order; none when the folder cannot be read.
std::vector<Entry> SortedEntries(const fs::path& folder) {
    std::vector<Entry> entries;
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return entries;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back({Utf8Of(it->path().filename()), it->path()});
    if (ec)
        TRACE("reading the folder %s failed: %s\n", Utf8Of(folder).c_str(), ec.message().c_str());
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

bool EndsWithPpg(const std::string& name) {
    return name.size() >= 3 && name.compare(name.size() - 3, 3, "ppg") == 0;
}

} // namespace

std::vector<CUserList> RebuildUserList(const fs::path& folder) {
    std::vector<CUserList> users;
    std::string lastName;
    for (const Entry& entry : SortedEntries(folder)) {
        if (!EndsWithPpg(entry.name))
            continue;
        RecordingHeader header;
        if (!ReadRecordingHeader(Utf8Of(entry.path), &header))
            continue;
        const std::string headerName = header.Name();
        if (headerName == lastName)
            continue;
        lastName = headerName;
        CUserList user;
        const size_t separator = entry.name.find('_');
        if (separator != std::string::npos)
            user.name = entry.name.substr(0, separator);
        user.birthYear = header.BirthYear();
        user.sex = header.Sex();
        user.phone = header.Phone();
        users.push_back(std::move(user));
    }
    return users;
}

const CUserList* FindUser(const std::vector<CUserList>& users, std::string_view name) {
    for (const CUserList& user : users) {
        if (user.name == name)
            return &user;
    }
    return nullptr;
}
