// The review window: the charts' window of 20 records and its scrolling, the hover tip, the
// reports a left click opens, deleting with a right click, unreadable recordings, and the
// window as the main menu opens it. Every test runs in a runtime tree of its own (bin/ and
// work/ side by side, bin/ current); the recordings are made by the real analysis.

#include "analysis/Hrv.h"
#include "apg/DlgApgReport.h"
#include "app/ChildWindows.h"
#include "app/Tondrela.h"
#include "controls/BtnST.h"
#include "controls/staticex.h"
#include "records/DlgReview.h"
#include "stress/DlgStressReport.h"

#include "AnalysisTool.h"
#include "Screenshot.h"
#include "TestRuntime.h"
#include "UserFiles.h"

#include "tests/common/ReviewFiles.h"

#include <QApplication>
#include <QDate>
#include <QJsonObject>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <memory>
#include <vector>

using namespace ReviewId;
using Report = CDlgReview::Report;
namespace fs = std::filesystem;

namespace {

constexpr int kBirthYear = 1960;
constexpr int kHeaderSex = 2;    // Kim's recordings say "woman"; the stress figures are a man's
constexpr int kPulseTests = 25;  // Kim's wellness tests 0..24
constexpr int kStressTests = 20; // Kim's stress tests 0..19
constexpr int kKimberlyTests[] = {30, 31, 32};

std::string FileOf(const char* user, int n, const char* extension) {
    return std::string(user) + "_" + reviewfiles::Stamp(n) + extension;
}

// The review's records that are shown for the kind, by number.
std::vector<int> ShownNumbers(const CDlgReview& window, int kind) {
    std::vector<int> numbers;
    for (const CLinkList& spot : window.HotSpots()) {
        if (spot.kind == kind)
            numbers.push_back(spot.number);
    }
    return numbers;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> numbers;
    for (int n = first; n <= last; ++n)
        numbers.push_back(n);
    return numbers;
}

const CLinkList* SpotOf(const CDlgReview& window, int kind, const std::string& fileName) {
    for (const CLinkList& spot : window.HotSpots()) {
        if (spot.kind == kind && spot.fileName == fileName)
            return &spot;
    }
    return nullptr;
}

QPoint Centre(const CLinkList& spot) {
    return QPoint(spot.hotLeft + 5, spot.hotTop + 5);
}

void MoveMouse(QWidget* window, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, window->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(window, &move);
}

// What a left click opened: the report built on the window's CHrv.
struct Opened {
    Report report;
    std::string recording;   // the CHrv's recording when the report opened
    QString lastHistoryRow;  // of a wellness report
    StressReportData stress; // what a stress report shows
};

} // namespace

class DlgReviewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void ChartsShowTheNewest20AndScrollOneRecordAtATime();
    void WithoutRecordingsEveryCountIsZeroAndNothingScrolls();
    void HoverShowsTheDateUnderTheCursorAndClicksBesidePointsDoNothing();
    void LeftClickOpensTheReportOfThePoint();
    void RightClickDeletesOnlyThatRecordingAfterTheQuestion();
    void FailedDeletionKeepsThePoint();
    void UnreadableRecordingGivesNoPointAndIsCounted();
    void ScreenshotsInEnglishAndKorean();

private:
    std::unique_ptr<CDlgReview> OpenWindow();
    bool Loaded(CDlgReview& window);

    std::unique_ptr<RuntimeFolder> m_folder;
    std::unique_ptr<MessageCatcher> m_boxes;
    std::vector<Opened> m_opened;
};

void DlgReviewTest::initTestCase() {
    QVERIFY(reviewfiles::RestingPulse().size() >= 50000);
}

void DlgReviewTest::init() {
    m_folder = std::make_unique<RuntimeFolder>();
    QVERIFY(m_folder->Valid());
    CTondrelaApp& app = TheApp();
    app.InitInstance(QSize(1600, 1000), QDir::currentPath());
    app.CurrentUser = UserRecord{"Kim", kBirthYear, 1, ""};
    UseLanguage(2);
    m_boxes = std::make_unique<MessageCatcher>();
    m_opened.clear();
    const fs::path work = m_folder->Work().toStdString();
    for (int n = 0; n < kPulseTests; ++n)
        QVERIFY(reviewfiles::SavePulseRecording(work, "Kim", n, kBirthYear, kHeaderSex));
    for (int n = 0; n < kStressTests; ++n)
        QVERIFY(reviewfiles::SaveRateRecording(work, "Kim", n, kBirthYear, kHeaderSex));
    for (int n : kKimberlyTests) {
        QVERIFY(reviewfiles::SavePulseRecording(work, "Kimberly", n, kBirthYear, 2));
        QVERIFY(reviewfiles::SaveRateRecording(work, "Kimberly", n, kBirthYear, 2));
    }
}

