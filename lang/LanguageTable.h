#pragma once
// The language tables: every text the user sees comes from one of four tables compiled into
// the program (1 Korean, 2 English, 3 Japanese, 4 Chinese). A table is an ordered list of
// UTF-8 lines, ended by the first empty line:
//
//   "#Name"            section header; the section's name is the text after the first '#'
//   "ID,KEY,text"      entry of the section above it; KEY only documents the entry
//
// A section runs from the line after its header to the line before the next header (a line
// that begins with '#') or the end of the table. Every table holds the sections "Tondrela",
// "Tondrela-Registration", "Tondrela-tooltip" and "Tondrela-message", in this order.
//
// Threads: the tables are immutable and may be read from any thread.

#include <span>
#include <string>
#include <string_view>
#include <vector>

struct LanguageEntry {
    int id = 0;
    std::string text;
};

// Splits one entry line into its ID and text:
// - ID: the characters before the first comma, read like wcstol (leading white space
//   skipped, optional sign, stops at the first non-digit, 0 when there is no number,
//   clamped to the int range). When the line holds a '#' that is not its first character,
//   the search for the first comma starts just after the first '#'.
// - text: everything after the second comma, with leading and trailing white space removed;
//   further commas belong to the text. With a single comma the text is the whole line; without
//   a comma the ID is 0 and the text is the whole line (trimmed alike).
LanguageEntry ParseLanguageEntry(std::string_view line);

// Removes leading and trailing white space as the wide-character classification knows it:
// ASCII blanks, tabs, CR, LF, VT, FF and the Unicode spaces (no-break, ideographic, ...).
std::string TrimWhiteSpace(std::string_view text);

enum class HeaderMatch {
    Exact,               // the header text after '#' equals the name
    IgnoreTrailingSpace, // the same after removing trailing white space from the header
};

class LanguageTable {
public:
    LanguageTable() = default;
    // Keeps the lines before the first empty one (the end marker).
    explicit LanguageTable(std::span<const std::string_view> lines);

    // Lines before the end marker.
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    const std::vector<std::string>& Lines() const { return m_lines; }

    // The entries of the first section with that name, in table order; empty when there is
    // no such section.
    std::vector<LanguageEntry> SectionEntries(std::string_view name, HeaderMatch match) const;

private:
    std::vector<std::string> m_lines;
};

// The built-in table of a language (1 Korean, 2 English, 3 Japanese, 4 Chinese); any other
// index gives an empty table, in which no section is found.
const LanguageTable& BuiltInLanguageTable(int languageIndex);

// A language's name for itself, as its own table labels its button in the main menu (IDs 1021
// to 1024 of section "Tondrela"); "" for an index without a table.
std::string OwnLanguageName(int languageIndex);

// A dialog as the language tables see it: something that can set the text and the tooltip of
// its controls by control ID. Both return false when the dialog has no control with that ID.
class LanguageTarget {
public:
    virtual ~LanguageTarget();
    virtual bool SetControlText(int id, const std::string& text) = 0;
    virtual bool SetControlTooltip(int id, const std::string& text) = 0;
};

// Sets the control texts from the section `name` (trailing white space of the header text is
// ignored) and the tooltips from the section `name` + "-tooltip" (matched exactly). Entries
// whose ID has no control in the dialog are skipped; a missing section sets nothing.
void ApplyLanguageSection(const LanguageTable& table, std::string_view name,
                          LanguageTarget& target);
