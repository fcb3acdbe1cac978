#include "app/UserSettings.h"

#include "app/BatchJob.h"
#include "app/OptionPanels.h"
#include "platform/AppDir.h"
#include "platform/OutputFile.h"
#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quorlin {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view SectionName = "Quorln32";
/// A settings file is small; anything larger is not one, and is neither read
/// nor rewritten.
constexpr size_t MaxIniBytes = 64u << 20;
/// Longer lines are damage: no key's value comes near this length.
constexpr size_t MaxLineLength = 8192;
/// Longest report file name kept from "OutFn".
constexpr size_t MaxOutFnLength = 149;

/// The viewers whose geometry is kept: key prefix and digit, and where.
struct TViewerKey {
  const char* Prefix;
  char Digit;
  TViewerGeometry TUserSettings::*Geometry;
};
constexpr std::array<TViewerKey, 3> ViewerKeys{{
    {"VL", '1', &TUserSettings::Single},
    {"VL", '2', &TUserSettings::Dual},
    {"VH", '2', &TUserSettings::Horizontal},
}};

/// The geometry keys in their order in the file ("VLTop1", "VLTop2",
/// "VHTop2", "VLHt1", ...).
struct TGeometryKey {
  const char* Name;
  std::string TViewerGeometry::*Field;
};
constexpr std::array<TGeometryKey, 4> GeometryKeys{{
    {"Top", &TViewerGeometry::Top},
    {"Ht", &TViewerGeometry::Height},
    {"Wide", &TViewerGeometry::Width},
    {"Left", &TViewerGeometry::Left},
}};

// ---------------------------------------------------------------- file text

enum class TReadResult { Ok, Missing, Failed };

/// Reads a whole regular file. Missing when nothing exists at path; Failed
/// (with a reason) when something is there but cannot be read as a file.
TReadResult ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason) {
  bytes.clear();
  // Non-blocking, so that a named pipe in place of the file cannot hang us.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return TReadResult::Missing;
    reason = std::strerror(errno);
    return TReadResult::Failed;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    reason = S_ISDIR(st.st_mode) ? "it is a directory" : "it is not a regular file";
    ::close(fd);
    return TReadResult::Failed;
  }
  if (static_cast<unsigned long long>(st.st_size) > MaxIniBytes) {
    reason = "it is too large for a settings file";
    ::close(fd);
    return TReadResult::Failed;
  }
  char buf[64 * 1024];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      reason = std::strerror(errno);
      ::close(fd);
      return TReadResult::Failed;
    }
    bytes.append(buf, static_cast<size_t>(n));
    if (bytes.size() > MaxIniBytes) {
      reason = "it is too large for a settings file";
      ::close(fd);
      return TReadResult::Failed;
    }
  }
  ::close(fd);
  return TReadResult::Ok;
}

/// Splits text at LF; one CR before the LF belongs to the line end. A final
/// LF does not start another line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

/// True when the text holds a control character other than tab: a value or
/// header carrying one is damage, and a value carrying a line break cannot
/// be stored in a line.
bool HasControlChar(std::string_view text) {
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if ((c < 0x20 && c != '\t') || c == 0x7F) return true;
  }
  return false;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

/// The name of a section header line "[name]"; nullopt for any other line.
std::optional<std::string> SectionOf(std::string_view line) {
  if (HasControlChar(line)) return std::nullopt;
  size_t open = line.find_first_not_of(' ');
  if (open == std::string_view::npos || line[open] != '[') return std::nullopt;
  size_t close = line.find(']', open);
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(open + 1, close - open - 1));
}

bool IsOurSection(const std::string& name) {
  return EqualNoCase(name, SectionName);
}

// ---------------------------------------------------------------- writing

/// Builds the text of our section, one "key=value" line per key, CR LF ends.
class TSectionWriter {
public:
  TSectionWriter() { Line("[" + std::string(SectionName) + "]"); }

