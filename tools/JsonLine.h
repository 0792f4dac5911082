#pragma once
// Builds one JSON object on one line (JSON Lines). Keys are written in the order given.
// Doubles are written with 17 significant digits; a value that is not finite is null.
// Strings are written as valid UTF-8: a byte that is not part of a well-formed sequence (a
// file name in another encoding, a stray header byte) becomes U+FFFD.

#include <string>
#include <vector>

// A finite double as JSON writes it: 17 significant digits ("%.17g").
std::string NumberText(double value);

class JsonLine {
public:
    JsonLine& Key(const std::string& key);
    JsonLine& Value(double value);
    JsonLine& Value(int value);
    JsonLine& Value(const std::string& text);
    JsonLine& Null();
    JsonLine& Array(const std::vector<double>& values);
    JsonLine& BeginObject();
    JsonLine& EndObject();

    template <class T> JsonLine& Field(const std::string& key, const T& value) {
        return Key(key).Value(value);
    }

    // The finished object (the outermost braces are added here).
    std::string Text() const;

private:
    void Separate();
    std::string m_text;
    bool m_first = true;
};
