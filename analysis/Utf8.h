#pragma once
// Checks and repairs of UTF-8 text (RFC 3629: no stray continuation bytes, no truncated,
// overlong or surrogate sequences, nothing above U+10FFFF).
// Threads: the functions may be called from any thread.

#include <string>
#include <string_view>

// True when the bytes are well-formed UTF-8.
bool IsUtf8(std::string_view text);

// The text with each byte that does not belong to a well-formed sequence replaced by U+FFFD
// (the replacement character); well-formed text comes back unchanged.
std::string ValidUtf8(std::string_view text);
