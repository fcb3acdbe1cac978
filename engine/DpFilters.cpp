#include "engine/DpFilters.h"

#include "state/Tokenizer.h"
#include "engine/PassReader.h"
#include "platform/Text.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorlin {

namespace {

inline char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

/// First position of needle in text[from, limit] (limit: last start index),
/// comparing text in lower case when fold is set; -1 when not found. An empty
/// needle is never found.
int Find(const char* text, int len, std::string_view needle, bool fold, int from = 0,
         int limit = -1) {
  const int k = static_cast<int>(needle.size());
  if (k == 0 || k > len) return -1;
  int last = len - k;
  if (limit >= 0 && limit < last) last = limit;
  for (int i = from; i <= last; ++i) {
    int j = 0;
    if (fold)
      while (j < k && Lower(text[i + j]) == needle[static_cast<size_t>(j)]) ++j;
    else
      while (j < k && text[i + j] == needle[static_cast<size_t>(j)]) ++j;
    if (j == k) return i;
  }
  return -1;
}

bool AllBlank(const char* text, int n) {
  for (int i = 0; i < n; ++i)
    if (text[i] != ' ') return false;
  return true;
}

void Classify(TLineEntry& e, int n) {
  if (AllBlank(e.Text, n)) {
    e.NotProcessed = true;
    e.PartDp = false;
  } else {
    e.PartDp = true;
  }
}

inline char At(const char* t, int n, int i) { return i < n ? t[i] : ' '; }

void RuleDsem(TLineEntry& e, int n) {
  int i = 0;
  while (i < n && e.Text[i] == ' ') ++i;
  if (i < n && e.Text[i] == ';') MarkComment(e, i, n);
}

// A line whose text from its first non-blank character is "rem" followed by
// at least one more character, or "@rem" followed by one, is a remark.
void RuleDrem(TLineEntry& e, int n) {
  int i = 0;
  while (i < n && e.Text[i] == ' ') ++i;
  int k = (i < n && e.Text[i] == '@') ? i + 1 : i;
  if (k + 3 < n && std::memcmp(e.Text + k, "rem", 3) == 0) MarkComment(e, i, n);
}

// C++, Java and JavaScript: "//" line comments and "/* */" blocks, outside
// string and character literals. A block comment's content is opaque: quotes
// and "//" inside it mean nothing.
/// The first index in [from, n) of a byte that can change the Dcpp scan
/// outside strings and comments ('/', '"', apostrophe, backslash), or n.
int NextCppSpecial(const char* t, int from, int n) {
  int i = from;
#if defined(__SSE2__)
  const __m128i slash = _mm_set1_epi8('/'), quote = _mm_set1_epi8('"'), apostrophe = _mm_set1_epi8('\''),
                backslash = _mm_set1_epi8('\\');
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, slash), _mm_cmpeq_epi8(v, quote)),
                                     _mm_or_si128(_mm_cmpeq_epi8(v, apostrophe), _mm_cmpeq_epi8(v, backslash)));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
    if (mask != 0) return i + __builtin_ctz(mask);
  }
#endif
  for (; i < n; ++i)
    if (t[i] == '/' || t[i] == '"' || t[i] == '\'' || t[i] == '\\') return i;
  return n;
}

void RuleDcpp(TCompareFile& f, TLineEntry& e, int n) {
  const char* t = e.Text;
  bool inString = f.InString;
  bool inBlock = !inString && f.InCBlock;
  f.InString = false;
  f.InCBlock = false;
  int blockStart = 0;
  // Outside strings and comments only the special bytes matter: the bytes
  // before the first of them change nothing.
  const int first = inString || inBlock ? 0 : NextCppSpecial(t, 0, n);
  for (int i = first; i < n; ++i) {
    const char ch = t[i];
    const char next = At(t, n, i + 1);
    if (inBlock) {
      if (ch == '*' && next == '/') {
        MarkBlock(e, blockStart, i + 2, n);
        inBlock = false;
        ++i;
      }
      continue;
    }
    if (inString) {
      if (ch == '\\')
        ++i;
      else if (ch == '"')
        inString = false;
      continue;
    }
    if (ch == '/' && next == '/') {
      MarkComment(e, i, n);
      return;
    }
    if (ch == '/' && next == '*') {
      inBlock = true;
      blockStart = i;
      ++i;
    } else if (ch == '"') {
      inString = true;
    } else if (ch == '\'') {
      // Character literal (or JavaScript string): runs to the next unescaped
      // apostrophe on this line.
      for (++i; i < n && t[i] != '\''; ++i)
        if (t[i] == '\\') ++i;
    } else if (ch == '\\') {
      ++i;
    }
  }
  if (inBlock) {
    MarkComment(e, blockStart, n);
    f.InCBlock = true;
  } else if (inString) {
    f.InString = true;
  }
}