void DlgReviewTest::cleanup() {
    m_boxes.reset();
    m_folder.reset();
}

// The window as the main menu opens it, at the screen's size with its picture, loaded.
std::unique_ptr<CDlgReview> DlgReviewTest::OpenWindow() {
    auto window = std::make_unique<CDlgReview>();
    window->resize(TheApp().screenSize);
    window->SetBackground(TheApp().ResourcePath("IMAGE", "Review.jpg"));
    window->SetReportRunner([this](Report report, CHrv* hrv, QWidget* owner) {
        Opened opened{report, hrv->Identity().name, QString(), StressReportData()};
        if (report == Report::Apg) {
            CDlgApgReport dialog(hrv, owner);
            if (!dialog.History().empty())
                opened.lastHistoryRow = dialog.History().back().dateTimeText;
        } else {
            CDlgStressReport dialog(hrv, owner);
            opened.stress = dialog.Data();
        }
        m_opened.push_back(opened);
    });
    window->show();
    return window;
}

bool DlgReviewTest::Loaded(CDlgReview& window) {
    return QTest::qWaitFor([&window] { return !window.Loading(); }, 60000);
}

void DlgReviewTest::ChartsShowTheNewest20AndScrollOneRecordAtATime() {
    auto window = OpenWindow();
    QVERIFY(Loaded(*window));
    const struct {
        ReviewChart chart;
        int kind;
        int count;
        int previous;
        int next;
        const char* countText;
    } charts[] = {
        {ReviewChart::MeanPulse, CLinkList::kMeanPulse, 25, kPulsePrevious, kPulseNext,
         "(25 case)"},
        {ReviewChart::Wellness, CLinkList::kWellnessIndex, 25, kWellnessPrevious, kWellnessNext,
         "(25 case)"},
        {ReviewChart::Stress, CLinkList::kStressIndex, 20, kStressPrevious, kStressNext,
         "(20 case)"},
    };
    const int countIds[] = {kPulseCount, kWellnessCount, kStressCount};
    for (int i = 0; i < 3; ++i) {
        const auto& c = charts[i];
        QCOMPARE(window->Chart(c.chart).Count(), c.count);
        QCOMPARE(window->Static(countIds[i])->text(), QString(c.countText));
        QCOMPARE(ShownNumbers(*window, c.kind), Range(std::max(1, c.count - 19), c.count));
        QCOMPARE(window->Button(c.previous)->isVisible(), c.count > 20);
        QVERIFY(!window->Button(c.next)->isVisible());
    }

    // One record back shows 5 to 24 and the next button; forward again, and no further.
    window->Button(kWellnessPrevious)->click();
    QCOMPARE(ShownNumbers(*window, CLinkList::kWellnessIndex), Range(5, 24));
    QCOMPARE(ShownNumbers(*window, CLinkList::kMeanPulse), Range(6, 25));
    QVERIFY(window->Button(kWellnessNext)->isVisible());
    for (int i = 0; i < 2; ++i)
        window->OnNext(ReviewChart::Wellness);
    QCOMPARE(ShownNumbers(*window, CLinkList::kWellnessIndex), Range(6, 25));
    QVERIFY(!window->Button(kWellnessNext)->isVisible());
    window->OnNext(ReviewChart::Stress); // exactly 20: nothing to scroll
    QCOMPARE(window->Chart(ReviewChart::Stress).Offset(), 0);

    // The first shown point of a 1023 x 95 chart: step 50, x = trunc(50 * 1016 / 1015) + 4,
    // y = 90 + trunc(value * -88 / 110); its hot rectangle reaches 5 pixels each way.
    const CLinkList& first = window->HotSpots().front();
    QCOMPARE(first.kind, CLinkList::kMeanPulse);
    QCOMPARE(first.x, 54);
    QCOMPARE(first.y, 90 + static_cast<int>(first.value * (-88.0 / 110)));
    QCOMPARE(QRect(QPoint(first.hotLeft, first.hotTop), QPoint(first.hotRight, first.hotBottom)),
             QRect(282 + 54 - 5, 560 + first.y - 5, 11, 11));
}