  /// Writes a value so that reading gives it back unchanged: a value that
  /// the reading rule would alter (blanks at either end, or enclosing double
  /// quotes) is itself put between double quotes. A value with a line break
  /// cannot be stored; its key is left out.
  void Put(std::string_view key, std::string_view value) {
    if (HasControlChar(value)) return;
    bool guard =
        !value.empty() && (value.front() == ' ' || value.back() == ' ' ||
                           (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
    PutAsIs(key, guard ? "\"" + std::string(value) + "\"" : std::string(value));
  }

  /// Writes the value exactly as it is (Subc keeps its own quotes).
  void PutAsIs(std::string_view key, std::string_view value) {
    if (HasControlChar(value)) return;
    Line(std::string(key) + "=" + std::string(value));
  }

  void Put(std::string_view key, bool checked) { PutAsIs(key, checked ? "1" : "0"); }

  /// A combo's history as key0, key1, ...; the combo's current text is not
  /// part of its stored history.
  void History(std::string_view key, const std::vector<std::string>& items,
               const std::string& current) {
    int index = 0;
    for (const std::string& item : items) {
      if (item == current || HasControlChar(item)) continue;
      Put(std::string(key) + std::to_string(index++), item);
    }
  }

  const std::string& Text() const { return Out; }

private:
  void Line(const std::string& text) { Out += text + "\r\n"; }
  std::string Out;
};

std::string SectionText(const TAppState& app) {
  const TOptionControls& c = app.Controls;
  const TUserSettings& s = app.Settings;
  TSectionWriter w;
  w.Put("Top", s.Top);
  w.Put("Left", s.Left);
  w.Put("NewFileNm", c.MnCbNewFileNm);
  w.History("NFCombo", c.MnCbNewFileNmItems, c.MnCbNewFileNm);
  w.Put("OldFileNm", c.MnCbOldFileNm);
  w.History("OFCombo", c.MnCbOldFileNmItems, c.MnCbOldFileNm);
  w.History("FsNFCombo", c.FsTcNewFileNmItems, c.FsTcNewFileNm);
  w.History("FsOFCombo", c.FsTcOldFileNmItems, c.FsTcOldFileNm);
  w.Put("ListType", c.MnCbListType);
  w.Put("ViewResults", s.MnCkViewResults);
  w.PutAsIs("SubC", c.PrEdSubC);
  // Only the first character of the width is read back; the combo items
  // carry a blank before the digit.
  w.Put("XTab", TrimBlanks(c.PrCbXTab));
  w.Put("TurnOffHint", s.MnCkTurnOffHint);
  w.Put("NoWarnFilC", s.FsCkNoWarnNoFileChg);
  w.Put("OptsUsed", c.MnlblOptsUsed);
  for (const TGeometryKey& field : GeometryKeys)
    for (const TViewerKey& viewer : ViewerKeys)
      w.Put(viewer.Prefix + std::string(field.Name) + viewer.Digit,
            (s.*viewer.Geometry).*field.Field);
  w.Put("SpSplit", s.SpSplit);
  w.Put("SpSplit2", s.SpSplit2);
  w.Put("LBx1FontSz", s.LBx1FontSz);
  w.Put("Pr1FontSz", s.Pr1FontSz);
  w.Put("LBx2FontSz", s.LBx2FontSz);
  w.Put("Pr2FontSz", s.Pr2FontSz);
  w.Put("OutFn", s.OutFn);
  w.Put("DpEdUdc", c.DpEdUdc);
  w.Put("DpEdUdc2", c.DpEdUdc2);
  w.Put("DpEdUdc3", c.DpEdUdc3);
  w.Put("UdcYN", c.DpCbUdcYN);
  for (size_t i = 0; i < c.DpEdS.size(); ++i) w.Put("Dps" + std::to_string(i + 1), c.DpEdS[i]);
  for (size_t i = 0; i < c.PrEdCcolNw.size(); ++i)
    w.Put("CmpSt" + std::to_string(i + 1) + "Col", c.PrEdCcolNw[i]);
  for (size_t i = 0; i < c.PrEdCcolOd.size(); ++i)
    w.Put("CmpOSt" + std::to_string(i + 1) + "Col", c.PrEdCcolOd[i]);
  w.Put("PartNewLmt", c.PrEdNewLmt);
  w.Put("PartOldLmt", c.PrEdOldlmt);
  w.Put("SbsRp", std::to_string(s.SbsRp));
  for (size_t i = 0; i < c.DpCkDpDln.size(); ++i)
    w.Put("DpCkDpDLn" + std::to_string(i + 1), c.DpCkDpDln[i]);
  for (size_t i = 0; i < c.DpEdDpDln.size(); ++i)
    w.Put("DpEdDpDLn" + std::to_string(i + 1), c.DpEdDpDln[i]);
  // Kept besides the designed keys: the main window's size, the Chg Chars boxes.
  w.Put("Width", s.Width);
  w.Put("Height", s.Height);
  w.Put("ShowChgChars", s.ShowChgChars);
  return w.Text();
}

/// The file with every section of ours replaced by section: it takes the
/// place of the first one, or goes at the end. All other lines are kept in
/// their order.
std::string MergeSection(std::string_view oldText, const std::string& section) {
  std::string out;
  bool inOurs = false, placed = false;
  for (std::string_view line : SplitLines(oldText)) {
    if (std::optional<std::string> name = SectionOf(line)) {
      inOurs = IsOurSection(*name);
      if (inOurs && !placed) {
        out += section;
        placed = true;
      }
    }
    if (inOurs) continue;
    out.append(line);
    out += "\r\n";
  }
  if (!placed) out += section;
  return out;
}

/// Replaces the file by text through a new file beside it, so that a failed
/// write leaves the old file whole.
bool ReplaceFile(const fs::path& named, const std::string& text, std::string& reason) {
  const fs::path target = LinkTarget(named.string());
  const std::string temp = target.string() + ".new-" + std::to_string(::getpid());
  struct stat old {};
  mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  ::unlink(temp.c_str()); // left over by a run that was killed while saving
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      break;
    }
    done += static_cast<size_t>(n);
  }
  bool ok = done == text.size() && ::fsync(fd) == 0;
  if (!ok) reason = std::strerror(errno);
  if (::close(fd) != 0 && ok) {
    ok = false;
    reason = std::strerror(errno);
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    ok = false;
    reason = std::strerror(errno);
  }
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

// ---------------------------------------------------------------- reading

/// What a key line leaves for the steps after the whole file was read.
struct TLoad {
  TAppState& App;
  std::optional<std::string> OptsUsed;
  TOptionControls& C() { return App.Controls; }
  TUserSettings& S() { return App.Settings; }
};

using TReader = std::function<void(TLoad& load, const std::string& value)>;

struct TKey {
  std::string Name;
  TReader Read;
  bool Digit = false; ///< the key is Name followed by one digit (histories)
};

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

/// Yes/no values are "1" and "0"; any other value is unusable.
void ReadFlag(bool& field, const std::string& value) {
  if (value == "1") field = true;
  if (value == "0") field = false;
}

/// A history holds each name once; names of files that do not exist are
/// dropped once the whole file is read.
void ReadHistory(std::vector<std::string>& items, const std::string& value) {
  if (std::find(items.begin(), items.end(), value) == items.end()) items.push_back(value);
}

/// A compare-column range is taken only in its start:stop form.
std::string RangeOrEmpty(const std::string& value) {
  return value.find(':') != std::string::npos ? value : std::string();
}

std::vector<TKey> MakeKeyTable() {
  std::vector<TKey> keys;
  auto add = [&keys](std::string name, TReader read, bool digit = false) {
    keys.push_back({std::move(name), std::move(read), digit});
  };
  auto text = [&add](std::string name, std::string TOptionControls::*field) {
    add(std::move(name), [field](TLoad& l, const std::string& v) { l.C().*field = v; });
  };
  auto setting = [&add](std::string name, std::string TUserSettings::*field, size_t most) {
    add(std::move(name),
        [field, most](TLoad& l, const std::string& v) { l.S().*field = v.substr(0, most); });
  };
  auto flag = [&add](std::string name, bool TUserSettings::*field) {
    add(std::move(name), [field](TLoad& l, const std::string& v) { ReadFlag(l.S().*field, v); });
  };
  auto history = [&add](std::string name, std::vector<std::string> TOptionControls::*items) {
    add(
        std::move(name), [items](TLoad& l, const std::string& v) { ReadHistory(l.C().*items, v); },
        true);
  };
  auto number = [&add](std::string name, std::string TUserSettings::*field) {
    add(std::move(name), [field](TLoad& l, const std::string& v) {
      if (std::optional<int> n = ParseInt(v)) l.S().*field = std::to_string(*n);
    });
  };

  number("Top", &TUserSettings::Top);
  number("Left", &TUserSettings::Left);
  number("Width", &TUserSettings::Width);
  number("Height", &TUserSettings::Height);
  text("NewFileNm", &TOptionControls::MnCbNewFileNm);
  text("OldFileNm", &TOptionControls::MnCbOldFileNm);
  history("NFCombo", &TOptionControls::MnCbNewFileNmItems);
  history("OFCombo", &TOptionControls::MnCbOldFileNmItems);
  history("FsNFCombo", &TOptionControls::FsTcNewFileNmItems);
  history("FsOFCombo", &TOptionControls::FsTcOldFileNmItems);
  // In any letter case; a type the compare does not know loads as Chng.
  add("ListType", [](TLoad& l, const std::string& v) {
    const std::string type = ListTypeText(TrimBlanks(v));
    l.C().MnCbListType = KnownListType(type) ? type : "Chng";
  });
  flag("ViewResults", &TUserSettings::MnCkViewResults);
  // Normalised to a quoted character once the whole file is read.
  add("SubC", [](TLoad& l, const std::string& v) { l.C().PrEdSubC = v.substr(0, 1); });
  // The width is one digit; the compare can use no other.
  add("XTab", [](TLoad& l, const std::string& v) {
    if (!v.empty() && v[0] >= '1' && v[0] <= '8') l.C().PrCbXTab = v.substr(0, 1);
  });
  flag("TurnOffHint", &TUserSettings::MnCkTurnOffHint);
  flag("NoWarnFilC", &TUserSettings::FsCkNoWarnNoFileChg);
  flag("OmitIniSv", &TUserSettings::MnCkOmitIniSv);
  flag("ShowChgChars", &TUserSettings::ShowChgChars);
  add("OptsUsed", [](TLoad& l, const std::string& v) { l.OptsUsed = v; });
  for (const TViewerKey& viewer : ViewerKeys)
    for (const TGeometryKey& field : GeometryKeys)
      add(viewer.Prefix + std::string(field.Name) + viewer.Digit,
          [viewer, field](TLoad& l, const std::string& v) {
            (l.S().*viewer.Geometry).*field.Field = v.substr(0, 4);
          });
  setting("SpSplit", &TUserSettings::SpSplit, 4);
  setting("SpSplit2", &TUserSettings::SpSplit2, 4);
  setting("LBx1FontSz", &TUserSettings::LBx1FontSz, 2);
  setting("Pr1FontSz", &TUserSettings::Pr1FontSz, 2);
  setting("LBx2FontSz", &TUserSettings::LBx2FontSz, 2);
  setting("Pr2FontSz", &TUserSettings::Pr2FontSz, 2);
  // A cut name would name another file: a longer one is not taken.
  add("OutFn", [](TLoad& l, const std::string& v) {
    l.S().OutFn = v.substr(0, MaxOutFnLength);
  });
  text("DpEdUdc", &TOptionControls::DpEdUdc);
  // The compare recognises exactly "Yes" and "No".
  add("UdcYN", [](TLoad& l, const std::string& v) {
    if (EqualNoCase(v, "yes")) l.C().DpCbUdcYN = "Yes";
    if (EqualNoCase(v, "no")) l.C().DpCbUdcYN = "No";
  });
  text("DpEdUdc2", &TOptionControls::DpEdUdc2);
  text("DpEdUdc3", &TOptionControls::DpEdUdc3);
  for (size_t i = 0; i < 3; ++i)
    add("Dps" + std::to_string(i + 1), [i](TLoad& l, const std::string& v) { l.C().DpEdS[i] = v; });
  for (size_t i = 0; i < 4; ++i)
    add("CmpSt" + std::to_string(i + 1) + "Col",
        [i](TLoad& l, const std::string& v) { l.C().PrEdCcolNw[i] = RangeOrEmpty(v); });
  for (size_t i = 0; i < 4; ++i)
    add("CmpOSt" + std::to_string(i + 1) + "Col",
        [i](TLoad& l, const std::string& v) { l.C().PrEdCcolOd[i] = RangeOrEmpty(v); });
  // Files of older versions held one start and one stop column.
  add("CmpStCol", [](TLoad& l, const std::string& v) { l.C().PrEdCcolNw[0] = v; });
  add("CmpStopCol", [](TLoad& l, const std::string& v) {
    std::array<std::string, 4>& ranges = l.C().PrEdCcolNw;
    ranges[0] += ":" + v;
    ranges[1] = ranges[0];
  });
  text("PartNewLmt", &TOptionControls::PrEdNewLmt);
  text("PartOldLmt", &TOptionControls::PrEdOldlmt);
  add("SbsRp", [](TLoad& l, const std::string& v) {
    if (v == "0" || v == "1") l.S().SbsRp = v == "1" ? 1 : 0;
  });
  // Only "1" changes a Dln box; Load User Ini clears them all beforehand.
  for (size_t i = 0; i < 4; ++i)
    add("DpCkDpDLn" + std::to_string(i + 1), [i](TLoad& l, const std::string& v) {
      if (v == "1") l.C().DpCkDpDln[i] = true;
    });
  for (size_t i = 0; i < 4; ++i)
    add("DpEdDpDLn" + std::to_string(i + 1),
        [i](TLoad& l, const std::string& v) { l.C().DpEdDpDln[i] = v; });
  return keys;
}

/// The key of the table that a line's key names. A key is the whole text
/// before "=", so "SpSplit2" never reads as "SpSplit"; a history key takes
/// exactly one digit, so only entries 0 to 9 come back.
const TKey* FindKey(std::string_view key) {
  static const std::vector<TKey> table = MakeKeyTable();
  for (const TKey& k : table) {
    std::string_view name = k.Name;
    if (k.Digit) {
      if (key.size() == name.size() + 1 && EqualNoCase(key.substr(0, name.size()), name) &&
          key.back() >= '0' && key.back() <= '9')
        return &k;
    } else if (EqualNoCase(key, name)) {
      return &k;
    }
  }
  return nullptr;
}

/// The value of a key line: the text after "=" without blanks at either end,
/// then without one pair of enclosing double quotes.
std::string ValueOf(std::string_view text) {
  std::string value = TrimBlanks(text);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    value = value.substr(1, value.size() - 2);
  return value;
}

void ReadKeyLine(TLoad& load, std::string_view line) {
  if (line.size() > MaxLineLength || HasControlChar(line)) return;
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return;
  const TKey* key = FindKey(TrimBlanks(line.substr(0, eq)));
  if (key) key->Read(load, ValueOf(line.substr(eq + 1)));
}

/// Checks the boxes and selects the DP option named in a stored options
/// summary, which lists four-character names each followed by one blank.
/// Returns the summary of what was restored, "None" when nothing was.
std::string RestoreOptions(TOptionControls& c, std::string_view used) {
  std::string summary;
  if (!(used.size() >= 4 && EqualNoCase(used.substr(0, 4), "None"))) {
    for (size_t pos = 0; pos < used.size(); pos += 5) {
      const std::string name = LowerAscii(used.substr(pos, 4));
      std::string known;
      if (!name.empty() && name[0] == 'd') {
        for (int dp = DpDsem; dp < DpCount; ++dp)
          if (name == LowerAscii(DpNames[static_cast<size_t>(dp)])) {
            c.DpRadioGroup1 = dp;
            known = DpNames[static_cast<size_t>(dp)];
          }
        for (size_t k = 0; k < c.DpCkDpS.size(); ++k)
          if (name == "dps" + std::to_string(k + 1)) {
            c.DpCkDpS[k] = true;
            known = "Dps" + std::to_string(k + 1);
          }
        // The Dln boxes have keys of their own.
        if (name == "dpln") known = "Dpln";
      } else {
        for (TCheckBox& box : c.PrPanPreferences)
          if (name == LowerAscii(box.Caption)) {
            box.Checked = true;
            known = box.Caption;
          }
      }
      if (!known.empty()) summary += known + " ";
    }
  }
  summary = summary.substr(0, 255);
  while (!summary.empty() && summary.back() == ' ') summary.pop_back();
  return summary.empty() ? "None" : summary;
}

/// The Subc entry after loading: empty becomes a quoted dot, a three-character
/// text beginning with a double quote stays, anything else becomes its first
/// character between double quotes (so a saved quoted double quote comes back).
std::string NormaliseSubc(const std::string& text) {
  if (text.empty()) return "\".\"";
  if (text.size() == 3 && text.front() == '"') return text;
  return std::string("\"") + text.front() + "\"";
}

void DropMissingFiles(std::vector<std::string>& items) {
  std::erase_if(items, [](const std::string& name) { return !FileExists(name); });
}

} // namespace

