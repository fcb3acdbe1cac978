#include "app/JsonReport.h"

#include "app/FolderCompare.h"
#include "listing/Listing.h"

#include <cstdio>

namespace quorlin {

namespace {

/// Length of the UTF-8 sequence starting at text[i], or 0 when it is not one.
size_t Utf8Length(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b = byte(i);
  size_t n = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b <= 0xDF ? 2 : 0;
  if (n == 0 || i + n > text.size()) return 0;
  for (size_t k = 1; k < n; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  // No overlong three- or four-byte forms, no surrogates, nothing past U+10FFFF.
  if (n == 3 && ((b == 0xE0 && byte(i + 1) < 0xA0) || (b == 0xED && byte(i + 1) >= 0xA0))) return 0;
  if (n == 4 && ((b == 0xF0 && byte(i + 1) < 0x90) || (b == 0xF4 && byte(i + 1) >= 0x90))) return 0;
  return n;
}

std::string Number(long long n) { return std::to_string(n); }

const char* KindOf(std::string_view id) {
  if (id == "I -") return "insert";
  if (id == "D -") return "delete";
  if (id == "RN-") return "reformat-new";
  if (id == "RO-") return "reformat-old";
  if (id == "IM-") return "moved-insert";
  if (id == "DM-") return "moved-delete";
  if (id == "XN-") return "dupe-new";
  if (id == "XO-") return "dupe-old";
  if (id == "XR-") return "dupe-reformat";
  return "other";
}

std::string LineOrNull(long n) { return n > 0 ? std::to_string(n) : "null"; }

} // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
      ++i;
    } else if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
      ++i;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
    } else if (const size_t n = Utf8Length(text, i); n > 0) {
      out.append(text.substr(i, n));
      i += n;
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
      ++i;
    }
  }
  return out + "\"";
}

std::string JsonChange(std::string_view id, long newLine, long oldLine) {
  return "{\"id\": " + JsonString(id) + ", \"kind\": \"" + KindOf(id) + "\", \"new_line\": " + LineOrNull(newLine) +
         ", \"old_line\": " + LineOrNull(oldLine) + "}";
}

std::string JsonCounts(const TCompareCtl& c) {
  // The counts as the statistics section shows them.
  const bool clnc = c.OptClnc;
  const long long paired = clnc ? 0 : c.PairedCount;
  std::string counts = "{";
  auto count = [&](const char* key, const std::string& value) {
    if (counts.size() > 1) counts += ", ";
    counts += std::string("\"") + key + "\": " + value;
  };
  auto orNull = [&](bool shown, long long value) { return shown ? Number(value) : std::string("null"); };
  count("matches", Number(c.MatchCount));
  count("reformatted", Number(c.ReformCount));
  count("inserted", Number(c.InsertCount));
  count("deleted", Number(c.DeleteCount));
  count("total_changes", orNull(!clnc, (long long)c.ReformCount + c.InsertCount + c.DeleteCount - paired));
  count("paired_changes", orNull(!clnc, (long long)c.ReformCount + paired));
  count("non_paired_inserts", orNull(!clnc, (long long)c.InsertCount - paired));
  count("non_paired_deletes", orNull(!clnc, (long long)c.DeleteCount - paired));
  count("new_processed", Number((long long)c.NewLinesTotal - c.NewNotProcCount));
  count("old_processed", Number((long long)c.OldLinesTotal - c.OldNotProcCount));
  count("new_not_processed", Number(c.NewNotProcCount));
  count("old_not_processed", Number(c.OldNotProcCount));
  count("new_part_dp", Number(c.NewPartDpCount));
  count("old_part_dp", Number(c.OldPartDpCount));
  count("moved", orNull(!clnc && c.OptFmvl, c.MovedCount));
  count("new_dupes", orNull(clnc, c.NewDupeCount));
  count("old_dupes", orNull(clnc, c.OldDupeCount));
  count("new_blank", orNull(clnc, c.NewBlankCount));
  count("old_blank", orNull(clnc, c.OldBlankCount));
  counts += "}";
  return counts;
}

