// Recording file format: the marker table, the bodies, the exact bytes of the writers, the
// file-name parse and the order of loads.

#include "analysis/RecordingFile.h"
#include "tests/analysis/RecordingTestFiles.h"
#include "tests/common/SyntheticPulse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// An analysis object attached as the windows attach it, fed with the samples.
std::unique_ptr<CHrv> MakeHrv(const std::vector<int16_t>& samples = {}) {
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachPulseRing();
    hrv->AttachRateChart(300);
    hrv->AttachRateDisplay();
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    return hrv;
}

// The samples of a pulse file that reads without failure.
std::vector<int16_t> ReadPulse(const std::string& path, RecordingHeader* header) {
    std::vector<int16_t> samples;
    EXPECT_EQ(ReadPulseSamples(path, header, &samples), FileStatus::Ok) << path;
    return samples;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Marker and a header of headerBytes whose bytes are 1, 2, 3, ... (never zero).
Bytes MarkedFile(double marker, int headerBytes) {
    Bytes bytes;
    PutDouble(bytes, marker);
    for (int i = 0; i < headerBytes; ++i)
        bytes.push_back(static_cast<uint8_t>(1 + i % 250));
    return bytes;
}

// The values as stored doubles, then the first seven bytes of one more.
Bytes Doubles(std::initializer_list<double> values) {
    Bytes bytes;
    for (double v : values)
        PutDouble(bytes, v);
    bytes.insert(bytes.end(), 7, 0x40);
    return bytes;
}

// A caller's record: zero apart from a recognisable phone field.
RecordingHeader PreparedHeader() {
    RecordingHeader h;
    h.SetPhone("caller");
    return h;
}

// The header of the golden files, laid out byte by byte from the record's table.
Bytes GoldenHeader() {
    Bytes h(256, 0);
    auto put = [&h](size_t offset, std::initializer_list<uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), h.begin() + static_cast<long>(offset));
    };
    put(0, {'K', 'i', 'm'});
    put(32, {0xA8, 0x07, 0x00, 0x00});                         // 1960
    put(36, {0x02, 0x00, 0x00, 0x00});                         // female
    put(40, {0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x4A, 0x40}); // 52.5
    put(48, {'C'});
    put(56, {0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x52, 0x40}); // 72.5
    put(64, {'0', '1', '0'});
    return h;
}

RecordingHeader GoldenRecord() {
    RecordingHeader h;
    h.SetName("Kim");
    h.SetBirthYear(1960);
    h.SetSex(2);
    h.SetValue(52.5);
    h.SetType('C');
    h.SetMeanPulse(72.5);
    h.SetPhone("010");
    return h;
}

const Bytes kPulseMarkerBytes = {0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0xA0, 0xC0}; // -2050
const Bytes kRateMarkerBytes = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xA0, 0xC0};  // -2048
const std::string kPpg = "Kim_20240131_093005.ppg";
const std::string kHrv = "Kim_20240131_093005.hrv";

} // namespace

// --- Marker table and bodies --------------------------------------------------------------

using MarkerTable = RecordingFolder;

