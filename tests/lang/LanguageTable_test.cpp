#include "lang/LanguageTable.h"
#include "lang/MessageList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kKorean = 1;
constexpr int kEnglish = 2;
constexpr int kJapanese = 3;
constexpr int kChinese = 4;
constexpr int kLanguages[] = {kKorean, kEnglish, kJapanese, kChinese};
constexpr const char* kSections[] = {"Tondrela", "Tondrela-Registration", "Tondrela-tooltip",
                                     "Tondrela-message"};

// A dialog with a fixed set of controls that records what the tables give it.
class FakeDialog : public LanguageTarget {
public:
    explicit FakeDialog(std::set<int> controls) : m_controls(std::move(controls)) {}
    bool SetControlText(int id, const std::string& text) override {
        if (!m_controls.count(id))
            return false;
        texts[id] = text;
        return true;
    }
    bool SetControlTooltip(int id, const std::string& text) override {
        if (!m_controls.count(id))
            return false;
        tooltips[id] = text;
        return true;
    }
    std::map<int, std::string> texts;
    std::map<int, std::string> tooltips;

private:
    std::set<int> m_controls;
};

std::set<int> SectionIds(const LanguageTable& table, std::string_view name) {
    std::set<int> ids;
    for (const LanguageEntry& entry : table.SectionEntries(name, HeaderMatch::IgnoreTrailingSpace))
        ids.insert(entry.id);
    return ids;
}

std::string MessageOf(int language, int number) {
    MessageList list;
    LoadMessageList(list, BuiltInLanguageTable(language), "Tondrela-message", true);
    return GetMessageText(list, number);
}

} // namespace

// --- Parsing one entry line ----------------------------------------------------------------

TEST(LanguageEntryParse, SplitsAtTheFirstTwoCommasAndTrims) {
    const struct {
        const char* line;
        int id;
        const char* text;
    } cases[] = {
        {"1014,APG, \tVascular age index \r\n", 1014, "Vascular age index"},
        {"1032,Start,   ", 1032, ""},
        {"7,__,one, two ,three", 7, "one, two ,three"},
        // The ID is read like wcstol: leading digits, 0 without any, clamped.
        {"  42abc,K,t", 42, "t"},
        {"abc,K,t", 0, "t"},
        {",K,t", 0, "t"},
        {"-7,K,t", -7, "t"},
        {"99999999999,K,t", INT_MAX, "t"},
        {"-99999999999,K,t", INT_MIN, "t"},
        // The first comma is searched after an inner '#'.
        {"12#3,KEY,text", 12, "text"},
        // The comma after "C#" is the first one found and no second one follows: whole line.
        {"5,KEY,C# is, here ", 5, "5,KEY,C# is, here"},
        // No comma after the '#': read as a line without comma.
        {"6,KEY,C#", 0, "6,KEY,C#"},
        {"5, only one ", 5, "5, only one"},
        {" 123 text\t", 0, "123 text"},
        // Unicode blanks are trimmed at the ends, inner blanks kept.
        {"1,K,\u3000測定 開始\u3000\u00A0", 1, "測定 開始"},
    };
    for (const auto& c : cases) {
        const LanguageEntry entry = ParseLanguageEntry(c.line);
        EXPECT_EQ(entry.id, c.id) << c.line;
        EXPECT_EQ(entry.text, c.text) << c.line;
    }
    EXPECT_EQ(TrimWhiteSpace(" \t\r\n"), "");
}

// --- Sections of a table -------------------------------------------------------------------

TEST(LanguageTableSections, EndsAtFirstEmptyLine) {
    const std::vector<std::string_view> lines{"#A", "1,K,a", "", "2,K,b", ""};
    const LanguageTable table(lines);
    EXPECT_EQ(table.LineCount(), 2);
    EXPECT_EQ(SectionIds(table, "A"), std::set<int>{1});
}

TEST(LanguageTableSections, FirstSectionWithNameWinsAndRunsToNextHeader) {
    const std::vector<std::string_view> lines{"#A", "1,K,first",  "#B", "2,K,b",
                                              "#A", "3,K,second", ""};
    const std::vector<LanguageEntry> entries =
        LanguageTable(lines).SectionEntries("A", HeaderMatch::Exact);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "first");
}

TEST(LanguageTableSections, LineWithInnerHashIsAnEntry) {
    const std::vector<std::string_view> lines{"#A", "1,K,x#B", "2,K,y", ""};
    const LanguageTable table(lines);
    EXPECT_EQ(table.SectionEntries("A", HeaderMatch::Exact).size(), 2u);
    EXPECT_TRUE(table.SectionEntries("B", HeaderMatch::Exact).empty());
}