bool SaveUserIni(TAppState& app, std::string& error) {
  error.clear();
  // A combo's current name is not part of its own history.
  TOptionControls& c = app.Controls;
  for (auto [items, current] : {std::pair{&c.MnCbNewFileNmItems, &c.MnCbNewFileNm},
                                {&c.MnCbOldFileNmItems, &c.MnCbOldFileNm},
                                {&c.FsTcNewFileNmItems, &c.FsTcNewFileNm},
                                {&c.FsTcOldFileNmItems, &c.FsTcOldFileNm}})
    std::erase(*items, *current);
  const std::string& name = app.Settings.FileName;
  if (name.empty()) {
    error = "No user settings file is known; pick one with Sv User Ini.";
    return false;
  }
  // Write through a link to the file it names, keeping the link.
  fs::path target = name;
  std::error_code ec;
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }

  std::string oldText, reason;
  if (ReadWholeFile(target.string(), oldText, reason) == TReadResult::Failed) {
    error =
        "Cannot save user settings to \"" + name + "\": " + reason + "; the file was not changed.";
    return false;
  }
  if (!ReplaceFile(target, MergeSection(oldText, SectionText(app)), reason)) {
    error = "Cannot save user settings to \"" + name + "\": " + reason + ".";
    return false;
  }
  return true;
}

