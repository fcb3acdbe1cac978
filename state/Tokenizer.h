// Splits an operand text into blank-separated tokens; used by the batch
// statement decoder and the Dln condition parser.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

/// Splits text into tokens (ParmTokens). The text is first trimmed of every
/// character with a code of 32 or less at both ends. Tokens are separated by
/// blanks (the space character only); a token that begins with a double quote
/// runs to the next single double quote and may hold blanks, a doubled double
/// quote inside it standing for one double quote; a quoted token without a
/// closing quote runs to the end of the text and keeps its opening quote.
/// "//" at the start of a token makes the rest of the text a comment. A
/// double quote inside an unquoted token is an ordinary character.
std::vector<std::string> ParseParmTokens(std::string_view text);

} // namespace quorlin