TEST(LanguageTableSections, TrailingBlankOfHeaderMattersOnlyForExactMatch) {
    const std::vector<std::string_view> lines{"#A \t", "1,K,a", ""};
    const LanguageTable table(lines);
    EXPECT_TRUE(table.SectionEntries("A", HeaderMatch::Exact).empty());
    EXPECT_EQ(table.SectionEntries("A", HeaderMatch::IgnoreTrailingSpace).size(), 1u);
    EXPECT_TRUE(table.SectionEntries("a", HeaderMatch::IgnoreTrailingSpace).empty());
}

// --- Applying a section to a dialog --------------------------------------------------------

TEST(ApplyLanguageSection, FindsKoreanRegistrationHeaderWithTrailingBlank) {
    FakeDialog dialog({1030, 1, 2});
    ApplyLanguageSection(BuiltInLanguageTable(kKorean), "Tondrela-Registration", dialog);
    EXPECT_EQ(dialog.texts[1030], "사용자 이름");
    EXPECT_EQ(dialog.texts[1], "확인");
    EXPECT_EQ(dialog.texts[2], "취소");
    EXPECT_TRUE(dialog.tooltips.empty());
}

TEST(ApplyLanguageSection, BlankEntrySetsEmptyTextAndTooltipIsTrimmed) {
    FakeDialog dialog({1032, 1033, 1101});
    dialog.texts[1032] = "placeholder";
    ApplyLanguageSection(BuiltInLanguageTable(kEnglish), "Tondrela", dialog);
    EXPECT_EQ(dialog.texts.at(1032), "");
    EXPECT_EQ(dialog.texts.at(1101), "Vascular age test");
    EXPECT_EQ(dialog.tooltips.at(1032), "Start measurement");
    EXPECT_EQ(dialog.tooltips.at(1033), "Finish analysis");
}

TEST(ApplyLanguageSection, SkipsIdsWithoutControl) {
    FakeDialog dialog({1210});
    ApplyLanguageSection(BuiltInLanguageTable(kEnglish), "Tondrela", dialog);
    EXPECT_EQ(dialog.texts.size(), 1u);
    EXPECT_EQ(dialog.texts.at(1210), "Waist and Hip Ratio");
}

TEST(ApplyLanguageSection, TooltipSectionMustMatchExactly) {
    const std::vector<std::string_view> lines{"#A", "1,K,text", "#A-tooltip ", "1,K,tip", ""};
    FakeDialog dialog({1});
    ApplyLanguageSection(LanguageTable(lines), "A", dialog);
    EXPECT_EQ(dialog.texts.at(1), "text");
    EXPECT_TRUE(dialog.tooltips.empty());
}

TEST(ApplyLanguageSection, MissingSectionSetsNothing) {
    FakeDialog dialog({1014, 1032});
    ApplyLanguageSection(BuiltInLanguageTable(kEnglish), "Nothing", dialog);
    ApplyLanguageSection(BuiltInLanguageTable(0), "Tondrela", dialog);
    EXPECT_TRUE(dialog.texts.empty());
    EXPECT_TRUE(dialog.tooltips.empty());
}

// --- Message list --------------------------------------------------------------------------

TEST(MessageList, EmptyBeforeLoadAndReloadedWithClearOnALanguageChange) {
    MessageList list;
    EXPECT_EQ(GetMessageText(list, 30001), "");
    LoadMessageList(list, BuiltInLanguageTable(kEnglish), "Tondrela-message", true);
    EXPECT_EQ(GetMessageText(list, 30001), "USB Disconnected");
    LoadMessageList(list, BuiltInLanguageTable(kKorean), "Tondrela-message", true);
    EXPECT_EQ(GetMessageText(list, 30001), "USB 연결 끊김");
    EXPECT_EQ(list.Count(), 215);
    LoadMessageList(list, BuiltInLanguageTable(kJapanese), "Tondrela-message", true);
    EXPECT_EQ(GetMessageText(list, 30001), "USB未接続");
    LoadMessageList(list, BuiltInLanguageTable(kChinese), "Tondrela-message", true);
    EXPECT_EQ(GetMessageText(list, 30001), "USB 已断开");
}

TEST(MessageList, AppendWithoutClearKeepsFirstEntry) {
    MessageList list;
    LoadMessageList(list, BuiltInLanguageTable(kEnglish), "Tondrela-message", true);
    LoadMessageList(list, BuiltInLanguageTable(kKorean), "Tondrela-message", false);
    EXPECT_EQ(GetMessageText(list, 30001), "USB Disconnected");
    EXPECT_EQ(GetMessageText(list, 30024), "사용방법 안내"); // only Korean has it
}

