#pragma once
// Raw-sample .csv files: what tondrela-record writes, its replay reads back and
// tondrela-analyse analyses. One grammar:
//
// - Lines end in LF or CRLF; a line of nothing but blanks and tabs is skipped. A UTF-8 byte
//   order mark at the start is ignored.
// - The sample is the last comma-separated field of a line, blanks and tabs around it
//   ignored: an optional "+" or "-" and decimal digits, value -32768..32767.
// - The first non-blank line is a header, and skipped, when its sample field does not begin
//   with a digit, a sign or a ".": "raw" and "time_s,raw" are headers, "40000" is a sample
//   (out of range).
// - Anything else is an error that names the line: decimals ("1000.4", "1e3"; the sensor's
//   samples are whole numbers, so a decimal value means data in other units that needs
//   scaling first), a second sign, an empty field, text after the header.
// - A file without a sample is an error.
//
// Threads: the functions may be called from any thread.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The largest file read: the program never holds more than 65,000 samples, which take well
// under 1 MB as text; a file beyond this is not a recording of ours.
constexpr std::uintmax_t kSampleCsvMaxBytes = 24u * 1024 * 1024;

// Parses the text of a file. False with a message in *error ("line 5: ...") on the first
// fault; *samples then holds the samples before it.
bool ParseSampleCsv(std::string_view text, std::vector<int16_t>* samples, std::string* error);

// Reads and parses a file (UTF-8 path). Only a regular file (or a symbolic link to one) of at
// most kSampleCsvMaxBytes is read: a folder, device, pipe or larger file is refused at once
// with a message in *error.
bool ReadSampleCsv(const std::string& path, std::vector<int16_t>* samples, std::string* error);