// Every body ends in a partial value, which is ignored.
TEST_F(MarkerTable, MarkerSelectsTheHeaderSizeAndTheBody) {
    struct Case {
        double marker;
        int headerBytes;
        Bytes body;
        std::vector<int16_t> samples;
    };
    const Case cases[] = {{-10.0, 56, Doubles({100.0, -1.9, 70000.0}), {100, -1, 4464}},
                          {-12.0, 64, Doubles({512.0}), {512}},
                          {-2048.0, 256, Doubles({900.0, -32769.0}), {900, 32767}},
                          {-2050.0, 256, {0x01, 0x00, 0xFE, 0xFF, 0x7F}, {1, -2}}};
    for (const Case& c : cases) {
        WriteAll(PathOf("old.ppg"), Concat({MarkedFile(c.marker, c.headerBytes), c.body}));

        RecordingHeader h = PreparedHeader();
        EXPECT_EQ(ReadPulse(PathOf("old.ppg"), &h), c.samples) << c.marker;
        EXPECT_EQ(h.bytes[0], 1) << c.marker;
        EXPECT_EQ(h.bytes[c.headerBytes - 1], 1 + (c.headerBytes - 1) % 250) << c.marker;
        const RecordingHeader caller = PreparedHeader(); // kept past a shorter header
        EXPECT_EQ(std::memcmp(h.bytes + c.headerBytes, caller.bytes + c.headerBytes,
                              RecordingHeader::kSize - c.headerBytes),
                  0)
            << c.marker;
        RecordingHeader only = PreparedHeader();
        ASSERT_TRUE(ReadRecordingHeader(PathOf("old.ppg"), &only));
        EXPECT_EQ(std::memcmp(only.bytes, h.bytes, RecordingHeader::kSize), 0) << c.marker;
    }

    const std::pair<double, int> bounds[] = {
        {-10.0, 56},    {-11.999, 56},  {-9.999, 256}, {-12.0, 64},       {-2047.999, 64},
        {-2048.0, 256}, {-2050.0, 256}, {kNaN, 256},   {-kInfinity, 256}, {1e308, 256}};
    for (auto [marker, bytes] : bounds)
        EXPECT_EQ(HeaderBytesForMarker(marker), bytes) << marker;
}

TEST_F(MarkerTable, FileStartingWithASampleConsumes33Values) {
    Bytes file;
    for (int v = 500; v <= 540; ++v)
        PutDouble(file, v);
    WriteAll(PathOf("bare.ppg"), file);
    RecordingHeader h;
    EXPECT_EQ(ReadPulse(PathOf("bare.ppg"), &h),
              (std::vector<int16_t>{533, 534, 535, 536, 537, 538, 539, 540}));
}

TEST_F(MarkerTable, RateFilesHoldDoublesWhateverTheMarker) {
    for (double marker : {-2050.0, -2048.0}) {
        WriteAll(PathOf("odd.hrv"), Concat({MarkedFile(marker, 256), Doubles({61.5})}));
        RecordingHeader h;
        std::vector<double> values;
        ASSERT_EQ(ReadRateValues(PathOf("odd.hrv"), &h, &values), FileStatus::Ok);
        EXPECT_EQ(values, (std::vector<double>{61.5})) << marker;
    }
}

// Only the markers that recordings carry start a recording, and only with a whole header.
TEST_F(MarkerTable, RecordingStartNeedsARecordingMarkerAndAWholeHeader) {
    const struct {
        double marker;
        int headerBytes;
        bool recording;
    } cases[] = {{-2050.0, 256, true},  {-2048.0, 256, true}, {-1000.0, 64, true},
                 {-12.0, 64, true},     {-10.0, 56, true},    {-2049.0, 256, false},
                 {-3000.0, 256, false}, {-9.999, 256, false}, {0.0, 256, false},
                 {533.0, 256, false},   {kNaN, 256, false},   {-kInfinity, 256, false},
                 {-2050.0, 255, false}, {-10.0, 55, false}};
    for (const auto& c : cases) {
        WriteAll(PathOf("start.ppg"), MarkedFile(c.marker, c.headerBytes));
        EXPECT_EQ(HasRecordingStart(PathOf("start.ppg")), c.recording)
            << c.marker << " " << c.headerBytes;
    }
    EXPECT_FALSE(HasRecordingStart(PathOf("missing.ppg")));
}

using RecordingBody = RecordingFolder;

TEST_F(RecordingBody, DoublesTruncateTowardZeroAndWrapTo16Bits) {
    const std::pair<double, int16_t> cases[] = {{-1.9, -1},
                                                {1.9, 1},
                                                {32768.0, -32768},
                                                {-32769.5, 32767},
                                                {65536.0 * 1000 + 7, 7},
                                                {-65536.0 * 3 - 2, -2},
                                                {1e300, 0} /* a multiple of 65536 */,
                                                {kNaN, 0},
                                                {-kInfinity, 0}};
    for (auto [value, sample] : cases)
        EXPECT_EQ(SampleFromDouble(value), sample) << value;
}

