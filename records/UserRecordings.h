#pragma once
// A user's recordings in the working folder: the files "<name>_YYYYMMDD_HHMMSS.ppg" and
// "<name>_YYYYMMDD_HHMMSS.hrv" that the tests save. Nothing else belongs to the user: not the
// files of another user whose name starts the same way (Kim2, Kimberly), nor any other file.
// Names are UTF-8.
// Threads: the functions may be called from any thread.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// True when fileName is a recording of userName: the name, "_", 8 digits, "_", 6 digits and
// ".ppg" or ".hrv".
bool IsRecordingOf(std::string_view fileName, std::string_view userName);

// Deletes the user's recordings in folder; returns how many were deleted. Files that cannot
// be deleted are left (a trace line says so); a folder that cannot be read deletes nothing.
int DeleteUserRecordings(const std::filesystem::path& folder, std::string_view userName);

// The user's recordings in folder whose names end in extension (".ppg" or ".hrv"): bare file
// names in name order, which is the order of the test times. A folder that cannot be read
// gives none.
std::vector<std::string> ListUserRecordings(const std::filesystem::path& folder,
                                            std::string_view userName, std::string_view extension);

// Deletes folder/fileName when it is one of the user's recordings (never another file);
// false when it is not or when it cannot be deleted.
bool DeleteUserRecording(const std::filesystem::path& folder, std::string_view userName,
                         std::string_view fileName);
