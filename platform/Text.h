// Small text helpers shared by the core.
#pragma once

#include <string>
#include <string_view>

namespace quorlin {

/// printf-style formatting into a std::string.
std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
/// The text with 'A'..'Z' turned into 'a'..'z' (no locale).
std::string LowerAscii(std::string_view text);
/// Appends n as "%.5d" prints it: at least five digits, zero-filled.
void AppendLineNumber(std::string& out, int n);

/// The text without blanks (the space character) at both ends.
std::string TrimBlanks(std::string_view text);

} // namespace quorlin
