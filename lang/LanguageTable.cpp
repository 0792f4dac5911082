#include "lang/LanguageTable.h"

#include "lang/TableLines.h"

#include <climits>

namespace {

// UTF-8 encodings of the white-space characters (Unicode White_Space).
constexpr std::string_view kWhiteSpace[] = {
    " ",
    "\t",
    "\n",
    "\v",
    "\f",
    "\r",
    "\xC2\x85",
    "\xC2\xA0",
    "\xE1\x9A\x80",
    "\xE2\x80\x80",
    "\xE2\x80\x81",
    "\xE2\x80\x82",
    "\xE2\x80\x83",
    "\xE2\x80\x84",
    "\xE2\x80\x85",
    "\xE2\x80\x86",
    "\xE2\x80\x87",
    "\xE2\x80\x88",
    "\xE2\x80\x89",
    "\xE2\x80\x8A",
    "\xE2\x80\xA8",
    "\xE2\x80\xA9",
    "\xE2\x80\xAF",
    "\xE2\x81\x9F",
    "\xE3\x80\x80",
};

// Byte length of the white-space character at the start (or end) of text, 0 if there is none.
size_t LeadingSpaceLength(std::string_view text) {
    for (std::string_view space : kWhiteSpace) {
        if (text.starts_with(space))
            return space.size();
    }
    return 0;
}

size_t TrailingSpaceLength(std::string_view text) {
    for (std::string_view space : kWhiteSpace) {
        if (text.ends_with(space))
            return space.size();
    }
    return 0;
}

std::string_view TrimTrailing(std::string_view text) {
    while (size_t n = TrailingSpaceLength(text))
        text.remove_suffix(n);
    return text;
}

// Reads a decimal integer the way wcstol does with base 10.
int ParseId(std::string_view text) {
    while (size_t n = LeadingSpaceLength(text))
        text.remove_prefix(n);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        if (value <= static_cast<long long>(INT_MAX) + 1)
            value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

bool IsHeader(std::string_view line) {
    return !line.empty() && line.front() == '#';
}

} // namespace

std::string TrimWhiteSpace(std::string_view text) {
    while (size_t n = LeadingSpaceLength(text))
        text.remove_prefix(n);
    return std::string(TrimTrailing(text));
}

LanguageEntry ParseLanguageEntry(std::string_view line) {
    size_t searchFrom = 0;
    const size_t hash = line.find('#');
    if (hash != std::string_view::npos && hash > 0)
        searchFrom = hash + 1;
    const size_t first = line.find(',', searchFrom);
    if (first == std::string_view::npos)
        return {0, TrimWhiteSpace(line)};
    const size_t second = line.find(',', first + 1);
    const std::string_view text = second == std::string_view::npos ? line : line.substr(second + 1);
    return {ParseId(line.substr(0, first)), TrimWhiteSpace(text)};
}

LanguageTable::LanguageTable(std::span<const std::string_view> lines) {
    for (std::string_view line : lines) {
        if (line.empty())
            break;
        m_lines.emplace_back(line);
    }
}

std::vector<LanguageEntry> LanguageTable::SectionEntries(std::string_view name,
                                                         HeaderMatch match) const {
    std::vector<LanguageEntry> entries;
    size_t i = 0;
    for (; i < m_lines.size(); ++i) {
        if (!IsHeader(m_lines[i]))
            continue;
        std::string_view header = std::string_view(m_lines[i]).substr(1);
        if (match == HeaderMatch::IgnoreTrailingSpace)
            header = TrimTrailing(header);
        if (header == name)
            break;
    }
    for (++i; i < m_lines.size() && !IsHeader(m_lines[i]); ++i)
        entries.push_back(ParseLanguageEntry(m_lines[i]));
    return entries;
}

const LanguageTable& BuiltInLanguageTable(int languageIndex) {
    static const LanguageTable tables[] = {
        LanguageTable(),
        LanguageTable(KoreanTableLines()),
        LanguageTable(EnglishTableLines()),
        LanguageTable(JapaneseTableLines()),
        LanguageTable(ChineseTableLines()),
    };
    if (languageIndex < 1 || languageIndex > 4)
        return tables[0];
    return tables[languageIndex];
}

std::string OwnLanguageName(int languageIndex) {
    constexpr int kFirstLanguageButton = 1021;
    for (const LanguageEntry& entry :
         BuiltInLanguageTable(languageIndex)
             .SectionEntries("Tondrela", HeaderMatch::IgnoreTrailingSpace)) {
        if (entry.id == kFirstLanguageButton + languageIndex - 1)
            return entry.text;
    }
    return std::string();
}

LanguageTarget::~LanguageTarget() = default;

void ApplyLanguageSection(const LanguageTable& table, std::string_view name,
                          LanguageTarget& target) {
    for (const LanguageEntry& entry : table.SectionEntries(name, HeaderMatch::IgnoreTrailingSpace))
        target.SetControlText(entry.id, entry.text);
    const std::string tooltipName = std::string(name) + "-tooltip";
    for (const LanguageEntry& entry : table.SectionEntries(tooltipName, HeaderMatch::Exact))
        target.SetControlTooltip(entry.id, entry.text);
}