bool LoadUserIni(TAppState& app) {
  std::string text, reason;
  if (app.Settings.FileName.empty() ||
      ReadWholeFile(app.Settings.FileName, text, reason) != TReadResult::Ok)
    return false;

  TLoad load{app, std::nullopt};
  bool inOurs = false, found = false;
  for (std::string_view line : SplitLines(text)) {
    if (std::optional<std::string> name = SectionOf(line)) {
      inOurs = IsOurSection(*name);
      found = found || inOurs;
    } else if (inOurs) {
      ReadKeyLine(load, line);
    }
  }
  if (!found) return true;

  TOptionControls& c = app.Controls;
  DropMissingFiles(c.MnCbNewFileNmItems);
  DropMissingFiles(c.MnCbOldFileNmItems);
  DropMissingFiles(c.FsTcNewFileNmItems);
  DropMissingFiles(c.FsTcOldFileNmItems);
  c.MnlblOptsUsed = RestoreOptions(c, load.OptsUsed.value_or(""));
  c.PrEdSubC = NormaliseSubc(c.PrEdSubC);
  if (c.PrEdCcolNw[0].find(':') == std::string::npos) c.PrEdCcolNw[0].clear();
  return true;
}

void ResetBeforeLoad(TAppState& app) {
  TOptionControls& c = app.Controls;
  TUserSettings& s = app.Settings;
  for (TCheckBox& box : c.PrPanPreferences) box.Checked = false;
  c.DpCkDpDln.fill(false);
  c.DpCkDpS.fill(false);
  s.MnCkViewResults = false;
  s.MnCkTurnOffHint = false;
  s.MnCkOmitIniSv = false;
  c.PrCbXTab = "4";
  c.PrEdSubC = "\".\"";
  c.PrEdNewLmt = "1:eod";
  c.PrEdOldlmt = "1:eod";
  c.PrEdCcolNw = {"1:eol", "", "", ""};
  c.PrEdCcolOd = {"1:eol", "", "", ""};
  c.DpEdDpDln.fill("");
  c.DpEdS.fill("");
  c.DpRadioGroup1 = DpNone;
  c.MnlblOptsUsed = "None";
}

} // namespace quorlin
