#include "analysis/RecordingFile.h"

#include "analysis/LittleEndian.h"
#include "analysis/Trace.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <optional>
#include <string_view>

namespace fs = std::filesystem;

namespace {
constexpr int kMarkerBytes = 8;

std::atomic<FileSyncFunction> g_fileSync{nullptr};
std::atomic<unsigned> g_tempCounter{0};

fs::path PathFromUtf8(const std::string& path) {
    return fs::path(std::u8string(path.begin(), path.end()));
}

// Opens an existing regular file for reading (a folder or a pipe counts as not openable).
bool OpenForReading(const std::string& path, std::ifstream* in) {
    fs::path p = PathFromUtf8(path);
    std::error_code ec;
    if (!fs::is_regular_file(p, ec))
        return false;
    in->open(p, std::ios::binary);
    return in->is_open();
}

// Reads the marker and the header record it selects into the start of *header. Returns the
// marker, or nothing (header untouched) when the file ends before the marker or the header.
std::optional<double> ReadMarkerAndHeader(std::istream& in, RecordingHeader* header) {
    uint8_t marker[kMarkerBytes];
    in.read(reinterpret_cast<char*>(marker), kMarkerBytes);
    if (in.gcount() != kMarkerBytes)
        return std::nullopt;
    double v = LoadLittleDouble(marker);
    uint8_t record[RecordingHeader::kSize];
    const int size = HeaderBytesForMarker(v);
    in.read(reinterpret_cast<char*>(record), size);
    if (in.gcount() != size)
        return std::nullopt;
    std::copy(record, record + size, header->bytes);
    return v;
}

// Reads up to maxValues whole values of valueBytes each; a trailing partial value is dropped.
// Reads in steps, so that a short file does not cost a buffer of the largest body. *cut (when
// given) tells whether bytes follow the last value read at the limit.
std::vector<uint8_t> ReadBody(std::istream& in, int valueBytes, int maxValues, bool* cut) {
    constexpr size_t kStep = 16384;
    const size_t limit = static_cast<size_t>(valueBytes) * static_cast<size_t>(maxValues);
    std::vector<uint8_t> body;
    size_t got = 0;
    while (got < limit && in) {
        body.resize(std::min(limit, got + kStep));
        in.read(reinterpret_cast<char*>(body.data() + got),
                static_cast<std::streamsize>(body.size() - got));
        got += static_cast<size_t>(in.gcount());
    }
    body.resize(got - got % static_cast<size_t>(valueBytes));
    if (cut)
        *cut = got == limit && in.peek() != std::char_traits<char>::eof();
    return body;
}

// Leading integer of a date or time field ("0931" -> 931, "ab" -> 0).
int FieldValue(const std::string& text) {
    return std::atoi(text.c_str());
}

std::string Piece(const std::string& s, size_t pos, size_t n) {
    return pos < s.size() ? s.substr(pos, n) : std::string();
}

// "<file name>.<unique>.tmp" beside the target, the unique part 12 lowercase hex digits:
// never ends in .ppg or .hrv, so that a leftover of an interrupted save is never taken for a
// recording.
constexpr size_t kUniqueDigits = 12;
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr auto kStaleAfter = std::chrono::minutes(1);

bool IsTemporaryName(std::string_view name) {
    if (!name.ends_with(kTemporarySuffix))
        return false;
    name.remove_suffix(kTemporarySuffix.size());
    if (name.size() < kUniqueDigits + 2 || name[name.size() - kUniqueDigits - 1] != '.')
        return false;
    return std::all_of(name.end() - kUniqueDigits, name.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

fs::path TemporaryPathFor(const fs::path& target) {
    auto stamp = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".%08llx%04x.tmp", stamp & 0xFFFFFFFFull,
                  g_tempCounter.fetch_add(1) & 0xFFFF);
    fs::path temp = target;
    temp += suffix;
    return temp;
}

bool Sync(FileSyncFunction sync, const fs::path& path) {
    return sync == nullptr || sync(path);
}

// Replaces the file at path with bytes in one step: the bytes go to a temporary file in the
// same folder, which is flushed (and synced when a hook is installed) and then renamed over
// the target. On failure the temporary file is removed and the target is left as it was.
FileStatus ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const fs::path target = PathFromUtf8(path);
    RemoveStaleTemporaryFiles(target.parent_path().empty() ? "." : target.parent_path().string());
    std::error_code ec;
    fs::path temp;
    std::ofstream out;
    for (int attempt = 0; attempt < 8 && !out.is_open(); ++attempt) {
        temp = TemporaryPathFor(target);
        if (!fs::exists(temp, ec) && !ec)
            out.open(temp, std::ios::binary | std::ios::trunc);
    }
    if (!out.is_open()) {
        TRACE("cannot create a file beside %s\n", path.c_str());
        return FileStatus::CannotOpen;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    out.close();
    const FileSyncFunction sync = g_fileSync.load();
    bool ok = !out.fail() && Sync(sync, temp);
    if (ok) {
        fs::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok) {
        TRACE("saving %s failed\n", path.c_str());
        fs::remove(temp, ec);
        return FileStatus::WriteFailed;
    }
    // The complete file is in place: a folder that cannot be synced only leaves the rename
    // less durable against a power cut, so the save still succeeded.
    fs::path folder = target.parent_path();
    if (!Sync(sync, folder.empty() ? fs::path(".") : folder))
        TRACE("saved %s but could not sync its folder\n", path.c_str());
    return FileStatus::Ok;
}

// Marker, 256-byte header (zeros without one) and room for the body.
std::vector<uint8_t> FileImage(double marker, const RecordingHeader* header, size_t bodyBytes) {
    std::vector<uint8_t> bytes(kMarkerBytes + RecordingHeader::kSize + bodyBytes);
    StoreLittleDouble(bytes.data(), marker);
    if (header)
        std::copy(header->bytes, header->bytes + RecordingHeader::kSize,
                  bytes.data() + kMarkerBytes);
    return bytes;
}
} // namespace

int HeaderBytesForMarker(double marker) {
    if (marker > -12 && marker <= -10)
        return 56;
    if (marker > -2048 && marker <= -12)
        return 64;
    return RecordingHeader::kSize;
}

int16_t SampleFromDouble(double value) {
    if (!std::isfinite(value))
        return 0;
    double low = std::fmod(std::trunc(value), 65536.0); // exact, in (-65536, 65536)
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int32_t>(low)));
}

