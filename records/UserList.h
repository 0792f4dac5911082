#pragma once
// The list of known users. The registry has no file of its own: a user is known once one of
// their recordings has been saved, and the list is rebuilt from the headers of the pulse
// files (".ppg") in the working folder each time it is shown.
// Names and phone numbers are UTF-8.
// Threads: the functions may be called from any thread; a list belongs to its caller.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// One known user, one row of the user window's list.
struct CUserList {
    std::string name; // as it begins the recording file names
    int32_t birthYear = 0;
    int32_t sex = 0; // 1 male, 2 female; any other value is shown as female
    std::string phone;
};

// Rebuilds the list from the pulse files of folder, read in file-name order so that the files
// of one user come one after the other:
// - an entry counts when its name ends in "ppg" (lower case) and it can be opened;
// - a file whose header name equals that of the last accepted file adds no row (the first
//   comparison is against "", so files with an empty header name are skipped until a named
//   one has been accepted);
// - the row's name is the part of the file name before the first "_" (empty without one);
//   the birth year, sex and phone come from the header.
// A folder that is missing or cannot be read gives an empty list.
std::vector<CUserList> RebuildUserList(const std::filesystem::path& folder);

// The first user with exactly that name (case-sensitive), or nullptr.
const CUserList* FindUser(const std::vector<CUserList>& users, std::string_view name);
