#pragma once
// The recording files: "<name>_YYYYMMDD_HHMMSS.ppg" (pulse wave) and ".hrv" (rate timeline).
// A file is a version marker (one little-endian double), a header record whose size the
// marker selects, and a body:
//
// | marker v            | header bytes | pulse body      | rate body |
// | -12 < v <= -10      | 56           | doubles         | doubles   |
// | -2048 < v <= -12    | 64           | doubles         | doubles   |
// | v == -2050          | 256          | int16 samples   | doubles   |
// | any other (-2048..) | 256          | doubles         | doubles   |
//
// A shorter header is the start of the 256-byte record; the rest of the caller's record stays
// as the caller prepared it. The readers accept any bytes: a file too short for its marker or
// header fills nothing and has an empty body; a trailing partial value is ignored; a body is
// read up to what the analysis object holds (kPulseBodyLimit samples, kRateBodyLimit values).
// The CHrv members SavePulseFile, SaveRateFile, LoadPulseFile and LoadRateFile are defined in
// RecordingFile.cpp on top of these functions.
//
// Paths are UTF-8 strings. Saves replace the file in one step (temporary file in the same
// folder, then rename), so a crash leaves either the old file or the complete new one.
// Threads: the free functions may be called from any thread.

#include "analysis/Hrv.h"
#include "analysis/HrvCanvas.h"
#include "analysis/RecordingHeader.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

constexpr double kPulseFileMarker = -2050.0;
constexpr double kRateFileMarker = -2048.0;
constexpr int kPulseFileSamples = 12000; // the first 60 s at 200 samples/s are saved
constexpr int kPulseBodyLimit = CHrv::kSeriesCapacity;
constexpr int kRateBodyLimit = HrvCanvas::kMaxCapacity;

// Header bytes that follow a version marker (NaN and infinities select 256).
int HeaderBytesForMarker(double marker);

// A stored double as a pulse sample: truncated toward zero, its low 16 bits read as a signed
// value (70000 -> 4464, -1.9 -> -1). NaN and infinities give 0.
int16_t SampleFromDouble(double value);

// Reads the marker and the header record it selects into the start of *header. False only
// when the file cannot be opened; a file too short for its marker or header leaves *header
// as it was.
bool ReadRecordingHeader(const std::string& path, RecordingHeader* header);

// True for a version marker that a recording writer writes or wrote: -2050 (pulse file),
// -2048 (rate file) and the older markers that select a 56- or 64-byte header
// (-12 < v <= -10, -2048 < v <= -12). Anything else (a sample, text, random bytes) is not
// the start of a recording, although the readers still take it as a 256-byte header.
bool IsRecordingMarker(double marker);

// True when the file opens and holds a whole marker and header, and the marker is a
// recording marker.
bool HasRecordingStart(const std::string& path);

// Reads a pulse file: header as ReadRecordingHeader, then at most kPulseBodyLimit samples;
// *cut (when given) tells whether the body holds more. CannotOpen leaves the outputs
// untouched.
FileStatus ReadPulseSamples(const std::string& path, RecordingHeader* header,
                            std::vector<int16_t>* samples, bool* cut = nullptr);

// Reads a rate file: header as ReadRecordingHeader, then at most kRateBodyLimit doubles;
// *cut as above.
FileStatus ReadRateValues(const std::string& path, RecordingHeader* header,
                          std::vector<double>* values, bool* cut = nullptr);

// The header of a pulse recording: the person, the test's APG index (the wellness window
// stores the mean vascular age), the type letter ('A' + type index, zero without a type) and
// the mean pulse of the wellness analysis.
RecordingHeader PulseRecordingHeader(const std::string& name, int birthYear, int sex,
                                     const std::string& phone, double apgIndex,
                                     const ApgSummary& summary);

// True when the file-name part of the path (after the last separator) is a plain name: not
// empty, not ".", free of "..", control characters and \ / : * ? " < > |. The folder part
// is not checked.
bool IsSafeFileName(const std::string& path);

// Saves bytes as the file at path in the same one-step replacement as the recordings (for
// other files a tool writes, such as a .csv of raw samples). UnsafeName as IsSafeFileName.
FileStatus SaveFileContents(const std::string& path, const std::vector<uint8_t>& bytes);

// Removes what interrupted saves left in the folder: files named like the saves' temporary
// files ("<name>.<12 hex digits>.tmp") that were last written more than a minute ago (a
// younger one may belong to a save in progress). Every save runs this on its folder; the
// program runs it on its recordings folder at start. Failures are ignored.
void RemoveStaleTemporaryFiles(const std::string& folder);

// Durability hook: forces a written file, or a folder's entries, to the disk (fsync).
// Standard C++ has no such call, so the program installs the platform's one at start-up
// (platform/FileSync.h). Without a hook a save survives a crash or kill of the program, but
// a power failure shortly after it may lose the file.
using FileSyncFunction = bool (*)(const std::filesystem::path& path);
void SetFileSync(FileSyncFunction sync);