bool ReadRecordingHeader(const std::string& path, RecordingHeader* header) {
    std::ifstream in;
    if (!OpenForReading(path, &in))
        return false;
    ReadMarkerAndHeader(in, header);
    return true;
}

bool IsRecordingMarker(double marker) {
    return marker == kPulseFileMarker || (marker >= kRateFileMarker && marker <= -10);
}

bool HasRecordingStart(const std::string& path) {
    std::ifstream in;
    if (!OpenForReading(path, &in))
        return false;
    RecordingHeader scratch;
    const std::optional<double> marker = ReadMarkerAndHeader(in, &scratch);
    return marker && IsRecordingMarker(*marker);
}

FileStatus ReadPulseSamples(const std::string& path, RecordingHeader* header,
                            std::vector<int16_t>* samples, bool* cut) {
    std::ifstream in;
    if (!OpenForReading(path, &in))
        return FileStatus::CannotOpen;
    samples->clear();
    if (cut)
        *cut = false;
    std::optional<double> marker = ReadMarkerAndHeader(in, header);
    if (!marker)
        return FileStatus::Ok;
    const bool int16Body = *marker == kPulseFileMarker;
    const int width = int16Body ? 2 : 8;
    std::vector<uint8_t> body = ReadBody(in, width, kPulseBodyLimit, cut);
    samples->reserve(body.size() / static_cast<size_t>(width));
    for (size_t i = 0; i < body.size(); i += static_cast<size_t>(width)) {
        if (int16Body)
            samples->push_back(static_cast<int16_t>(LoadLittle(&body[i], 2)));
        else
            samples->push_back(SampleFromDouble(LoadLittleDouble(&body[i])));
    }
    return FileStatus::Ok;
}

