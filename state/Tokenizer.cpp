#include "state/Tokenizer.h"

namespace quorlin {

namespace {
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }
} // namespace

std::vector<std::string> ParseParmTokens(std::string_view text) {
  std::vector<std::string> tokens;
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);

  while (!text.empty()) {
    if (text.substr(0, 2) == "//") break;
    std::string token;
    if (text.front() != '"') {
      size_t end = text.find(' ');
      if (end == std::string_view::npos) end = text.size();
      token.assign(text.substr(0, end));
      text.remove_prefix(end);
    } else {
      size_t p = 1;
      bool closed = false;
      while (p < text.size()) {
        if (text[p] == '"') {
          if (p + 1 < text.size() && text[p + 1] == '"') {
            token += '"';
            p += 2;
            continue;
          }
          closed = true;
          break;
        }
        token += text[p++];
      }
      if (closed) {
        text.remove_prefix(p + 1); // the closing quote counts as a blank
      } else {
        token.insert(token.begin(), '"');
        text = {};
      }
    }
    tokens.push_back(std::move(token));
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  }
  return tokens;
}

} // namespace quorlin