std::string JsonRunSummary(const TAppState& app, int exitStatus) {
  static const TCompareCtl none;
  const TCompareCtl& c = app.CompareCtl ? *app.CompareCtl : none;
  std::string options = app.Controls.MnlblOptsUsed;
  while (!options.empty() && options.back() == ' ') options.pop_back();
  const bool clnc = c.OptClnc;
  auto file = [&](const std::string& name, long long size, long long lines, long long bytes, int longest) {
    return "{\"name\": " + JsonString(name) + ", \"size\": " + Number(size) + ", \"lines\": " + Number(lines) +
           ", \"compared_bytes\": " + Number(bytes) + ", \"longest_line\": " + Number(longest) + "}";
  };
  const std::string counts = JsonCounts(c);
  std::string warnings = "[";
  for (const std::string& line : RunWarnings(c)) warnings += (warnings.size() > 1 ? ", " : "") + JsonString(line);
  warnings += "]";

  return "{\n  \"exit_status\": " + Number(exitStatus) + ",\n  \"result\": " + JsonString(app.StatusText) +
         ",\n  \"listing_type\": " + JsonString(c.ListTypeName.empty() ? app.Controls.MnCbListType : c.ListTypeName) + ",\n  \"options\": " + JsonString(options) +
         ",\n  \"unordered\": " + (clnc ? "true" : "false") + ",\n  \"passes\": " + Number(c.Passes) +
         ",\n  \"new_file\": " +
         file(app.Controls.MnCbNewFileNm, c.NewFileSize, c.NewLinesTotal, c.NewTotalBytes, c.NewLongest) +
         ",\n  \"old_file\": " +
         file(app.Controls.MnCbOldFileNm, c.OldFileSize, c.OldLinesTotal, c.OldTotalBytes, c.OldLongest) +
         ",\n  \"counts\": " + counts + ",\n  \"warnings\": " + warnings;
}

std::string JsonFolderResult(const TFolderResult& result) {
  std::string out = "{\n  \"exit_status\": " + Number(result.ExitStatus()) +
                    ",\n  \"result\": " + JsonString(FolderStatusText(result)) +
                    ",\n  \"new_folder\": " + JsonString(result.NewRoot) +
                    ",\n  \"old_folder\": " + JsonString(result.OldRoot) + ",\n  \"pairs\": [";
  for (size_t k = 0; k < result.Pairs.size(); ++k) {
    const TFolderPair& pair = result.Pairs[k];
    out += std::string(k == 0 ? "\n" : ",\n") + "    {\"path\": " + JsonString(pair.Path) + ", \"status\": \"" +
           PairStatusKey(pair.Status) + "\", \"counts\": " + (pair.Ctl ? JsonCounts(*pair.Ctl) : "null") +
           ", \"message\": " + (pair.Message.empty() ? "null" : JsonString(pair.Message)) + "}";
  }
  out += result.Pairs.empty() ? "]" : "\n  ]";
  const TFolderTotals t = result.Totals();
  out += ",\n  \"totals\": {\"files\": " + Number(static_cast<long long>(result.Pairs.size()));
  for (int s = 0; s < PairStatusCount; ++s)
    out += std::string(", \"") + PairStatusKey(static_cast<TPairStatus>(s)) + "\": " + Number(t.Pairs[static_cast<size_t>(s)]);
  out += ", \"inserted\": " + Number(t.Inserted) + ", \"deleted\": " + Number(t.Deleted) +
         ", \"reformatted\": " + Number(t.Reformatted) +
         ", \"moved\": " + (t.MovedCounted ? Number(t.Moved) : std::string("null")) + "}";
  out += ",\n  \"halted\": " + std::string(result.Halted ? "true" : "false") + ",\n  \"notes\": [";
  for (size_t k = 0; k < result.Notes.size(); ++k) out += (k == 0 ? "" : ", ") + JsonString(result.Notes[k]);
  return out + "]\n}\n";
}

} // namespace quorlin
