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

std::unique_ptr<CHrv> MakeHrv() {
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachPulseRing();
    hrv->AttachRateChart(300);
    hrv->AttachRateDisplay();
    return hrv;
}

// Marker and a header of headerBytes whose bytes are 1, 2, 3, ... (never zero).
Bytes MarkedFile(double marker, int headerBytes) {
    Bytes bytes;
    PutDouble(bytes, marker);
    for (int i = 0; i < headerBytes; ++i)
        bytes.push_back(static_cast<uint8_t>(1 + i % 250));
    return bytes;
}

// A caller's record: zero apart from a recognisable phone field.
RecordingHeader PreparedHeader() {
    RecordingHeader h;
    h.SetPhone("caller");
    return h;
}

} // namespace

// --- Marker table -------------------------------------------------------------------------

using MarkerTable = RecordingFolder;

TEST_F(MarkerTable, MinusTenSelects56ByteHeaderAndDoubles) {
    Bytes file = MarkedFile(-10.0, 56);
    PutDouble(file, 100.0);
    PutDouble(file, -1.9);
    PutDouble(file, 70000.0);
    WriteAll(PathOf("old.ppg"), file);

    RecordingHeader h = PreparedHeader();
    std::vector<int16_t> samples;
    ASSERT_EQ(ReadPulseSamples(PathOf("old.ppg"), &h, &samples), FileStatus::Ok);
    EXPECT_EQ(h.bytes[0], 1);
    EXPECT_EQ(h.bytes[55], 56);
    EXPECT_EQ(h.bytes[56], 0) << "bytes past the old header stay as the caller left them";
    EXPECT_EQ(h.Phone(), "caller");
    EXPECT_EQ(samples, (std::vector<int16_t>{100, -1, 4464}));
}

TEST_F(MarkerTable, MinusTwelveSelects64ByteHeader) {
    Bytes file = MarkedFile(-12.0, 64);
    PutDouble(file, 512.0);
    WriteAll(PathOf("old.ppg"), file);

    RecordingHeader h = PreparedHeader();
    std::vector<int16_t> samples;
    ASSERT_EQ(ReadPulseSamples(PathOf("old.ppg"), &h, &samples), FileStatus::Ok);
    EXPECT_EQ(h.bytes[63], 64);
    EXPECT_EQ(h.Phone(), "caller");
    EXPECT_EQ(samples, (std::vector<int16_t>{512}));
}

TEST_F(MarkerTable, MinusTwentyFortyEightSelects256ByteHeaderWithDoubles) {
    Bytes file = MarkedFile(-2048.0, 256);
    PutDouble(file, 900.0);
    PutDouble(file, -32769.0);
    WriteAll(PathOf("old.ppg"), file);

    RecordingHeader h = PreparedHeader();
    std::vector<int16_t> samples;
    ASSERT_EQ(ReadPulseSamples(PathOf("old.ppg"), &h, &samples), FileStatus::Ok);
    EXPECT_EQ(h.bytes[255], 256 % 250);
    EXPECT_EQ(samples, (std::vector<int16_t>{900, 32767}));
}

TEST_F(MarkerTable, BoundariesOfTheRanges) {
    EXPECT_EQ(HeaderBytesForMarker(-10.0), 56);
    EXPECT_EQ(HeaderBytesForMarker(-11.999), 56);
    EXPECT_EQ(HeaderBytesForMarker(-9.999), 256);
    EXPECT_EQ(HeaderBytesForMarker(-12.0), 64);
    EXPECT_EQ(HeaderBytesForMarker(-2047.999), 64);
    EXPECT_EQ(HeaderBytesForMarker(-2048.0), 256);
    EXPECT_EQ(HeaderBytesForMarker(-2050.0), 256);
    EXPECT_EQ(HeaderBytesForMarker(std::numeric_limits<double>::quiet_NaN()), 256);
    EXPECT_EQ(HeaderBytesForMarker(-std::numeric_limits<double>::infinity()), 256);
    EXPECT_EQ(HeaderBytesForMarker(1e308), 256);
}