// Pascal: "(* *)" and "{ }" comments, strings in apostrophes; "{$" is a
// compiler directive, not a comment. With lineComments (Ddl2) "//" starts a
// comment to the end of the line and "{$" ends the scan of the line.
void RulePascal(TCompareFile& f, TLineEntry& e, int n, bool lineComments) {
  const char* t = e.Text;
  bool inParen = f.InParenComment;
  bool inBrace = f.InBraceComment;
  f.InParenComment = false;
  f.InBraceComment = false;
  bool inString = false;
  int start = 0;
  for (int i = 0; i < n; ++i) {
    const char ch = t[i];
    const char next = At(t, n, i + 1);
    if (inParen) {
      if (ch == '*' && next == ')') {
        MarkBlock(e, start, i + 2, n);
        inParen = false;
        ++i;
      }
      continue;
    }
    if (inBrace) {
      if (ch == '}') {
        MarkBlock(e, start, i + 1, n);
        inBrace = false;
      }
      continue;
    }
    if (ch == '\'') {
      inString = !inString;
      continue;
    }
    if (inString) continue;
    if (lineComments && ch == '/' && next == '/') {
      MarkComment(e, i, n);
      return;
    }
    if (ch == '(' && next == '*') {
      inParen = true;
      start = i;
      ++i;
    } else if (ch == '{') {
      if (next == '$') {
        if (lineComments) return;
        continue;
      }
      inBrace = true;
      start = i;
    }
  }
  if (inParen || inBrace) {
    MarkComment(e, start, n);
    f.InParenComment = inParen;
    f.InBraceComment = inBrace;
  }
}

// The VB statement keyword that makes the rest of a line a remark.
constexpr std::string_view VbRemKeyword = "rem";

// Visual Basic: an apostrophe outside a string, a backslash outside a string,
// or the Rem statement (at the start of the line or after a ':') starts a
// comment to the end of the line.
void RuleDvbc(TLineEntry& e, int n) {
  const char* t = e.Text;
  bool inString = false;
  int stmtStart = 0; // index of the ':' before the current statement, or 0
  bool onlyBlanks = true;
  for (int i = 0; i < n; ++i) {
    const char ch = t[i];
    if (ch == '"') {
      inString = !inString;
      onlyBlanks = false;
      continue;
    }
    if (inString) continue;
    if (ch == '\'' || ch == '\\') {
      MarkComment(e, i, n);
      return;
    }
    if (ch == ':') {
      stmtStart = i;
      onlyBlanks = true;
      continue;
    }
    if (ch == ' ') continue;
    if (onlyBlanks && i + 3 <= n && Lower(t[i]) == VbRemKeyword[0] &&
        Lower(t[i + 1]) == VbRemKeyword[1] && Lower(t[i + 2]) == VbRemKeyword[2] &&
        At(t, n, i + 3) == ' ') {
      MarkComment(e, stmtStart, n);
      return;
    }
    onlyBlanks = false;
  }
}

void RuleDhtm(TCompareFile& f, TLineEntry& e, int n) {
  const char* t = e.Text;
  bool inComment = f.InHtmlComment;
  f.InHtmlComment = false;
  int start = 0;
  for (int i = 0; i < n; ++i) {
    if (!inComment) {
      if (t[i] == '<' && i + 4 <= n && std::memcmp(t + i, "<!--", 4) == 0) {
        // The scan goes on inside the opener, so "<!-->" and "<!--->" close
        // at once, as HTML readers take them.
        inComment = true;
        start = i;
      }
    } else if (t[i] == '-' && i + 3 <= n && std::memcmp(t + i, "-->", 3) == 0) {
      MarkBlock(e, start, i + 3, n);
      inComment = false;
      i += 2;
    }
  }
  if (inComment) {
    MarkComment(e, start, n);
    f.InHtmlComment = true;
  }
}

void RuleDudc(const TCompareCtl& ctl, TLineEntry& e, int n) {
  int at = Find(e.Text, n, ctl.UdcText, true);
  if (at < 0) return;
  MarkComment(e, at, n);
  if (e.PartDp && ctl.UdcNo) e.PartDp = false;
}

void RuleDud2(const TCompareCtl& ctl, TLineEntry& e, int n) {
  int at = Find(e.Text, n, ctl.Udc2Text, true);
  if (at >= 0) {
    MarkComment(e, at, n);
    e.PartDp = false;
    return;
  }
  at = Find(e.Text, n, ctl.Udc3Text, true);
  if (at >= 0) MarkComment(e, at, n);
}

} // namespace

