#pragma once
// A user's recordings in the working folder: the files "<name>_YYYYMMDD_HHMMSS.ppg" and
// "<name>_YYYYMMDD_HHMMSS.hrv" that the tests save. Nothing else belongs to the user: not the
// files of another user whose name starts the same way (Kim2, Kimberly), nor any other file.
// Names are UTF-8.
// Threads: the functions may be called from any thread.

#include <filesystem>
#include <string_view>

// True when fileName is a recording of userName: the name, "_", 8 digits, "_", 6 digits and
// ".ppg" or ".hrv".
bool IsRecordingOf(std::string_view fileName, std::string_view userName);

// Deletes the user's recordings in folder; returns how many were deleted. Files that cannot
// be deleted are left (a trace line says so); a folder that cannot be read deletes nothing.
int DeleteUserRecordings(const std::filesystem::path& folder, std::string_view userName);