TEST_F(RecordingBody, FileShorterThanItsHeaderFillsNothing) {
    const RecordingHeader before = PreparedHeader();
    WriteAll(PathOf("short.ppg"), MarkedFile(-2050.0, 100)); // 156 bytes short of the header
    WriteAll(PathOf("cut.ppg"), MarkedFile(-2050.0, 255));
    WriteAll(PathOf("tiny.ppg"), Bytes{0x00, 0x00, 0x00});
    for (const char* name : {"short.ppg", "cut.ppg", "tiny.ppg"}) {
        RecordingHeader h = before;
        std::vector<int16_t> samples{1, 2, 3};
        ASSERT_EQ(ReadPulseSamples(PathOf(name), &h, &samples), FileStatus::Ok) << name;
        EXPECT_TRUE(samples.empty()) << name;
        EXPECT_EQ(std::memcmp(h.bytes, before.bytes, RecordingHeader::kSize), 0) << name;
        EXPECT_TRUE(ReadRecordingHeader(PathOf(name), &h)) << name;
        EXPECT_EQ(std::memcmp(h.bytes, before.bytes, RecordingHeader::kSize), 0) << name;
    }
}

TEST_F(RecordingBody, HugeBodiesStopAtWhatTheAnalysisHolds) {
    Bytes pulse = MarkedFile(-2050.0, 256);
    for (int i = 0; i < kPulseBodyLimit + 5000; ++i)
        pulse.insert(pulse.end(), {static_cast<uint8_t>(i & 0xFF), 0x01});
    WriteAll(PathOf("long.ppg"), pulse);
    RecordingHeader h;
    std::vector<int16_t> samples = ReadPulse(PathOf("long.ppg"), &h);
    ASSERT_EQ(samples.size(), static_cast<size_t>(kPulseBodyLimit));
    EXPECT_EQ(samples.back(), 0x100 + ((kPulseBodyLimit - 1) & 0xFF));

    Bytes rates = MarkedFile(-2048.0, 256);
    for (int i = 0; i < kRateBodyLimit + 100; ++i)
        PutDouble(rates, i % 2 ? -1.0 : 70.0);
    WriteAll(PathOf("long.hrv"), rates);
    std::vector<double> values;
    ASSERT_EQ(ReadRateValues(PathOf("long.hrv"), &h, &values), FileStatus::Ok);
    EXPECT_EQ(values.size(), static_cast<size_t>(kRateBodyLimit));
}

TEST_F(RecordingBody, MissingFileOrFolderCannotBeOpened) {
    RecordingHeader h = PreparedHeader();
    EXPECT_FALSE(ReadRecordingHeader(PathOf("none.ppg"), &h));
    std::vector<int16_t> samples{7};
    EXPECT_EQ(ReadPulseSamples(PathOf("none.ppg"), &h, &samples), FileStatus::CannotOpen);
    EXPECT_EQ(samples, (std::vector<int16_t>{7}));
    std::filesystem::create_directory(m_folder / "dir.ppg");
    EXPECT_EQ(ReadPulseSamples(PathOf("dir.ppg"), &h, &samples), FileStatus::CannotOpen);

    auto hrv = MakeHrv(SyntheticPulse(200, 500));
    EXPECT_EQ(hrv->LoadRateFile(&h, PathOf("none.hrv")), FileStatus::CannotOpen);
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 0) << "the rate reader resets even on failure";
    EXPECT_EQ(hrv->Identity().age, -1);
}

// --- Exact bytes ----------------------------------------------------------------------------

using GoldenBytes = RecordingFolder;

