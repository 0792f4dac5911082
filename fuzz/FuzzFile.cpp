#include "fuzz/FuzzFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {
std::filesystem::path g_folder; // removed when the fuzzer exits

void RemoveFolder() {
    std::error_code ec;
    std::filesystem::remove_all(g_folder, ec);
}
} // namespace

const std::string& WriteFuzzFile(const uint8_t* data, size_t size, const char* extension) {
    static const std::string path = [extension] {
        // In memory where the system offers it: a disk file rewritten per execution costs
        // a flush at every close on ext4, several times the time of the parse itself.
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        g_folder = base / ("tondrela-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(g_folder);
        std::atexit(RemoveFolder);
        return (g_folder / "Kim_20240131_093005").string() + extension;
    }();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::abort(); // the harness itself failed: stop rather than fuzz nothing
    }
    return path;
}
