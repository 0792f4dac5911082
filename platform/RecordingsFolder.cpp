#include "platform/RecordingsFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {
fs::path HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? fs::path(entry->pw_dir) : fs::path();
}

fs::path DataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && fs::path(xdg).is_absolute())
        return xdg;
    const fs::path home = HomeFolder();
    return home.empty() ? fs::path() : home / ".local" / "share";
}
} // namespace

fs::path ProgramFolder() {
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : executable.parent_path();
}

fs::path RecordingsFolder(const fs::path& programFolder) {
    std::error_code ec;
    const fs::path portable = fs::weakly_canonical(programFolder / ".." / "work", ec);
    if (!ec && fs::is_directory(portable, ec) && access(portable.c_str(), W_OK | X_OK) == 0)
        return portable;
    const fs::path dataHome = DataHome();
    if (dataHome.empty())
        return {};
    const fs::path perUser = dataHome / kApplicationName / "work";
    fs::create_directories(perUser, ec);
    return fs::is_directory(perUser, ec) ? perUser : fs::path();
}