void DlgReviewTest::WithoutRecordingsEveryCountIsZeroAndNothingScrolls() {
    TheApp().CurrentUser = UserRecord{"Lee", 1970, 2, ""};
    UseLanguage(2);
    QPointer<CBkDialog> opened = OpenReviewWindow(nullptr);
    auto* window = qobject_cast<CDlgReview*>(opened.data());
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(window->BackgroundPath().endsWith("/IMAGE/2/Review.jpg"));
    QVERIFY(!window->Background().isNull());
    QVERIFY(Loaded(*window));
    for (int id : {kPulseCount, kWellnessCount, kStressCount})
        QCOMPARE(window->Static(id)->text(), QString("(0 case)"));
    QVERIFY(window->HotSpots().empty());
    for (int id : {kPulsePrevious, kPulseNext, kWellnessPrevious, kWellnessNext, kStressPrevious,
                   kStressNext})
        QVERIFY(!window->Button(id)->isVisible());
    QVERIFY(window->Static(kStatusLine)->text().isEmpty());

    QSignalSpy closed(window, &CBkDialog::childClosed);
    window->Button(kMain)->click();
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed[0][0].value<QWidget*>(), static_cast<QWidget*>(window));
    delete window;
}

void DlgReviewTest::HoverShowsTheDateUnderTheCursorAndClicksBesidePointsDoNothing() {
    auto window = OpenWindow();
    QVERIFY(Loaded(*window));
    const CLinkList* spot = SpotOf(*window, CLinkList::kWellnessIndex, FileOf("Kim", 24, ".ppg"));
    QVERIFY(spot);
    const QPoint at = Centre(*spot) + QPoint(5, -5); // the hot rectangle's top-right corner
    CStaticEx* tip = window->Static(kHoverTip);
    QVERIFY(!tip->isVisible());

    MoveMouse(window.get(), at);
    QVERIFY(tip->isVisible());
    QCOMPARE(tip->text(), QString("2024-01-25 09:24:24 "));
    const int size = TheApp().fontSizes.smallTextFontSize;
    QCOMPARE(tip->geometry(), QRect(at.x(), at.y() + 20, 8 * size, static_cast<int>(2.5 * size)));
    QVERIFY(window->Hovering());
    QCOMPARE(window->HoveredFile(), FileOf("Kim", 24, ".ppg"));
    QCOMPARE(window->HoveredKind(), CLinkList::kWellnessIndex);
    SaveScreenshot(window.get(), "review_hover");

    MoveMouse(window.get(), at + QPoint(1, 0));
    QVERIFY(!tip->isVisible());
    QVERIFY(!window->Hovering());
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton})
        QTest::mouseClick(window.get(), button, Qt::NoModifier, at + QPoint(1, 0));
    QVERIFY(m_opened.empty());
    QVERIFY(m_boxes->messages.isEmpty());
    QCOMPARE(m_folder->WorkFiles().size(), qsizetype(kPulseTests + kStressTests + 6));
}