TEST(MessageList, FirstEntryWithNumberWins) {
    const std::vector<std::string_view> lines{"#M", "5,K,first", "5,K,second", ""};
    MessageList list;
    LoadMessageList(list, LanguageTable(lines), "M", true);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(GetMessageText(list, 5), "first");
}

TEST(MessageList, SectionNameIsMatchedExactly) {
    const std::vector<std::string_view> lines{"#M ", "5,K,text", ""};
    MessageList list;
    list.Append(1, "kept until cleared");
    LoadMessageList(list, LanguageTable(lines), "M", true);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(GetMessageText(list, 5), "");
}

TEST(MessageList, EnglishTextsAsShown) {
    EXPECT_EQ(MessageOf(kEnglish, 40009), "Store the data on the server?");
    EXPECT_EQ(MessageOf(kEnglish, 40016), "The data could not be sent to the server.");
    EXPECT_EQ(MessageOf(kEnglish, 50038), "7 healthy habits for your blood vessels");
    EXPECT_EQ(MessageOf(kEnglish, 20002), "Tondrela v70");
    EXPECT_EQ(MessageOf(kEnglish, 50031),
              "Compare to basis index, vascular age index is normal between -30% and 10%.");
}

TEST(MessageList, NumbersMissingFromATableAreEmpty) {
    for (int number : {30024, 40006})
        EXPECT_EQ(MessageOf(kEnglish, number), "") << number;
    EXPECT_EQ(MessageOf(kJapanese, 30021), "");
    EXPECT_NE(MessageOf(kJapanese, 40006), "");
    EXPECT_EQ(MessageOf(kKorean, 30021), "사용방법");
    EXPECT_EQ(MessageOf(kKorean, 30022), "활용매뉴얼");
    EXPECT_EQ(MessageOf(kKorean, 30023), "맥파지수 HELP");
    EXPECT_EQ(MessageOf(kKorean, 40009), "데이터를 서버에 보관하시겠습니까 ?");
}

// --- The built-in tables -------------------------------------------------------------------

// Each table holds its original lines plus messages 30027 (help page not found), 40021 (name
// not usable as a file name), 40022 (recording not saved), 40023 (sensor present but not
// openable), 40024 (name too long), 40030 (recordings the review could not read) and 40041 to
// 40045 (closing a test, unsaved test, unreadable recording, birth year out of range, sensor
// in use); English also the help windows' titles 30021 to 30023 and messages 40007 to 40009.
TEST(BuiltInTables, LineCounts) {
    EXPECT_EQ(BuiltInLanguageTable(kKorean).LineCount(), 300 + 11);
    EXPECT_EQ(BuiltInLanguageTable(kEnglish).LineCount(), 287 + 17);
    EXPECT_EQ(BuiltInLanguageTable(kJapanese).LineCount(), 281 + 11);
    EXPECT_EQ(BuiltInLanguageTable(kChinese).LineCount(), 297 + 11);
    EXPECT_EQ(BuiltInLanguageTable(0).LineCount(), 0);
    EXPECT_EQ(BuiltInLanguageTable(5).LineCount(), 0);
}

TEST(BuiltInTables, EveryLanguageNamesItselfInItsOwnTable) {
    const std::vector<std::string> names = {"", "한국어", "English", "日本語", "中文", ""};
    for (int language = 0; language <= 5; ++language)
        EXPECT_EQ(OwnLanguageName(language), names[language]) << language;
}

TEST(BuiltInTables, EnglishSectionSizes) {
    const LanguageTable& english = BuiltInLanguageTable(kEnglish);
    EXPECT_EQ(SectionIds(english, "Tondrela").size(), 65u);
    EXPECT_EQ(SectionIds(english, "Tondrela-Registration").size(), 12u);
    EXPECT_EQ(SectionIds(english, "Tondrela-tooltip").size(), 15u);
    EXPECT_EQ(SectionIds(english, "Tondrela-message").size(), 191u + 17);
}

