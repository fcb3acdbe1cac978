// Date and time texts in the formats of the current locale.
#pragma once

#include <ctime>
#include <string>

namespace quorlin {

/// Short date, one blank, time with seconds ("%x %X" of the current locale).
std::string FormatDateTime(std::time_t t);
/// FormatDateTime of now.
std::string NowText();
/// FormatDateTime of the file's last modification; empty when it has none.
std::string FileTimeText(const std::string& path);

} // namespace quorlin
