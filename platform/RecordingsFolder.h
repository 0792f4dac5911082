#pragma once
// Where the program and the tools keep the recordings.
//
// - A portable tree, whose "work" folder beside bin/ exists and is writable, keeps them there.
// - Otherwise (the installed program: /usr/lib/tondrela has no work folder) they go to the
//   per-user data folder <data home>/tondrela/work, where <data home> is $XDG_DATA_HOME when
//   that is an absolute path, else $HOME/.local/share: the folder that Qt's
//   QStandardPaths::AppDataLocation names for the program (application "tondrela"), plus
//   "/work". It is created when missing.

#include <filesystem>

// The program's application name (its display name is "Tondrela"), which names its per-user
// folder, as it names the folder of its settings (~/.config/tondrela).
constexpr char kApplicationName[] = "tondrela";

// The folder of the running executable, symbolic links resolved (/usr/bin/tondrela-analyse
// runs from /usr/lib/tondrela/bin); empty when it cannot be found.
std::filesystem::path ProgramFolder();

// The recordings folder for a program in programFolder (its bin/ folder). Empty when the
// per-user folder is needed and cannot be created.
std::filesystem::path RecordingsFolder(const std::filesystem::path& programFolder);