TEST(BuiltInTables, IdsDifferOnlyWhereDocumented) {
    struct Varying {
        const char* section;
        std::vector<int> ids;
        std::set<int> languages;
    };
    auto range = [](int first, int last) {
        std::vector<int> ids;
        for (int id = first; id <= last; ++id)
            ids.push_back(id);
        return ids;
    };
    const std::vector<int> captions = {30024, 30025, 30026, 60003, 60004};
    const std::vector<Varying> varying = {
        {"Tondrela", {1013, 1081}, {kKorean, kChinese}},
        {"Tondrela", {1101}, {kEnglish, kJapanese}},
        {"Tondrela", {1116}, {kEnglish}},
        {"Tondrela", {1066, 1067, 1070, 1071, 1078, 1079}, {kKorean, kEnglish, kChinese}},
        {"Tondrela-message", range(30021, 30023), {kKorean, kEnglish, kChinese}},
        {"Tondrela-message", captions, {kKorean, kChinese}},
        {"Tondrela-message", {40006}, {kKorean, kJapanese, kChinese}},
        {"Tondrela-message", {40020}, {kKorean, kChinese}},
        {"Tondrela-message", range(60104, 60106), {kKorean, kEnglish}},
    };
    for (const char* section : kSections) {
        // The common IDs: English less the varying ones.
        std::set<int> common = SectionIds(BuiltInLanguageTable(kEnglish), section);
        for (const Varying& v : varying) {
            if (std::string_view(v.section) == section) {
                for (int id : v.ids)
                    common.erase(id);
            }
        }
        for (int language : kLanguages) {
            std::set<int> expected = common;
            for (const Varying& v : varying) {
                if (std::string_view(v.section) == section && v.languages.count(language))
                    expected.insert(v.ids.begin(), v.ids.end());
            }
            EXPECT_EQ(SectionIds(BuiltInLanguageTable(language), section), expected)
                << section << " in language " << language;
        }
    }
}

TEST(BuiltInTables, FourSectionsInOrderWithWellFormedEntries) {
    for (int language : kLanguages) {
        const LanguageTable& table = BuiltInLanguageTable(language);
        std::vector<std::string> headers;
        for (const std::string& line : table.Lines()) {
            if (line.starts_with("#")) {
                headers.push_back(line);
                continue;
            }
            // A '#' inside an entry would move the ID/text split.
            EXPECT_EQ(line.find('#'), std::string::npos) << line;
            EXPECT_GT(ParseLanguageEntry(line).id, 0) << line;
        }
        const std::string registration =
            language == kKorean ? "#Tondrela-Registration " : "#Tondrela-Registration";
        EXPECT_EQ(headers, (std::vector<std::string>{"#Tondrela", registration, "#Tondrela-tooltip",
                                                     "#Tondrela-message"}))
            << language;
        EXPECT_EQ(table.Lines().front(), "#Tondrela");
        // No ID twice in a section: a second entry would never be found.
        for (const char* section : kSections) {
            const auto list = table.SectionEntries(section, HeaderMatch::IgnoreTrailingSpace);
            EXPECT_EQ(SectionIds(table, section).size(), list.size()) << section;
        }
    }
}

TEST(BuiltInTables, TranslationsAreBlankExactlyWhereIntended) {
    const std::set<int> blank = {1013, 1032, 1033, 1034, 1035};
    for (int language : kLanguages) {
        for (const char* section : kSections) {
            for (const LanguageEntry& entry : BuiltInLanguageTable(language).SectionEntries(
                     section, HeaderMatch::IgnoreTrailingSpace)) {
                const bool intendedBlank =
                    std::string_view(section) == "Tondrela" && blank.count(entry.id);
                EXPECT_EQ(entry.text.empty(), intendedBlank)
                    << section << " " << entry.id << " in language " << language;
            }
        }
    }
}

// 40021: a name not usable as a file name; 40022: a recording not saved; 40023: a sensor that
// cannot be opened, naming the udev rule; 40024: a name longer than 31 bytes; 40041 to 40044:
// closing a running test, an unsaved test, an unreadable recording, a birth year out of range.
TEST(BuiltInTables, AddedMessagesAreInEveryLanguage) {
    for (int language : kLanguages) {
        EXPECT_NE(MessageOf(language, 40021).find("\\ / : * ? \" < > | _"), std::string::npos)
            << language;
        EXPECT_NE(MessageOf(language, 40022).find("work"), std::string::npos) << language;
        EXPECT_NE(MessageOf(language, 40023).find("udev"), std::string::npos) << language;
        EXPECT_NE(MessageOf(language, 40024).find("31"), std::string::npos) << language;
        EXPECT_NE(MessageOf(language, 40044).find("1900"), std::string::npos) << language;
        for (int number = 40041; number <= 40044; ++number) {
            EXPECT_FALSE(MessageOf(language, number).empty()) << number << " in " << language;
            if (language != kEnglish) { // translated, not copied
                EXPECT_NE(MessageOf(language, number), MessageOf(kEnglish, number)) << number;
            }
        }
    }
    EXPECT_EQ(MessageOf(kEnglish, 40021), "The name must not contain \\ / : * ? \" < > | _, "
                                          "control characters, \"..\" or leading/trailing "
                                          "blanks.");
    EXPECT_EQ(MessageOf(kEnglish, 40022), "The recording could not be saved. Check that the work "
                                          "folder exists and the disk is not full.");
}