void DlgReviewTest::LeftClickOpensTheReportOfThePoint() {
    auto window = OpenWindow();
    QVERIFY(Loaded(*window));
    const CLinkList* wellness =
        SpotOf(*window, CLinkList::kWellnessIndex, FileOf("Kim", 17, ".ppg"));
    const CLinkList* pulse = SpotOf(*window, CLinkList::kMeanPulse, FileOf("Kim", 12, ".ppg"));
    const CLinkList* stress = SpotOf(*window, CLinkList::kStressIndex, FileOf("Kim", 8, ".hrv"));
    QVERIFY(wellness && pulse && stress);
    const QString wellnessLabel = QString::fromStdString(wellness->dateLabel);
    const QString pulseLabel = QString::fromStdString(pulse->dateLabel);
    const QString stressLabel = QString::fromStdString(stress->dateLabel);
    const QPoint points[] = {Centre(*wellness), Centre(*pulse), Centre(*stress)};
    for (QPoint at : points) {
        MoveMouse(window.get(), at);
        QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, at);
    }
    QCOMPARE(m_opened.size(), size_t(3));

    // A wellness or mean pulse point: the wellness report, with that test in its last row.
    QCOMPARE(m_opened[0].report, Report::Apg);
    QCOMPARE(m_opened[0].recording, "../work/" + FileOf("Kim", 17, ".ppg"));
    QCOMPARE(m_opened[0].lastHistoryRow, wellnessLabel);
    QCOMPARE(m_opened[1].report, Report::Apg);
    QCOMPARE(m_opened[1].lastHistoryRow, pulseLabel);

    // A stress point: the rate recording analysed for the user; the report draws its rates
    // alone (nothing of the pulse recording of the same test) and the analysis tool's figures.
    QCOMPARE(m_opened[2].report, Report::Stress);
    QCOMPARE(m_opened[2].recording, "../work/" + FileOf("Kim", 8, ".hrv"));
    const auto alone = std::make_unique<CHrv>();
    QCOMPARE(alone->LoadRateFile(nullptr,
                                 m_folder->Work().toStdString() + "/" + FileOf("Kim", 8, ".hrv")),
             FileStatus::Ok);
    QCOMPARE(m_opened[2].stress.rates, alone->CopyRates());
    const QJsonObject tool =
        RunAnalysisTool(m_folder->Work(), {"--hrv", "--sex", "1",
                                           QString::fromStdString(FileOf("Kim", 8, ".hrv"))})["hrv"]
            .toObject();
    QVERIFY2(!tool.isEmpty(), "tondrela-analyse failed on the rate recording");
    const HrvResult& shown = m_opened[2].stress.result;
    QCOMPARE(tool["age"].toInt(), 2024 - kBirthYear);
    QCOMPARE(m_opened[2].stress.age, 2024 - kBirthYear);
    QCOMPARE(m_opened[2].stress.dateTimeText, stressLabel);
    const struct {
        const char* key;
        double value;
    } figures[] = {{"stressScoreCopy", shown.stressScoreCopy},
                   {"diff2Index", shown.diff2Index},
                   {"meanRate", shown.meanRate},
                   {"lfPower", shown.lfPower},
                   {"hfPower", shown.hfPower},
                   {"sdnn", shown.sdnn},
                   {"rmssd", shown.rmssd},
                   {"rateNorm", shown.rateNorm}};
    for (const auto& figure : figures)
        QVERIFY2(tool[figure.key].toDouble() == figure.value, figure.key);
    QCOMPARE(tool["ansType"].toInt(), shown.ansType);
    QVERIFY(shown.stressScoreCopy > 0);
}

void DlgReviewTest::RightClickDeletesOnlyThatRecordingAfterTheQuestion() {
    const QStringList kimberly = [this] {
        QStringList files;
        for (const QString& file : m_folder->WorkFiles()) {
            if (file.startsWith("Kimberly_"))
                files << file;
        }
        return files;
    }();
    auto window = OpenWindow();
    QVERIFY(Loaded(*window));
    const struct {
        int kind;
        std::string file;
        QMessageBox::StandardButton answer;
        std::string kept; // the other recording of the same test
        int pulses;       // points left in the two wellness charts
        int stresses;
    } cases[] = {
        {CLinkList::kWellnessIndex, FileOf("Kim", 10, ".ppg"), QMessageBox::No, "", 25, 20},
        {CLinkList::kMeanPulse, FileOf("Kim", 10, ".ppg"), QMessageBox::Yes,
         FileOf("Kim", 10, ".hrv"), 24, 20},
        {CLinkList::kStressIndex, FileOf("Kim", 5, ".hrv"), QMessageBox::Yes,
         FileOf("Kim", 5, ".ppg"), 24, 19},
    };
    for (const auto& c : cases) {
        const CLinkList* spot = SpotOf(*window, c.kind, c.file);
        QVERIFY(spot);
        const QString name = QString::fromStdString(c.file);
        m_boxes->messages.clear();
        m_boxes->answer = c.answer;
        MoveMouse(window.get(), Centre(*spot));
        QTest::mouseClick(window.get(), Qt::RightButton, Qt::NoModifier, Centre(*spot));
        QVERIFY(Loaded(*window));

        QStringList expected = {name + " record sure to delete ?"};
        if (c.answer == QMessageBox::Yes)
            expected << name + " record deleted";
        QCOMPARE(m_boxes->messages, expected);
        QCOMPARE(m_folder->WorkFiles().contains(name), c.answer != QMessageBox::Yes);
        if (!c.kept.empty())
            QVERIFY(m_folder->WorkFiles().contains(QString::fromStdString(c.kept)));
        QCOMPARE(window->Chart(ReviewChart::MeanPulse).Count(), c.pulses);
        QCOMPARE(window->Chart(ReviewChart::Wellness).Count(), c.pulses);
        QCOMPARE(window->Chart(ReviewChart::Stress).Count(), c.stresses);
        QCOMPARE(window->Chart(ReviewChart::Wellness).Offset(), c.pulses - 20);
        QVERIFY(!SpotOf(*window, c.kind, c.file) == (c.answer == QMessageBox::Yes));
    }
    for (const QString& file : kimberly)
        QVERIFY(m_folder->WorkFiles().contains(file));

    // Where the language has text 40006, the question is the file name and that text.
    window.reset();
    UseLanguage(1);
    window = OpenWindow();
    QVERIFY(Loaded(*window));
    const CLinkList* spot = SpotOf(*window, CLinkList::kStressIndex, FileOf("Kim", 6, ".hrv"));
    QVERIFY(spot);
    m_boxes->messages.clear();
    m_boxes->answer = QMessageBox::No;
    QTest::mouseClick(window.get(), Qt::RightButton, Qt::NoModifier, Centre(*spot));
    QCOMPARE(m_boxes->messages,
             QStringList{QString::fromStdString(FileOf("Kim", 6, ".hrv")) + " 기록을 삭제합니까?"});
}

