#pragma once
// What a paint function knows about the language folder it paints for: the language and the
// texts of its built-in table.

#include "lang/LanguageTable.h"
#include "lang/MessageList.h"

#include <QString>

class PictureContext {
public:
    explicit PictureContext(int languageIndex); // 1 Korean, 2 English, 3 Japanese, 4 Chinese

    int LanguageIndex() const { return m_languageIndex; }
    // Message `number` of the table's message section ("" when the table lacks it).
    QString Message(int number) const;
    // The text of entry `id` of a section ("" when missing).
    QString SectionText(const char* section, int id) const;
    // One of four texts by language: the pictures' own captions that no table carries.
    QString Choose(const char* korean, const char* english, const char* japanese,
                   const char* chinese) const;

private:
    int m_languageIndex;
    MessageList m_messages;
};
