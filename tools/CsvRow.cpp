#include "tools/CsvRow.h"

#include "analysis/Utf8.h"
#include "tools/JsonLine.h"

#include <cmath>

void CsvRow::Separate() {
    if (!m_first)
        m_text += ',';
    m_first = false;
}

CsvRow& CsvRow::Add(const std::string& text) {
    Separate();
    const std::string valid = ValidUtf8(text);
    if (valid.find_first_of(",\"\r\n") == std::string::npos) {
        m_text += valid;
        return *this;
    }
    m_text += '"';
    for (char c : valid) {
        if (c == '"')
            m_text += '"';
        m_text += c;
    }
    m_text += '"';
    return *this;
}

CsvRow& CsvRow::Add(double value) {
    Separate();
    if (std::isfinite(value))
        m_text += NumberText(value);
    return *this;
}

CsvRow& CsvRow::Add(int value) {
    Separate();
    m_text += std::to_string(value);
    return *this;
}

CsvRow& CsvRow::AddEmpty() {
    Separate();
    return *this;
}