TEST_F(GoldenBytes, WritersProduceTheLayoutByteForByte) {
    auto hrv = MakeHrv({1, -2, 300, -32768, 32767});
    RecordingHeader record = GoldenRecord();
    ASSERT_EQ(hrv->SavePulseFile(PathOf(kPpg), &record), FileStatus::Ok);
    EXPECT_EQ(ReadAll(PathOf(kPpg)),
              Concat({kPulseMarkerBytes,
                      GoldenHeader(),
                      {0x01, 0x00, 0xFE, 0xFF, 0x2C, 0x01, 0x00, 0x80, 0xFF, 0x7F}}));

    hrv = MakeHrv();
    for (double value : {-1.0, 60.0, 0.0})
        hrv->AddRate(false, value);
    ASSERT_EQ(hrv->SaveRateFile(&record, PathOf(kHrv)), FileStatus::Ok);
    EXPECT_EQ(ReadAll(PathOf(kHrv)),
              Concat({kRateMarkerBytes,
                      GoldenHeader(),
                      {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0xBF},    // -1
                      {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4E, 0x40},    // 60
                      {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}})); // 0
}

TEST_F(GoldenBytes, PulseReaderTakesTheLayoutByteForByte) {
    WriteAll(PathOf(kPpg),
             Concat({kPulseMarkerBytes, GoldenHeader(), {0x2C, 0x01, 0x00, 0x80, 0xFF}}));
    RecordingHeader h;
    EXPECT_EQ(ReadPulse(PathOf(kPpg), &h), (std::vector<int16_t>{300, -32768}));
    EXPECT_EQ(h.Name(), "Kim");
    EXPECT_EQ(h.BirthYear(), 1960);
    EXPECT_EQ(h.Sex(), 2);
    EXPECT_EQ(h.Value(), 52.5);
    EXPECT_EQ(h.Type(), 'C');
    EXPECT_EQ(h.MeanPulse(), 72.5);
    EXPECT_EQ(h.Phone(), "010");
}

TEST_F(GoldenBytes, RateReaderReplaysTheTimeline) {
    Bytes body;
    for (double v : {-1.0, 60.0, 0.0, -1.0, 250.0, kNaN, 65.0})
        PutDouble(body, v);
    WriteAll(PathOf(kHrv), Concat({kRateMarkerBytes, GoldenHeader(), body}));

    auto hrv = MakeHrv();
    RecordingHeader h;
    ASSERT_EQ(hrv->LoadRateFile(&h, PathOf(kHrv)), FileStatus::Ok);
    EXPECT_EQ(h.Name(), "Kim");
    EXPECT_EQ(h.Value(), 52.5);
    // 250 and NaN are not rates: they are left out like during a test.
    EXPECT_EQ(hrv->CopyTimeline(), (std::vector<double>{-1, 60, 0, -1, 65}));
    EXPECT_EQ(hrv->CopyRates(), (std::vector<double>{60, 0, 65}));
    EXPECT_EQ(hrv->Identity().age, 64);
}

// --- Pulse file contents --------------------------------------------------------------------

using PulseFileSave = RecordingFolder;

TEST_F(PulseFileSave, SixtyOneSecondsSaveTheFirst12000Samples) {
    const std::vector<int16_t> pulse = SyntheticPulse(170, 61 * 200);
    auto hrv = MakeHrv(pulse);
    RecordingHeader record = GoldenRecord();
    ASSERT_EQ(hrv->SavePulseFile(PathOf(kPpg), &record), FileStatus::Ok);
    EXPECT_EQ(std::filesystem::file_size(PathOf(kPpg)), 24264u);

    RecordingHeader h;
    EXPECT_EQ(ReadPulse(PathOf(kPpg), &h),
              std::vector<int16_t>(pulse.begin(), pulse.begin() + 12000));
}

