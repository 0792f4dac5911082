#pragma once
// The operating system's flush to disk, which standard C++ lacks. Installed at start-up as
// the recording files' durability hook: SetFileSync(&SyncToDisk) (analysis/RecordingFile.h).

#include <filesystem>

// Forces the file's data, or a folder's entries, to the disk (fsync). False when the path
// cannot be opened or the flush fails.
bool SyncToDisk(const std::filesystem::path& path);
