#include "tools/JsonLine.h"

#include "analysis/Utf8.h"

#include <cmath>
#include <cstdio>

void JsonLine::Separate() {
    if (!m_first)
        m_text += ", ";
    m_first = false;
}

JsonLine& JsonLine::Key(const std::string& key) {
    Separate();
    Value(key);
    m_text += ": ";
    m_first = true; // the value follows without a separator
    return *this;
}

std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

JsonLine& JsonLine::Value(double value) {
    if (!std::isfinite(value))
        return Null();
    m_text += NumberText(value);
    m_first = false;
    return *this;
}

JsonLine& JsonLine::Value(int value) {
    m_text += std::to_string(value);
    m_first = false;
    return *this;
}

JsonLine& JsonLine::Value(const std::string& text) {
    m_text += '"';
    for (unsigned char c : ValidUtf8(text)) {
        switch (c) {
        case '"':
            m_text += "\\\"";
            break;
        case '\\':
            m_text += "\\\\";
            break;
        case '\n':
            m_text += "\\n";
            break;
        case '\r':
            m_text += "\\r";
            break;
        case '\t':
            m_text += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                m_text += escape;
            } else {
                m_text += static_cast<char>(c);
            }
        }
    }
    m_text += '"';
    m_first = false;
    return *this;
}

JsonLine& JsonLine::Null() {
    m_text += "null";
    m_first = false;
    return *this;
}

JsonLine& JsonLine::Array(const std::vector<double>& values) {
    m_text += '[';
    m_first = true;
    for (double v : values) {
        Separate();
        Value(v);
    }
    m_text += ']';
    m_first = false;
    return *this;
}

JsonLine& JsonLine::BeginObject() {
    m_text += '{';
    m_first = true;
    return *this;
}

JsonLine& JsonLine::EndObject() {
    m_text += '}';
    m_first = false;
    return *this;
}

std::string JsonLine::Text() const {
    return "{" + m_text + "}";
}