TEST_F(MarkerTable, FileStartingWithASampleConsumes33Values) {
    Bytes file;
    for (int v = 500; v <= 540; ++v)
        PutDouble(file, v);
    WriteAll(PathOf("bare.ppg"), file);

    RecordingHeader h;
    std::vector<int16_t> samples;
    ASSERT_EQ(ReadPulseSamples(PathOf("bare.ppg"), &h, &samples), FileStatus::Ok);
    EXPECT_EQ(samples, (std::vector<int16_t>{533, 534, 535, 536, 537, 538, 539, 540}));
}

TEST_F(MarkerTable, PulseMarkerInARateFileStillMeansDoubles) {
    Bytes file = MarkedFile(-2050.0, 256);
    PutDouble(file, 61.5);
    WriteAll(PathOf("odd.hrv"), file);

    RecordingHeader h;
    std::vector<double> values;
    ASSERT_EQ(ReadRateValues(PathOf("odd.hrv"), &h, &values), FileStatus::Ok);
    EXPECT_EQ(values, (std::vector<double>{61.5}));
}

// --- Bodies and damaged files -------------------------------------------------------------

using RecordingBody = RecordingFolder;

TEST_F(RecordingBody, DoublesTruncateTowardZeroAndWrapTo16Bits) {
    EXPECT_EQ(SampleFromDouble(-1.9), -1);
    EXPECT_EQ(SampleFromDouble(1.9), 1);
    EXPECT_EQ(SampleFromDouble(32768.0), -32768);
    EXPECT_EQ(SampleFromDouble(-32769.5), 32767);
    EXPECT_EQ(SampleFromDouble(65536.0 * 1000 + 7), 7);
    EXPECT_EQ(SampleFromDouble(-65536.0 * 3 - 2), -2);
    EXPECT_EQ(SampleFromDouble(1e300), 0); // a multiple of 65536
    EXPECT_EQ(SampleFromDouble(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(SampleFromDouble(-std::numeric_limits<double>::infinity()), 0);
}

TEST_F(RecordingBody, TrailingPartialValueIsIgnored) {
    Bytes file = MarkedFile(-2050.0, 256);
    file.insert(file.end(), {0x01, 0x00, 0xFE, 0xFF, 0x7F});
    WriteAll(PathOf("a.ppg"), file);
    RecordingHeader h;
    std::vector<int16_t> samples;
    ASSERT_EQ(ReadPulseSamples(PathOf("a.ppg"), &h, &samples), FileStatus::Ok);
    EXPECT_EQ(samples, (std::vector<int16_t>{1, -2}));

    Bytes rates = MarkedFile(-2048.0, 256);
    PutDouble(rates, 70.0);
    rates.insert(rates.end(), 7, 0x40);
    WriteAll(PathOf("a.hrv"), rates);
    std::vector<double> values;
    ASSERT_EQ(ReadRateValues(PathOf("a.hrv"), &h, &values), FileStatus::Ok);
    EXPECT_EQ(values, (std::vector<double>{70.0}));
}

TEST_F(RecordingBody, FileShorterThanItsHeaderFillsNothing) {
    Bytes file = MarkedFile(-2050.0, 100); // 156 bytes short of the header
    WriteAll(PathOf("short.ppg"), file);
    RecordingHeader h = PreparedHeader();
    const RecordingHeader before = h;
    std::vector<int16_t> samples{1, 2, 3};
    ASSERT_EQ(ReadPulseSamples(PathOf("short.ppg"), &h, &samples), FileStatus::Ok);
    EXPECT_TRUE(samples.empty());
    EXPECT_EQ(std::memcmp(h.bytes, before.bytes, RecordingHeader::kSize), 0);

    WriteAll(PathOf("tiny.ppg"), Bytes{0x00, 0x00, 0x00});
    EXPECT_EQ(ReadPulseSamples(PathOf("tiny.ppg"), &h, &samples), FileStatus::Ok);
    EXPECT_TRUE(samples.empty());
    EXPECT_EQ(std::memcmp(h.bytes, before.bytes, RecordingHeader::kSize), 0);
}

TEST_F(RecordingBody, HugeBodiesStopAtWhatTheAnalysisHolds) {
    Bytes pulse = MarkedFile(-2050.0, 256);
    for (int i = 0; i < kPulseBodyLimit + 5000; ++i)
        pulse.insert(pulse.end(), {static_cast<uint8_t>(i & 0xFF), 0x01});
    WriteAll(PathOf("long.ppg"), pulse);
    RecordingHeader h;
    std::vector<int16_t> samples;
    ASSERT_EQ(ReadPulseSamples(PathOf("long.ppg"), &h, &samples), FileStatus::Ok);
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
    RecordingHeader h;
    std::vector<int16_t> samples{7};
    EXPECT_EQ(ReadPulseSamples(PathOf("none.ppg"), &h, &samples), FileStatus::CannotOpen);
    EXPECT_EQ(samples, (std::vector<int16_t>{7}));
    std::filesystem::create_directory(m_folder / "dir.ppg");
    EXPECT_EQ(ReadPulseSamples(PathOf("dir.ppg"), &h, &samples), FileStatus::CannotOpen);

    auto hrv = MakeHrv();
    std::vector<int16_t> pulse = SyntheticPulse(200, 500);
    hrv->AddSamples(pulse.data(), 500);
    EXPECT_EQ(hrv->LoadRateFile(&h, PathOf("none.hrv")), FileStatus::CannotOpen);
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 0) << "the rate reader resets even on failure";
    EXPECT_EQ(hrv->Identity().age, -1);
}

// --- Header-only reading (the user registry) ----------------------------------------------

using HeaderReading = RecordingFolder;

TEST_F(HeaderReading, ReadsTheRecordTheMarkerSelects) {
    Bytes file = MarkedFile(-12.0, 64);
    PutDouble(file, 1.0);
    WriteAll(PathOf("x.ppg"), file);
    RecordingHeader h = PreparedHeader();
    ASSERT_TRUE(ReadRecordingHeader(PathOf("x.ppg"), &h));
    EXPECT_EQ(h.bytes[0], 1);
    EXPECT_EQ(h.bytes[63], 64);
    EXPECT_EQ(h.Phone(), "caller");
}

TEST_F(HeaderReading, FalseOnlyWhenTheFileCannotBeOpened) {
    RecordingHeader h = PreparedHeader();
    EXPECT_FALSE(ReadRecordingHeader(PathOf("none.ppg"), &h));

    WriteAll(PathOf("short.ppg"), Bytes(7, 0xAA));
    EXPECT_TRUE(ReadRecordingHeader(PathOf("short.ppg"), &h));
    WriteAll(PathOf("cut.ppg"), MarkedFile(-2050.0, 255));
    EXPECT_TRUE(ReadRecordingHeader(PathOf("cut.ppg"), &h));
    EXPECT_EQ(h.bytes[0], 0);
    EXPECT_EQ(h.Phone(), "caller");
}

// --- Exact bytes ----------------------------------------------------------------------------

using GoldenBytes = RecordingFolder;

namespace {

// The header of the golden files, laid out byte by byte from the record's table.
Bytes GoldenHeader() {
    Bytes h(256, 0);
    const uint8_t name[] = {'K', 'i', 'm'};
    const uint8_t birth[] = {0xA8, 0x07, 0x00, 0x00};                         // 1960
    const uint8_t sex[] = {0x02, 0x00, 0x00, 0x00};                           // female
    const uint8_t index[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x4A, 0x40}; // 52.5
    const uint8_t pulse[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x52, 0x40}; // 72.5
    const uint8_t phone[] = {'0', '1', '0'};
    std::copy(std::begin(name), std::end(name), h.begin());
    std::copy(std::begin(birth), std::end(birth), h.begin() + 32);
    std::copy(std::begin(sex), std::end(sex), h.begin() + 36);
    std::copy(std::begin(index), std::end(index), h.begin() + 40);
    h[48] = 'C';
    std::copy(std::begin(pulse), std::end(pulse), h.begin() + 56);
    std::copy(std::begin(phone), std::end(phone), h.begin() + 64);
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

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

TEST_F(GoldenBytes, PulseWriterProducesTheLayoutByteForByte) {
    auto hrv = MakeHrv();
    const int16_t samples[] = {1, -2, 300, -32768, 32767};
    hrv->AddSamples(samples, 5);
    RecordingHeader record = GoldenRecord();
    ASSERT_EQ(hrv->SavePulseFile(PathOf("Kim_20240131_093005.ppg"), &record), FileStatus::Ok);

    Bytes expected = Concat({kPulseMarkerBytes,
                             GoldenHeader(),
                             {0x01, 0x00, 0xFE, 0xFF, 0x2C, 0x01, 0x00, 0x80, 0xFF, 0x7F}});
    EXPECT_EQ(ReadAll(PathOf("Kim_20240131_093005.ppg")), expected);
}

TEST_F(GoldenBytes, RateWriterProducesTheLayoutByteForByte) {
    auto hrv = MakeHrv();
    hrv->AddRate(false, -1);
    hrv->AddRate(false, 60);
    hrv->AddRate(false, 0);
    RecordingHeader record = GoldenRecord();
    ASSERT_EQ(hrv->SaveRateFile(&record, PathOf("Kim_20240131_093005.hrv")), FileStatus::Ok);

    Bytes expected = Concat({kRateMarkerBytes,
                             GoldenHeader(),
                             {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0xBF},   // -1
                             {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4E, 0x40},   // 60
                             {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}}); // 0
    EXPECT_EQ(ReadAll(PathOf("Kim_20240131_093005.hrv")), expected);
}

TEST_F(GoldenBytes, PulseReaderTakesTheLayoutByteForByte) {
    WriteAll(PathOf("Kim_20240131_093005.ppg"),
             Concat({kPulseMarkerBytes, GoldenHeader(), {0x2C, 0x01, 0x00, 0x80, 0xFF}}));
    RecordingHeader h;
    std::vector<int16_t> samples;
    ASSERT_EQ(ReadPulseSamples(PathOf("Kim_20240131_093005.ppg"), &h, &samples), FileStatus::Ok);
    EXPECT_EQ(h.Name(), "Kim");
    EXPECT_EQ(h.BirthYear(), 1960);
    EXPECT_EQ(h.Sex(), 2);
    EXPECT_EQ(h.Value(), 52.5);
    EXPECT_EQ(h.Type(), 'C');
    EXPECT_EQ(h.MeanPulse(), 72.5);
    EXPECT_EQ(h.Phone(), "010");
    EXPECT_EQ(samples, (std::vector<int16_t>{300, -32768}));
}

TEST_F(GoldenBytes, RateReaderReplaysTheTimeline) {
    Bytes body;
    for (double v : {-1.0, 60.0, 0.0, -1.0, 250.0, std::numeric_limits<double>::quiet_NaN(), 65.0})
        PutDouble(body, v);
    WriteAll(PathOf("Kim_20240131_093005.hrv"), Concat({kRateMarkerBytes, GoldenHeader(), body}));

    auto hrv = MakeHrv();
    RecordingHeader h;
    ASSERT_EQ(hrv->LoadRateFile(&h, PathOf("Kim_20240131_093005.hrv")), FileStatus::Ok);
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
    auto hrv = MakeHrv();
    std::vector<int16_t> pulse = SyntheticPulse(170, 61 * 200);
    hrv->AddSamples(pulse.data(), static_cast<int>(pulse.size()));
    RecordingHeader record = GoldenRecord();
    const std::string path = PathOf("Kim_20240131_093005.ppg");
    ASSERT_EQ(hrv->SavePulseFile(path, &record), FileStatus::Ok);
    EXPECT_EQ(std::filesystem::file_size(path), 24264u);

    RecordingHeader h;
    std::vector<int16_t> samples;
    ASSERT_EQ(ReadPulseSamples(path, &h, &samples), FileStatus::Ok);
    EXPECT_EQ(samples, std::vector<int16_t>(pulse.begin(), pulse.begin() + 12000));
}

TEST_F(PulseFileSave, SavedPulseReloadsToTheSameRates) {
    auto hrv = MakeHrv();
    std::vector<int16_t> pulse = SyntheticPulse(200, 6000);
    hrv->AddSamples(pulse.data(), static_cast<int>(pulse.size()));
    RecordingHeader record = GoldenRecord();
    ASSERT_EQ(hrv->SavePulseFile(PathOf("Kim_20240131_093005.ppg"), &record), FileStatus::Ok);

    auto review = MakeHrv();
    RecordingHeader h;
    ASSERT_EQ(review->LoadPulseFile(&h, PathOf("Kim_20240131_093005.ppg")), FileStatus::Ok);
    EXPECT_EQ(review->CopyRates(), hrv->CopyRates());
    EXPECT_EQ(review->CopyTimeline(), hrv->CopyTimeline());
    EXPECT_EQ(h.Name(), "Kim");
}

TEST_F(PulseFileSave, EmptyMeasurementWritesNothingAndKeepsAnOldFile) {
    const std::string path = PathOf("Kim_20240131_093005.ppg");
    WriteAll(path, Bytes{1, 2, 3});
    auto hrv = MakeHrv();
    RecordingHeader record = GoldenRecord();
    EXPECT_EQ(hrv->SavePulseFile(path, &record), FileStatus::NothingSaved);
    EXPECT_EQ(ReadAll(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(hrv->Identity().dateTimeText, "");

    EXPECT_EQ(hrv->SaveRateFile(&record, PathOf("Kim_20240131_093005.hrv")),
              FileStatus::NothingSaved);
    auto noChart = std::make_unique<CHrv>();
    noChart->AddRate(false, 70);
    EXPECT_EQ(noChart->SaveRateFile(&record, PathOf("Kim_20240131_093005.hrv")),
              FileStatus::NothingSaved);
    EXPECT_FALSE(std::filesystem::exists(PathOf("Kim_20240131_093005.hrv")));
}

TEST_F(PulseFileSave, MissingHeaderWritesAZeroRecordSoTheFileStaysReadable) {
    auto hrv = MakeHrv();
    const int16_t samples[] = {5, 6};
    hrv->AddSamples(samples, 2);
    ASSERT_EQ(hrv->SavePulseFile(PathOf("x_20240131_093005.ppg"), nullptr), FileStatus::Ok);
    RecordingHeader h = PreparedHeader();
    std::vector<int16_t> back;
    ASSERT_EQ(ReadPulseSamples(PathOf("x_20240131_093005.ppg"), &h, &back), FileStatus::Ok);
    EXPECT_EQ(back, (std::vector<int16_t>{5, 6}));
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
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder / "bin");
    }
    void TearDown() override {
        std::filesystem::current_path(m_previous);
        RecordingFolder::TearDown();
    }
    std::filesystem::path m_previous;
};

TEST_F(FileNameParse, SavingSetsDateTimeAndAgeFromTheName) {
    auto hrv = MakeHrv();
    const int16_t samples[] = {1, 2, 3};
    hrv->AddSamples(samples, 3);
    RecordingHeader record;
    record.SetBirthYear(1960);
    ASSERT_EQ(hrv->SavePulseFile("../work/Kim_20240131_093005.ppg", &record), FileStatus::Ok);

    RecordingIdentity id = hrv->Identity();
    EXPECT_EQ(id.name, "../work/Kim_20240131_093005.ppg");
    EXPECT_EQ(id.dateTimeText, "2024-01-31 09:30:05");
    EXPECT_EQ(id.dateTime.year, 2024);
    EXPECT_EQ(id.dateTime.month, 1);
    EXPECT_EQ(id.dateTime.day, 31);
    EXPECT_EQ(id.dateTime.hour, 9);
    EXPECT_EQ(id.dateTime.minute, 30);
    EXPECT_EQ(id.dateTime.second, 5);
    EXPECT_EQ(id.age, 64);
}

TEST_F(FileNameParse, LoadingUsesTheBirthYearOfTheFile) {
    auto writer = MakeHrv();
    const int16_t samples[] = {1, 2, 3};
    writer->AddSamples(samples, 3);
    RecordingHeader record;
    record.SetBirthYear(1990);
    ASSERT_EQ(writer->SavePulseFile("../work/Lee_20130202_235959.ppg", &record), FileStatus::Ok);

    auto reader = MakeHrv();
    RecordingHeader h;
    ASSERT_EQ(reader->LoadPulseFile(&h, "../work/Lee_20130202_235959.ppg"), FileStatus::Ok);
    EXPECT_EQ(reader->Identity().dateTimeText, "2013-02-02 23:59:59");
    EXPECT_EQ(reader->Identity().age, 23);
}

TEST_F(FileNameParse, UnderscoreInAFolderNameDoesNotShiftTheDate) {
    auto hrv = MakeHrv();
    const int16_t samples[] = {1, 2, 3};
    hrv->AddSamples(samples, 3);
    RecordingHeader record;
    record.SetBirthYear(1960);
    std::filesystem::create_directories(m_folder / "tondrela_1.0" / "work");
    const std::string path = PathOf("tondrela_1.0/work/Kim_20240131_093005.ppg");
    ASSERT_EQ(hrv->SavePulseFile(path, &record), FileStatus::Ok);
    EXPECT_EQ(hrv->Identity().name, path);
    EXPECT_EQ(hrv->Identity().dateTimeText, "2024-01-31 09:30:05");
    EXPECT_EQ(hrv->Identity().age, 64);
}

TEST_F(FileNameParse, NameWithoutUnderscoreSetsNothing) {
    auto hrv = MakeHrv();
    const int16_t samples[] = {1, 2, 3};
    hrv->AddSamples(samples, 3);
    RecordingHeader record;
    record.SetBirthYear(1960);
    ASSERT_EQ(hrv->SavePulseFile("../work/Kim.ppg", &record), FileStatus::Ok);
    EXPECT_EQ(hrv->Identity().name, "");
    EXPECT_EQ(hrv->Identity().dateTimeText, "");
    EXPECT_EQ(hrv->Identity().age, -1);
}

TEST_F(FileNameParse, WithoutSecondUnderscoreTheTimeComesFromTheNameStart) {
    auto hrv = MakeHrv();
    const int16_t samples[] = {1, 2, 3};
    hrv->AddSamples(samples, 3);
    RecordingHeader record;
    record.SetBirthYear(2000);
    ASSERT_EQ(hrv->SavePulseFile("123456_20240131.ppg", &record), FileStatus::Ok);
    EXPECT_EQ(hrv->Identity().dateTimeText, "2024-01-31 12:34:56");
    EXPECT_EQ(hrv->Identity().age, 24);
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
        auto writer = MakeHrv();
        std::vector<int16_t> pulse = SyntheticPulse(200, 6000); // 30 s at 60 beats/min
        writer->AddSamples(pulse.data(), static_cast<int>(pulse.size()));
        RecordingHeader record = GoldenRecord();
        ASSERT_EQ(writer->SavePulseFile(PathOf("Kim_20240131_093005.ppg"), &record),
                  FileStatus::Ok);

        Bytes rates = Concat({kRateMarkerBytes, GoldenHeader()});
        for (double v : {-1.0, 65.0, -1.0, 66.0, -1.0, 67.0})
            PutDouble(rates, v);
        WriteAll(PathOf("Kim_20240131_093005.hrv"), rates);
    }
};

TEST_F(LoadOrder, PulseThenRateKeepsOnlyTheRates) {
    auto hrv = MakeHrv();
    RecordingHeader h;
    ASSERT_EQ(hrv->LoadPulseFile(&h, PathOf("Kim_20240131_093005.ppg")), FileStatus::Ok);
    std::vector<double> pulseRates = hrv->CopyRates();
    ASSERT_NE(std::find(pulseRates.begin(), pulseRates.end(), 60.0), pulseRates.end());

    ASSERT_EQ(hrv->LoadRateFile(&h, PathOf("Kim_20240131_093005.hrv")), FileStatus::Ok);
    EXPECT_EQ(hrv->CopyRates(), (std::vector<double>{65, 66, 67}));
    EXPECT_EQ(hrv->CopyTimeline(), (std::vector<double>{-1, 65, -1, 66, -1, 67}));
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 0);
}

TEST_F(LoadOrder, RateThenPulseAppendsTheDetectedRates) {
    auto hrv = MakeHrv();
    RecordingHeader h;
    ASSERT_EQ(hrv->LoadRateFile(&h, PathOf("Kim_20240131_093005.hrv")), FileStatus::Ok);
    ASSERT_EQ(hrv->LoadPulseFile(&h, PathOf("Kim_20240131_093005.ppg")), FileStatus::Ok);

    std::vector<double> rates = hrv->CopyRates();
    ASSERT_GT(rates.size(), 3u);
    EXPECT_EQ(std::vector<double>(rates.begin(), rates.begin() + 3),
              (std::vector<double>{65, 66, 67}));
    EXPECT_NE(std::find(rates.begin() + 3, rates.end(), 60.0), rates.end());
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 6000);
}

TEST_F(LoadOrder, PulseLoadDoesNotReset) {
    auto hrv = MakeHrv();
    RecordingHeader h;
    ASSERT_EQ(hrv->LoadPulseFile(&h, PathOf("Kim_20240131_093005.ppg")), FileStatus::Ok);
    ASSERT_EQ(hrv->LoadPulseFile(&h, PathOf("Kim_20240131_093005.ppg")), FileStatus::Ok);
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 12000);
}
