#include "state/Tokenizer.h"

#include <gtest/gtest.h>

namespace quorlin {
namespace {

using Tokens = std::vector<std::string>;

TEST(Tokenizer, Cases) {
  struct Case {
    const char* Name;
    std::string Text;
    Tokens Expected;
  } cases[] = {
      {"plain and quoted", "abc 1:5 \"bcd e\" 20:eol", {"abc", "1:5", "bcd e", "20:eol"}},
      {"doubled quote inside quotes", "\"say \"\"hi\"\"\" x", {"say \"hi\"", "x"}},
      {"two quotes alone are an empty token", "\"\" 1:eol", {"", "1:eol"}},
      {"comment after a token", "abc // note", {"abc"}},
      {"double slash inside a token", "abc//x", {"abc//x"}},
      {"comment only", "  // all of it", {}},
      {"unclosed quote keeps its opening quote", "\"abc def", {"\"abc def"}},
      {"outer blanks and tabs ignored", " \t abc  def \t ", {"abc", "def"}},
      {"tab inside a token is kept", "a\tb c", {"a\tb", "c"}},
      {"quote inside an unquoted token is a character", "ab\"c d", {"ab\"c", "d"}},
      {"closing quote separates", "\"ab\"cd", {"ab", "cd"}},
      {"empty text", "", {}},
      {"blank text", "    ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseParmTokens(c.Text), c.Expected) << c.Name;
}

} // namespace
} // namespace quorlin
