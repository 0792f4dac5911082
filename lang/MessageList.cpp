#include "lang/MessageList.h"

#include <utility>

void MessageList::Append(int number, std::string text) {
    m_entries.push_back({number, std::move(text)});
}

const CTextList* MessageList::Find(int number) const {
    for (const CTextList& entry : m_entries) {
        if (entry.number == number)
            return &entry;
    }
    return nullptr;
}

void LoadMessageList(MessageList& list, const LanguageTable& table, std::string_view name,
                     bool clearFirst) {
    if (clearFirst)
        list.Clear();
    for (LanguageEntry& entry : table.SectionEntries(name, HeaderMatch::Exact))
        list.Append(entry.id, std::move(entry.text));
}

std::string GetMessageText(const MessageList& list, int number) {
    const CTextList* entry = list.Find(number);
    return entry ? entry->text : std::string();
}