TEST_F(PulseFileSave, EmptyMeasurementWritesNothingAndKeepsAnOldFile) {
    WriteAll(PathOf(kPpg), Bytes{1, 2, 3});
    auto hrv = MakeHrv();
    RecordingHeader record = GoldenRecord();
    EXPECT_EQ(hrv->SavePulseFile(PathOf(kPpg), &record), FileStatus::NothingSaved);
    EXPECT_EQ(ReadAll(PathOf(kPpg)), (Bytes{1, 2, 3}));
    EXPECT_EQ(hrv->Identity().dateTimeText, "");

    EXPECT_EQ(hrv->SaveRateFile(&record, PathOf(kHrv)), FileStatus::NothingSaved);
    auto noChart = std::make_unique<CHrv>();
    noChart->AddRate(false, 70);
    EXPECT_EQ(noChart->SaveRateFile(&record, PathOf(kHrv)), FileStatus::NothingSaved);
    EXPECT_FALSE(std::filesystem::exists(PathOf(kHrv)));
}

TEST_F(PulseFileSave, MissingHeaderWritesAZeroRecordSoTheFileStaysReadable) {
    ASSERT_EQ(MakeHrv({5, 6})->SavePulseFile(PathOf(kPpg), nullptr), FileStatus::Ok);
    RecordingHeader h = PreparedHeader();
    EXPECT_EQ(ReadPulse(PathOf(kPpg), &h), (std::vector<int16_t>{5, 6}));
    EXPECT_EQ(h.Phone(), "");
}

// --- Recording identity from the file name --------------------------------------------------

class FileNameParse : public RecordingFolder {
protected:
    // Runs from <folder>/bin so that "../work/" is the recordings folder, as in the program.
    void SetUp() override {
        RecordingFolder::SetUp();
        std::filesystem::create_directories(m_folder / "bin");
        std::filesystem::create_directories(m_folder / "work");
        std::filesystem::create_directories(m_folder / "tondrela_1.0" / "work");
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder / "bin");
    }
    void TearDown() override {
        std::filesystem::current_path(m_previous);
        RecordingFolder::TearDown();
    }
    // Saves three samples under the path for someone born in birthYear.
    RecordingIdentity SavedAs(const std::string& path, int birthYear) {
        auto hrv = MakeHrv({1, 2, 3});
        RecordingHeader record;
        record.SetBirthYear(birthYear);
        EXPECT_EQ(hrv->SavePulseFile(path, &record), FileStatus::Ok) << path;
        return hrv->Identity();
    }
    std::filesystem::path m_previous;
};

TEST_F(FileNameParse, SavingSetsDateTimeAndAgeFromTheName) {
    RecordingIdentity id = SavedAs("../work/Kim_20240131_093005.ppg", 1960);
    EXPECT_EQ(id.name, "../work/Kim_20240131_093005.ppg");
    EXPECT_EQ(id.dateTimeText, "2024-01-31 09:30:05");
    const DateTime& t = id.dateTime;
    EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.hour, t.minute, t.second}),
              (std::vector<int>{2024, 1, 31, 9, 30, 5}));
    EXPECT_EQ(id.age, 64);

    struct Case {
        std::string path;
        int birthYear;
        std::string name, dateTimeText;
        int age;
    };
    const std::string inFolder = PathOf("tondrela_1.0/work/Kim_20240131_093005.ppg");
    const Case cases[] = {
        // An "_" in a folder name does not shift the date.
        {inFolder, 1960, inFolder, "2024-01-31 09:30:05", 64},
        {"../work/Kim.ppg", 1960, "", "", -1}, // no "_": nothing is set
        // Without a second "_" the time comes from the start of the name.
        {"123456_20240131.ppg", 2000, "123456_20240131.ppg", "2024-01-31 12:34:56", 24}};
    for (const Case& c : cases) {
        id = SavedAs(c.path, c.birthYear);
        EXPECT_EQ(id.name, c.name) << c.path;
        EXPECT_EQ(id.dateTimeText, c.dateTimeText) << c.path;
        EXPECT_EQ(id.age, c.age) << c.path;
    }
}