void DlgReviewTest::FailedDeletionKeepsThePoint() {
    auto window = OpenWindow();
    QVERIFY(Loaded(*window));
    // The recording is replaced by a folder with a file in it: it cannot be deleted (not even
    // with the rights of an administrator).
    const std::string file = FileOf("Kim", 20, ".ppg");
    const fs::path path = fs::path(m_folder->Work().toStdString()) / file;
    fs::remove(path);
    fs::create_directory(path);
    userfiles::WriteText(path / "inside", "x");
    const std::vector<CLinkList> before = window->HotSpots();
    const CLinkList* spot = SpotOf(*window, CLinkList::kWellnessIndex, file);
    QVERIFY(spot);
    m_boxes->answer = QMessageBox::Yes;
    QTest::mouseClick(window.get(), Qt::RightButton, Qt::NoModifier, Centre(*spot));
    QCOMPARE(m_boxes->messages.size(), 1); // the question only
    QVERIFY(!window->Loading());
    QCOMPARE(window->HotSpots().size(), before.size());
    QVERIFY(SpotOf(*window, CLinkList::kWellnessIndex, file));
}

void DlgReviewTest::UnreadableRecordingGivesNoPointAndIsCounted() {
    TheApp().CurrentUser = UserRecord{"Lee", 1970, 2, ""};
    UseLanguage(2);
    const fs::path work = m_folder->Work().toStdString();
    for (int n = 0; n < 3; ++n)
        QVERIFY(reviewfiles::SavePulseRecording(work, "Lee", n, 1970, 2));
    const std::string good = FileOf("Lee", 0, ".ppg");
    fs::copy_file(work / good, work / FileOf("Lee", 4, ".ppg"));
    fs::resize_file(work / FileOf("Lee", 4, ".ppg"), 200); // truncated in its header
    auto window = OpenWindow();
    QVERIFY(Loaded(*window));
    QCOMPARE(window->Chart(ReviewChart::Wellness).Count(), 3);
    QCOMPARE(window->Static(kWellnessCount)->text(), QString("(3 case)"));
    QVERIFY(!SpotOf(*window, CLinkList::kWellnessIndex, FileOf("Lee", 4, ".ppg")));
    QCOMPARE(window->Unreadable(), 1);
    QCOMPARE(window->Static(kStatusLine)->text(), QString("Recordings that could not be read: 1"));
}

void DlgReviewTest::ScreenshotsInEnglishAndKorean() {
    const struct {
        int language;
        const char* name;
        const char* caption;
    } languages[] = {{2, "review_english", "Wellness Index"}, {1, "review_korean", nullptr}};
    for (const auto& l : languages) {
        UseLanguage(l.language);
        auto window = OpenWindow();
        QVERIFY(Loaded(*window));
        if (l.caption)
            QCOMPARE(window->Static(kWellnessCaption)->text(), QString(l.caption));
        QVERIFY(!window->Static(kWellnessCaption)->text().isEmpty());
        // Every chart is drawn over its slice of the picture.
        for (ReviewChart chart :
             {ReviewChart::MeanPulse, ReviewChart::Wellness, ReviewChart::Stress})
            QVERIFY(!window->Chart(chart).Image().isNull());
        QVERIFY(!SaveScreenshot(window.get(), l.name).isEmpty());
    }
}

QTEST_MAIN(DlgReviewTest)
#include "DlgReview_gui_test.moc"
