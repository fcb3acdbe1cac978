// Fuzz target: the operand tokenizer (ParseParmTokens), the Dln parser
// (ParseDlnSpec) with the Dln rule on a line, and the batch operand
// decoders (DecodeDpop, DecodePref).
//
// Input: an operand text, optionally followed by "\n" and a line for the
// Dln conditions to test.
//
// What holds:
// - every token list survives quoting: each token written between double
//   quotes (a double quote inside doubled), the tokens joined by one blank,
//   parses back to the same tokens;
// - plain tokens (not empty, no blank, not starting with a double quote or
//   "//", no control character or blank at either end) joined by one blank
//   parse back to the same tokens without quotes;
// - ParseDlnSpec adds one condition exactly when it accepts the text, every
//   alternative has a string, a first column of at least 1 and a last column
//   of 0 (end of line) or not before the first; the condition written back as
//   "STRING FIRST:LAST" pairs parses to the same condition;
// - the decoders return no error or their own error text (a "dps" operand
//   without its string may throw TParmException).
#include "FuzzSupport.h"

#include "app/BatchJob.h"
#include "engine/DpFilters.h"
#include "platform/FrontEnd.h"
#include "state/Tokenizer.h"

#include <cstring>
#include <memory>

using namespace quorlin;
using namespace quorlin::fuzz;

namespace {

std::string Quoted(const std::string& token) {
  std::string out = "\"";
  for (char c : token) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (size_t k = 0; k < items.size(); ++k) out += (k > 0 ? " " : "") + items[k];
  return out;
}

bool Plain(const std::string& token) {
  if (token.empty() || token.find(' ') != std::string::npos || token[0] == '"' || token.rfind("//", 0) == 0)
    return false;
  return static_cast<unsigned char>(token.front()) > 32 && static_cast<unsigned char>(token.back()) > 32;
}

/// The condition as "STRING FIRST:LAST" pairs.
std::string ConditionText(const DlnCondition& condition) {
  std::string out;
  for (const DlnAlternative& alt : condition)
    out += std::string(out.empty() ? "" : " ") + Quoted(alt.Text) + " " + std::to_string(alt.First) + ":" +
           (alt.Last == 0 ? "eol" : std::to_string(alt.Last));
  return out;
}

void CheckTokens(const std::string& text) {
  const std::vector<std::string> tokens = ParseParmTokens(text);
  std::vector<std::string> quoted;
  for (const std::string& t : tokens) quoted.push_back(Quoted(t));
  FUZZ_CHECK(ParseParmTokens(Join(quoted)) == tokens, "quoted tokens of '" + text + "' parse otherwise");
  bool plain = true;
  for (const std::string& t : tokens) plain = plain && Plain(t);
  if (plain) FUZZ_CHECK(ParseParmTokens(Join(tokens)) == tokens, "plain tokens of '" + text + "' parse otherwise");
}

void CheckDln(const std::string& text, const std::string& line) {
  std::vector<DlnCondition> conditions;
  const bool accepted = ParseDlnSpec(text, conditions);
  FUZZ_CHECK(conditions.size() == (accepted ? 1u : 0u), "conditions added for '" + text + "'");
  if (!accepted) return;
  const std::string written = ConditionText(conditions[0]);
  for (const DlnAlternative& alt : conditions[0])
    FUZZ_CHECK(!alt.Text.empty() && alt.First >= 1 && (alt.Last == 0 || alt.Last >= alt.First),
               "alternative of '" + text + "': " + written);
  std::vector<DlnCondition> again;
  FUZZ_CHECK(ParseDlnSpec(written, again) && again.size() == 1, "written back: '" + written + "'");
  FUZZ_CHECK(ConditionText(again[0]) == written,
             "'" + text + "' gives " + written + ", written back " + ConditionText(again[0]));

  // The rule on a line stored as the engine stores it: 4 bytes of room after
  // the text, nothing more.
  const size_t len = std::min<size_t>(line.size(), 2048);
  std::unique_ptr<char[]> buffer(new char[len + 4]());
  std::memcpy(buffer.get(), line.data(), len);
  TLineEntry entry;
  entry.Text = buffer.get();
  entry.TextLen = static_cast<int16_t>(len);
  for (bool icas : {false, true}) {
    entry.NotProcessed = false;
    ApplyDln(conditions, entry, icas);
  }
}

void CheckDecoders(const std::string& text) {
  TSilentFrontEnd ui;
  TAppState app(ui);
  TBatchState batch;
  try {
    const std::string e = DecodeDpop(app, text);
    FUZZ_CHECK(e.empty() || e == ErrInvalidDpop, "dpop '" + text + "': " + e);
  } catch (const TParmException&) {
  }
  const std::string e = DecodePref(app, batch, text);
  FUZZ_CHECK(e.empty() || e == ErrInvalidPref, "pref '" + text + "': " + e);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\n');
  const std::string text = input.substr(0, cut);
  const std::string line = cut == std::string::npos ? text : input.substr(cut + 1);
  CheckTokens(text);
  CheckDln(text, line);
  CheckDecoders(text);
  return 0;
}