void MarkComment(TLineEntry& e, int start, int n) {
  if (start < n) std::memset(e.Text + start, ' ', static_cast<size_t>(n - start));
  e.NotProcessed = false;
  Classify(e, n);
}

void MarkBlock(TLineEntry& e, int start, int end, int n) {
  if (end > n) end = n;
  if (start < end) std::memset(e.Text + start, ' ', static_cast<size_t>(end - start));
  Classify(e, n);
}

void ApplyDpOption(const TCompareCtl& ctl, TCompareFile& f, TLineEntry& e, int n) {
  if (AllBlank(e.Text, n)) {
    e.NotProcessed = true;
    return;
  }
  if (ctl.DpDsem)
    RuleDsem(e, n);
  else if (ctl.DpDrem)
    RuleDrem(e, n);
  else if (ctl.DpDcpp)
    RuleDcpp(f, e, n);
  else if (ctl.DpDdlc)
    RulePascal(f, e, n, false);
  else if (ctl.DpDdl2)
    RulePascal(f, e, n, true);
  else if (ctl.DpDvbc)
    RuleDvbc(e, n);
  else if (ctl.DpDhtm)
    RuleDhtm(f, e, n);
  else if (ctl.DpDudc)
    RuleDudc(ctl, e, n);
  else if (ctl.DpDud2)
    RuleDud2(ctl, e, n);
  // Dblk takes out blank lines only; Dcob works at read time.
}

void ApplyDps(const TCompareCtl& ctl, TLineEntry& e) {
  const int n = CompareTextLen(ctl, e);
  const struct {
    bool On;
    const std::string& Text;
  } filters[] = {{ctl.Dps1On, ctl.Dps1Text}, {ctl.Dps2On, ctl.Dps2Text}, {ctl.Dps3On, ctl.Dps3Text}};
  for (const auto& dps : filters) {
    if (!dps.On || e.NotProcessed) continue;
    int at = Find(e.Text, n, dps.Text, true);
    if (at < 0) continue;
    const int k = static_cast<int>(dps.Text.size());
    if (AllBlank(e.Text, at) && AllBlank(e.Text + at + k, n - at - k)) {
      e.NotProcessed = true;
      e.PartDp = false;
    }
  }
}

void ApplyDln(const std::vector<DlnCondition>& conditions, TLineEntry& e, bool icas) {
  std::string folded;
  for (const DlnCondition& condition : conditions) {
    for (const DlnAlternative& alt : condition) {
      std::string_view needle = alt.Text;
      if (icas) {
        folded.assign(alt.Text);
        for (char& c : folded) c = Lower(c);
        needle = folded;
      }
      int limit = alt.Last > 0 ? alt.Last - 1 : -1;
      if (Find(e.Text, e.TextLen, needle, icas, alt.First - 1, limit) >= 0) {
        e.NotProcessed = true;
        return;
      }
    }
  }
}

bool ParseDlnSpec(std::string_view text, std::vector<DlnCondition>& conditions) {
  std::vector<std::string> tokens = ParseParmTokens(text);
  if (tokens.size() == 1) tokens.emplace_back("1:eol");
  bool accepted = false;
  for (size_t i = 0; i + 1 < tokens.size(); i += 2) {
    const std::string& range = tokens[i + 1];
    size_t colon = range.find(':');
    if (colon == std::string::npos) break;
    DlnAlternative alt;
    alt.Text = tokens[i];
    alt.First = IntOrZero(std::string_view(range).substr(0, colon));
    const std::string lastText = LowerAscii(TrimBlanks(range.substr(colon + 1)));
    if (lastText == "eol") {
      alt.Last = 0;
    } else {
      // A column number; anything else (also nothing) is -1 and rejects the pair.
      const bool digits = !lastText.empty() && lastText.find_first_not_of("0123456789") == std::string::npos;
      alt.Last = digits ? IntOrZero(lastText) : -1;
    }
    // An empty string would take out every line: never accepted.
    if (alt.Text.empty() || alt.First < 1 || alt.Last < 0 || (alt.Last != 0 && alt.Last < alt.First))
      continue;
    if (!accepted) conditions.emplace_back();
    conditions.back().push_back(std::move(alt));
    accepted = true;
  }
  return accepted;
}

uint8_t SaveCarry(const TCompareFile& f) {
  return static_cast<uint8_t>(f.InString | f.InCBlock << 1 | f.InParenComment << 2 |
                              f.InBraceComment << 3 | f.InHtmlComment << 4);
}

void RestoreCarry(TCompareFile& f, uint8_t carry) {
  f.InString = carry & 1;
  f.InCBlock = carry & 2;
  f.InParenComment = carry & 4;
  f.InBraceComment = carry & 8;
  f.InHtmlComment = carry & 16;
}

} // namespace quorlin