TEST_F(FileNameParse, LoadingUsesTheBirthYearOfTheFile) {
    SavedAs("../work/Lee_20130202_235959.ppg", 1990);
    auto reader = MakeHrv();
    RecordingHeader h;
    ASSERT_EQ(reader->LoadPulseFile(&h, "../work/Lee_20130202_235959.ppg"), FileStatus::Ok);
    EXPECT_EQ(reader->Identity().dateTimeText, "2013-02-02 23:59:59");
    EXPECT_EQ(reader->Identity().age, 23);
}

TEST_F(FileNameParse, RateSaveLeavesTheIdentityAlone) {
    auto hrv = MakeHrv();
    hrv->AddRate(false, 70);
    RecordingHeader record;
    record.SetBirthYear(1960);
    ASSERT_EQ(hrv->SaveRateFile(&record, "../work/Kim_20240131_093005.hrv"), FileStatus::Ok);
    EXPECT_EQ(hrv->Identity().dateTimeText, "");
}

// --- Order of loads -------------------------------------------------------------------------

class LoadOrder : public RecordingFolder {
protected:
    void SetUp() override {
        RecordingFolder::SetUp();
        auto writer = MakeHrv(SyntheticPulse(200, 6000)); // 30 s at 60 beats/min
        RecordingHeader record = GoldenRecord();
        ASSERT_EQ(writer->SavePulseFile(PathOf(kPpg), &record), FileStatus::Ok);
        pulseRates = writer->CopyRates();
        pulseTimeline = writer->CopyTimeline();

        Bytes rates = Concat({kRateMarkerBytes, GoldenHeader()});
        for (double v : {-1.0, 65.0, -1.0, 66.0, -1.0, 67.0})
            PutDouble(rates, v);
        WriteAll(PathOf(kHrv), rates);
    }
    std::unique_ptr<CHrv> hrv = MakeHrv();
    RecordingHeader h;
    std::vector<double> pulseRates, pulseTimeline; // of the analysis that saved the pulse
};

TEST_F(LoadOrder, PulseReloadsToTheSameRatesThenRateKeepsOnlyTheRates) {
    ASSERT_EQ(hrv->LoadPulseFile(&h, PathOf(kPpg)), FileStatus::Ok);
    EXPECT_EQ(h.Name(), "Kim");
    ASSERT_NE(std::find(pulseRates.begin(), pulseRates.end(), 60.0), pulseRates.end());
    EXPECT_EQ(hrv->CopyRates(), pulseRates);
    EXPECT_EQ(hrv->CopyTimeline(), pulseTimeline);

    ASSERT_EQ(hrv->LoadRateFile(&h, PathOf(kHrv)), FileStatus::Ok);
    EXPECT_EQ(hrv->CopyRates(), (std::vector<double>{65, 66, 67}));
    EXPECT_EQ(hrv->CopyTimeline(), (std::vector<double>{-1, 65, -1, 66, -1, 67}));
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 0);
}

TEST_F(LoadOrder, RateThenPulseAppendsTheDetectedRatesAndPulseLoadsDoNotReset) {
    ASSERT_EQ(hrv->LoadRateFile(&h, PathOf(kHrv)), FileStatus::Ok);
    ASSERT_EQ(hrv->LoadPulseFile(&h, PathOf(kPpg)), FileStatus::Ok);
    std::vector<double> rates = hrv->CopyRates();
    ASSERT_GT(rates.size(), 3u);
    EXPECT_EQ(std::vector<double>(rates.begin(), rates.begin() + 3),
              (std::vector<double>{65, 66, 67}));
    EXPECT_NE(std::find(rates.begin() + 3, rates.end(), 60.0), rates.end());
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 6000);

    ASSERT_EQ(hrv->LoadPulseFile(&h, PathOf(kPpg)), FileStatus::Ok);
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 12000);
}
