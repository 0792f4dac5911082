#pragma once
// Builds one row of a CSV file as RFC 4180 has it: fields separated by commas, a field that
// holds a comma, a double quote, CR or LF enclosed in double quotes with its quotes doubled,
// the row ended by CRLF. Text is written as valid UTF-8 (as JsonLine does); numbers as in the
// JSON output (17 significant digits), and a number that is not finite as an empty field.

#include <string>

class CsvRow {
public:
    CsvRow& Add(const std::string& text);
    CsvRow& Add(double value);
    CsvRow& Add(int value);
    CsvRow& AddEmpty();

    // The row with its CRLF.
    std::string Text() const { return m_text + "\r\n"; }

private:
    void Separate();
    std::string m_text;
    bool m_first = true;
};
