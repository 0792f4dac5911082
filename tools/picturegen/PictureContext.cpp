#include "PictureContext.h"

PictureContext::PictureContext(int languageIndex) : m_languageIndex(languageIndex) {
    LoadMessageList(m_messages, BuiltInLanguageTable(languageIndex), "Tondrela-message", true);
}

QString PictureContext::Message(int number) const {
    return QString::fromStdString(GetMessageText(m_messages, number));
}

QString PictureContext::SectionText(const char* section, int id) const {
    const LanguageTable& table = BuiltInLanguageTable(m_languageIndex);
    for (const LanguageEntry& entry :
         table.SectionEntries(section, HeaderMatch::IgnoreTrailingSpace)) {
        if (entry.id == id)
            return QString::fromStdString(entry.text);
    }
    return QString();
}

QString PictureContext::Choose(const char* korean, const char* english, const char* japanese,
                               const char* chinese) const {
    const char* texts[] = {english, korean, english, japanese, chinese};
    const int index = m_languageIndex >= 1 && m_languageIndex <= 4 ? m_languageIndex : 0;
    return QString::fromUtf8(texts[index]);
}
