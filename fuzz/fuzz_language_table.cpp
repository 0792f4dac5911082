// Arbitrary bytes as a language table (lines split at LF): building the table, finding the
// sections, applying one to a dialog and loading the message list must neither crash nor read
// out of bounds; every entry's text must come back trimmed, and an ID written in ASCII must
// read as the C library's strtol reads it (clamped to int).

#include "lang/LanguageTable.h"
#include "lang/MessageList.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {
class CountingTarget : public LanguageTarget {
public:
    bool SetControlText(int id, const std::string&) override { return id % 2 == 0; }
    bool SetControlTooltip(int id, const std::string&) override { return id % 3 == 0; }
};

// The ID part of an entry line, found as the parser finds it.
std::string_view IdPart(std::string_view line) {
    const size_t hash = line.find('#');
    const size_t from = hash != std::string_view::npos && hash > 0 ? hash + 1 : 0;
    return line.substr(0, line.find(',', from));
}

void CheckEntry(std::string_view line) {
    const LanguageEntry entry = ParseLanguageEntry(line);
    if (TrimWhiteSpace(entry.text) != entry.text)
        std::abort();
    if (line.find(',') == std::string_view::npos || IdPart(line).size() == line.size())
        return;
    const std::string id(IdPart(line));
    if (std::any_of(id.begin(), id.end(), [](char c) { return static_cast<uint8_t>(c) >= 0x80; }))
        return; // Unicode blanks: beyond what strtol knows
    const long expected = std::clamp<long>(std::strtol(id.c_str(), nullptr, 10), INT_MIN, INT_MAX);
    if (entry.id != expected)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string_view> lines;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    for (std::string_view line : lines)
        CheckEntry(line);

    const LanguageTable table(lines);
    CountingTarget target;
    for (std::string_view name :
         {"Tondrela", "Tondrela-Registration", "Tondrela-tooltip", "Tondrela-message", ""})
        ApplyLanguageSection(table, name, target);
    MessageList list;
    LoadMessageList(list, table, "Tondrela-message", true);
    LoadMessageList(list, table, "Tondrela-message", false);
    for (const LanguageEntry& entry : table.SectionEntries("Tondrela-message", HeaderMatch::Exact))
        if (list.Find(entry.id) == nullptr ||
            GetMessageText(list, entry.id) != list.Find(entry.id)->text)
            std::abort();
    return 0;
}