FileStatus ReadRateValues(const std::string& path, RecordingHeader* header,
                          std::vector<double>* values, bool* cut) {
    std::ifstream in;
    if (!OpenForReading(path, &in))
        return FileStatus::CannotOpen;
    values->clear();
    if (cut)
        *cut = false;
    if (!ReadMarkerAndHeader(in, header))
        return FileStatus::Ok;
    std::vector<uint8_t> body = ReadBody(in, 8, kRateBodyLimit, cut);
    values->reserve(body.size() / 8);
    for (size_t i = 0; i < body.size(); i += 8)
        values->push_back(LoadLittleDouble(&body[i]));
    return FileStatus::Ok;
}

RecordingHeader PulseRecordingHeader(const std::string& name, int birthYear, int sex,
                                     const std::string& phone, double apgIndex,
                                     const ApgSummary& summary) {
    RecordingHeader header;
    header.SetName(name);
    header.SetBirthYear(birthYear);
    header.SetSex(sex);
    header.SetValue(apgIndex);
    header.SetType(summary.typeIndex >= 0 ? static_cast<char>('A' + summary.typeIndex) : '\0');
    header.SetMeanPulse(summary.meanPulse);
    header.SetPhone(phone);
    return header;
}

bool IsSafeFileName(const std::string& path) {
    std::u8string name8 = PathFromUtf8(path).filename().u8string();
    std::string name(name8.begin(), name8.end());
    if (name.empty() || name == "." || name.find("..") != std::string::npos)
        return false;
    return std::none_of(name.begin(), name.end(), [](char ch) {
        auto b = static_cast<uint8_t>(ch);
        return b < 0x20 || b == 0x7F ||
               std::string_view("\\/:*?\"<>|").find(ch) != std::string_view::npos;
    });
}

void RemoveStaleTemporaryFiles(const std::string& folder) {
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(PathFromUtf8(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code entryError;
        const std::u8string name = it->path().filename().u8string();
        if (!IsTemporaryName(
                std::string_view(reinterpret_cast<const char*>(name.data()), name.size())) ||
            !it->is_regular_file(entryError) || it->is_symlink(entryError))
            continue;
        const auto written = it->last_write_time(entryError);
        if (!entryError && now - written > kStaleAfter) {
            TRACE("removing %s, left by an interrupted save\n", it->path().c_str());
            fs::remove(it->path(), entryError);
        }
    }
}

FileStatus SaveFileContents(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (!IsSafeFileName(path))
        return FileStatus::UnsafeName;
    return ReplaceFile(path, bytes);
}

void SetFileSync(FileSyncFunction sync) {
    g_fileSync = sync;
}

// The file name "<name>_YYYYMMDD_HHMMSS.<ext>" gives the date and time of the recording; the
// age is the recording's year minus the year of birth. The path is parsed as given.
// The date and time are read from the file-name part only: a "_" in a folder name (an
// installation folder, a temporary folder) must not shift them.
void CHrv::SetIdentityFromPath(const std::string& path, int birthYear) {
    const size_t slash = path.find_last_of("/\\");
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t first = file.find('_');
    if (path.empty() || first == std::string::npos)
        return;
    const std::string date = Piece(file, first + 1, 8);
    const size_t second = file.find('_', first + 1);
    const std::string time = Piece(file, second == std::string::npos ? 0 : second + 1, 6);
    const std::string year = Piece(date, 0, 4), month = Piece(date, 4, 2), day = Piece(date, 6, 2);
    const std::string hour = Piece(time, 0, 2), minute = Piece(time, 2, 2), sec = Piece(time, 4, 2);

    m_identity.name = path;
    m_identity.dateTimeText =
        year + "-" + month + "-" + day + " " + hour + ":" + minute + ":" + sec;
    m_identity.dateTime = DateTime{FieldValue(year), FieldValue(month),  FieldValue(day),
                                   FieldValue(hour), FieldValue(minute), FieldValue(sec)};
    const long long age = static_cast<long long>(FieldValue(year)) - birthYear;
    m_identity.age = static_cast<int>(std::clamp<long long>(age, std::numeric_limits<int>::min(),
                                                            std::numeric_limits<int>::max()));
}

// Saves the first 60 s of raw samples as 16-bit integers. An empty raw series writes
// nothing (an existing file is kept) and reports NothingSaved.
FileStatus CHrv::SavePulseFile(const std::string& path, const RecordingHeader* header) {
    if (!IsSafeFileName(path))
        return FileStatus::UnsafeName;
    std::vector<uint8_t> bytes;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        const int n = std::min(m_raw.Count(), kPulseFileSamples);
        if (n == 0)
            return FileStatus::NothingSaved;
        bytes = FileImage(kPulseFileMarker, header, static_cast<size_t>(n) * 2);
        uint8_t* body = bytes.data() + kMarkerBytes + RecordingHeader::kSize;
        for (int i = 0; i < n; ++i)
            StoreLittle(body + 2 * i, static_cast<uint16_t>(SampleFromDouble(m_raw[i])), 2);
    }
    // The lock is not held while the disk works: the readers of a window stay responsive.
    const FileStatus status = ReplaceFile(path, bytes);
    if (status == FileStatus::Ok) {
        std::lock_guard<std::mutex> guard(m_lock);
        SetIdentityFromPath(path, header ? header->BirthYear() : 0);
    }
    return status;
}

