#pragma once
// The message list: the numbered texts of the current language (message boxes, status lines,
// report captions, ratings), loaded from the message section of a language table and looked
// up by number.
//
// Threads: not synchronised; the owner loads and reads it on one thread (the GUI thread).

#include "lang/LanguageTable.h"

#include <string>
#include <string_view>
#include <vector>

// One message entry.
struct CTextList {
    int number = 0;
    std::string text; // trimmed of leading and trailing white space
};

class MessageList {
public:
    void Clear() { m_entries.clear(); }
    void Append(int number, std::string text);
    int Count() const { return static_cast<int>(m_entries.size()); }
    // The first entry with that number, or nullptr.
    const CTextList* Find(int number) const;

private:
    std::vector<CTextList> m_entries; // in load order
};

// Appends the entries of the section `name` (header matched exactly) to the list, after
// emptying it when clearFirst is set. A missing section appends nothing.
void LoadMessageList(MessageList& list, const LanguageTable& table, std::string_view name,
                     bool clearFirst);

// A copy of the text of the first entry with that number; "" when there is none.
std::string GetMessageText(const MessageList& list, int number);
