#include "platform/FileSync.h"

#include <fcntl.h>
#include <unistd.h>

bool SyncToDisk(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}