// Saves the rate timeline of the rate chart. Without a chart or with an empty timeline
// nothing is written (an existing file is kept) and the result is NothingSaved.
FileStatus CHrv::SaveRateFile(const RecordingHeader* header, const std::string& path) {
    if (!IsSafeFileName(path))
        return FileStatus::UnsafeName;
    std::vector<uint8_t> bytes;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        const int n = m_rateChart ? m_rateChart->Timeline().Count() : 0;
        if (n == 0)
            return FileStatus::NothingSaved;
        bytes = FileImage(kRateFileMarker, header, static_cast<size_t>(n) * 8);
        uint8_t* body = bytes.data() + kMarkerBytes + RecordingHeader::kSize;
        for (int i = 0; i < n; ++i)
            StoreLittleDouble(body + 8 * i, m_rateChart->Timeline()[i]);
    }
    return ReplaceFile(path, bytes);
}

// Replays the samples through the per-sample chain on top of what the object holds (callers
// reset first).
FileStatus CHrv::LoadPulseFile(RecordingHeader* header, const std::string& path) {
    RecordingHeader scratch;
    if (!header)
        header = &scratch;
    std::vector<int16_t> samples;
    const FileStatus status = ReadPulseSamples(path, header, &samples);
    if (status != FileStatus::Ok)
        return status;
    std::lock_guard<std::mutex> guard(m_lock);
    for (int16_t s : samples)
        AddSampleLocked(s);
    SetIdentityFromPath(path, header->BirthYear());
    return FileStatus::Ok;
}

// Resets the object, then replays the rate timeline without repainting.
FileStatus CHrv::LoadRateFile(RecordingHeader* header, const std::string& path) {
    RecordingHeader scratch;
    if (!header)
        header = &scratch;
    std::vector<double> values;
    const FileStatus status = ReadRateValues(path, header, &values);
    std::lock_guard<std::mutex> guard(m_lock);
    ResetLocked();
    if (status != FileStatus::Ok)
        return status;
    for (double v : values)
        AddRateLocked(false, v);
    SetIdentityFromPath(path, header->BirthYear());
    return FileStatus::Ok;
}
