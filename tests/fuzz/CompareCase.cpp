#include "CompareCase.h"

#include "TestSupport.h"

#include "app/CompareFlow.h"
#include "engine/CompareRun.h"
#include "platform/FrontEnd.h"
#include "platform/OutputFile.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

namespace quorlin::fuzz {

namespace {

constexpr std::array<const char*, 4> ListTypes = {"Chng", "Delta", "Long", "Ovsum"};

// Small tables of option texts: good ones, and some that the set-up rejects.
struct TRanges {
  std::array<const char*, 4> New, Old;
};
constexpr std::array<TRanges, 8> CcolTable = {{
    {{"1:eol", "", "", ""}, {"1:eol", "", "", ""}},
    {{"2:eol", "", "", ""}, {"1:eol", "", "", ""}},
    {{"1:3", "5:eol", "", ""}, {"1:3", "5:eol", "", ""}},
    {{"3:6", "", "", ""}, {"1:4", "", "", ""}},
    {{"1:2", "4:9", "12:12", "14:eol"}, {"1:1", "3:40", "", ""}},
    {{"5:3", "", "", ""}, {"1:eol", "", "", ""}},   // first after last: rejected
    {{"0:eol", "", "", ""}, {"1:eol", "", "", ""}}, // no first column: rejected
    {{"1:10", "3:eol", "", ""}, {"1:eol", "", "", ""}}, // range 2 inside range 1: rejected
}};
constexpr std::array<std::pair<const char*, const char*>, 8> PcmpTable = {{
    {"1:eod", "1:eod"},
    {"2:eod", "1:eod"},
    {"1:3", "2:5"},
    {"3:4", "3:EOD"},
    {"0:5", "1:eod"}, // rejected
    {"5:2", "1:eod"}, // not a range: the part compare stays off
    {"2:eod", "x:eod"},
    {"1:1", "1:1"},
}};
constexpr std::array<const char*, 8> DpsTable = {"}", "x", " ", "//", "a", "END", "\"", "ab c"};
constexpr std::array<const char*, 8> DlnTable = {
    "x 1:eol", "a 1:5 b 3:eol", "\"a b\" 2:eol", "# 1:1", "bad", "q 0:5", "E 1:EOL", "\"\" 1:eol"};
constexpr std::array<const char*, 4> UdcTable = {"#", "--", "rem", "\""};
constexpr std::array<const char*, 4> SubcTable = {"\".\"", "\"#\"", "\"?\"", "\" \""};

/// Bit k of byte b.
bool BitOf(uint8_t b, int k) { return (b >> k) & 1; }

/// A front end without a user.
TSilentFrontEnd Silent;

/// Appends bytes to out with marker before each of its lines: at its start
/// and after every line end (CR LF, CR or LF) that has bytes after it.
void AppendMarked(std::string& out, const std::string& bytes, const std::string& marker) {
  out += marker;
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += bytes[i];
    const bool end = bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'));
    if (end && i + 1 < bytes.size()) out += marker;
  }
}

/// count lines made of copies of the lines of bytes (cut at LF), each line
/// of copy N begun with mark, N and a blank.
std::vector<std::string> MarkedLines(const std::string& bytes, const char* mark, int count) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (int copy = 0; static_cast<int>(lines.size()) < count;) {
    const size_t end = std::min(bytes.find('\n', from), bytes.size());
    lines.push_back(mark + std::to_string(copy) + " " + bytes.substr(from, end - from));
    from = end + 1;
    if (from >= bytes.size()) {
      from = 0;
      ++copy;
    }
  }
  return lines;
}

} // namespace

std::string TCompareCase::Describe() const {
  std::string text = "type=" + Controls.MnCbListType + " prefs=";
  for (const TCheckBox& box : Controls.PrPanPreferences)
    if (box.Checked) text += std::string(box.Caption) + ",";
  text += " dp=" + std::string(DpNames[static_cast<size_t>(Controls.DpRadioGroup1)]);
  for (size_t k = 0; k < 3; ++k)
    if (Controls.DpCkDpS[k]) text += " dps" + std::to_string(k + 1) + "='" + Controls.DpEdS[k] + "'";
  for (size_t k = 0; k < 4; ++k)
    if (Controls.DpCkDpDln[k]) text += " dln" + std::to_string(k + 1) + "='" + Controls.DpEdDpDln[k] + "'";
  if (Controls.Checked(TagCcol))
    text += " ccol=" + Controls.PrEdCcolNw[0] + "," + Controls.PrEdCcolNw[1] + "/" + Controls.PrEdCcolOd[0];
  if (Controls.Checked(TagPcmp)) text += " pcmp=" + Controls.PrEdNewLmt + "/" + Controls.PrEdOldlmt;
  if (Identical) text += " identical";
  text += " new=" + std::to_string(NewBytes.size()) + "B old=" + std::to_string(OldBytes.size()) + "B";
  return text;
}

TCompareCase DecodeCase(const uint8_t* data, size_t size, bool clnc) {
  TCompareCase c;
  TOptionControls& k = c.Controls;
  TOptionBytes bytes(data, size);
  const uint8_t b0 = bytes.Byte(), b1 = bytes.Byte(), b2 = bytes.Byte(), b3 = bytes.Byte(),
                b4 = bytes.Byte(), b5 = bytes.Byte();

  // b0: list type, identical pair, Sbsl, Subc, Xtab, repeat.
  k.MnCbListType = ListTypes[b0 & 3];
  c.Identical = BitOf(b0, 2);
  k.Pref(TagSbsl).Checked = BitOf(b0, 3);
  k.Pref(TagSubc).Checked = BitOf(b0, 4);
  k.Pref(TagXtab).Checked = BitOf(b0, 5);
  // A few inputs only, as they take longer: repeated copies, or (ordered
  // compares only) blocks.
  const bool repeat = (b0 >> 6) == 3 && BitOf(b5, 7), blocks = !clnc && (b0 >> 6) == 2 && BitOf(b5, 7);
  // b1: one preference a bit.
  const int b1Tags[8] = {TagIcas, TagRovr, TagFmvl, TagXdpl, TagFscl, TagIeof, TagLorl, TagNoss};
  for (int bit = 0; bit < 8; ++bit) k.Pref(b1Tags[bit]).Checked = BitOf(b1, bit);
  // b2: the DP option and the user-defined comment strings.
  const int dp = b2 & 15;
  k.DpRadioGroup1 = dp < DpCount ? dp : DpNone;
  k.DpEdUdc = UdcTable[(b2 >> 4) & 3];
  k.DpCbUdcYN = BitOf(b2, 6) ? "Yes" : "No";
  k.DpEdUdc2 = UdcTable[((b2 >> 4) + 1) & 3];
  k.DpEdUdc3 = UdcTable[((b2 >> 4) + 2) & 3];
  // b3: string-only filters and Dln conditions.
  if ((k.DpCkDpS[0] = BitOf(b3, 0))) k.DpEdS[0] = DpsTable[(b3 >> 1) & 7];
  if ((k.DpCkDpDln[0] = BitOf(b3, 4))) k.DpEdDpDln[0] = DlnTable[(b3 >> 5) & 7];
  // b4: compare columns and part compare.
  if ((k.Pref(TagCcol).Checked = BitOf(b4, 0))) {
    const TRanges& r = CcolTable[(b4 >> 1) & 7];
    std::copy(r.New.begin(), r.New.end(), k.PrEdCcolNw.begin());
    std::copy(r.Old.begin(), r.Old.end(), k.PrEdCcolOd.begin());
  }
  if ((k.Pref(TagPcmp).Checked = BitOf(b4, 4))) std::tie(k.PrEdNewLmt, k.PrEdOldlmt) = PcmpTable[(b4 >> 5) & 7];
  // b5: tab width, Subc character, second filters, repeat (with b0).
  k.PrCbXTab = " " + std::to_string(1 + (b5 & 7));
  k.PrEdSubC = SubcTable[(b5 >> 3) & 3];
  if ((k.DpCkDpS[2] = BitOf(b5, 5))) k.DpEdS[2] = DpsTable[(b5 + b3) & 7];
  if ((k.DpCkDpDln[2] = BitOf(b5, 6))) k.DpEdDpDln[2] = DlnTable[(b5 + b4) & 7];
  k.Pref(TagClnc).Checked = clnc;
  // Block inputs: the block's kind and length, and where it goes.
  const uint8_t shape = blocks ? bytes.Byte() : 0, at = blocks ? bytes.Byte() : 0;

  const std::string_view rest = bytes.Rest;
  size_t cut = rest.find(FileSeparator), skip = FileSeparator.size();
  if (cut == std::string_view::npos) {
    cut = rest.size() / 2;
    skip = 0;
  }
  c.NewBytes = rest.substr(0, cut);
  c.OldBytes = c.Identical ? c.NewBytes : std::string(rest.substr(cut + skip));
  // Moved-line detection takes time cubic in the lines of a pass when they
  // repeat a few texts (8000 lines of four texts take half a minute), so it
  // runs on short files only and each input stays quick.
  const auto lines = [](const std::string& s) {
    return std::count_if(s.begin(), s.end(), [](char ch) { return ch == '\n' || ch == '\r'; });
  };
  if (lines(c.NewBytes) + lines(c.OldBytes) > 1000) k.Pref(TagFmvl).Checked = false;
  if (repeat && !c.NewBytes.empty()) {
    // Copies of NEW, enough for a second pass of 8000 lines or more than
    // one read buffer of 32 KB, whichever comes first; OLD is the same
    // copies with the OLD bytes in place of the middle one. Every line of
    // copy N starts with "~N ": lines of different copies differ, so the
    // matcher has few equal lines to try. No moved-line detection here.
    k.Pref(TagFmvl).Checked = false;
    const long linesPerCopy = 1 + std::count(c.NewBytes.begin(), c.NewBytes.end(), '\n');
    long copies = 0;
    for (long lines = 0; copies * static_cast<long>(c.NewBytes.size()) < 40000 && lines < 8100; lines += linesPerCopy)
      ++copies;
    std::string n, o;
    for (long copy = 0; copy < copies; ++copy) {
      const std::string marker = "~" + std::to_string(copy) + " ";
      AppendMarked(n, c.NewBytes, marker);
      AppendMarked(o, copy == copies / 2 ? c.OldBytes : c.NewBytes, marker);
    }
    c.NewBytes = std::move(n);
    c.OldBytes = std::move(o);
  } else if (blocks && !c.NewBytes.empty()) {
    // A text of 600 to 2,640 lines made of copies of NEW, and a block of
    // 8,000 to 10,016 lines made of copies of OLD (shape bits 2 to 7): longer
    // than a pass. shape bits 0 and 1: the block is inserted in NEW, deleted
    // from it, put in place of as many other lines, or inserted with a
    // second block deleted from the middle of the rest. at places it in the
    // text (0: at the start, 255: at the end).
    k.Pref(TagFmvl).Checked = false;
    const int textLines = 600 + 8 * at, blockLines = 8000 + 32 * (shape >> 2);
    const std::vector<std::string> text = MarkedLines(c.NewBytes, "~", textLines),
                                   block = MarkedLines(c.OldBytes.empty() ? c.NewBytes : c.OldBytes, "+", blockLines),
                                   other = MarkedLines(c.NewBytes, "-", blockLines);
    const int where = at == 255 ? textLines : textLines * at / 256;
    const auto head = text.begin() + where, half = head + (text.end() - head) / 2;
    std::vector<std::string> n(text.begin(), head), o = n;
    auto append = [](std::vector<std::string>& to, auto from, auto end) { to.insert(to.end(), from, end); };
    if ((shape & 3) != 1) append(n, block.begin(), block.end());
    if ((shape & 3) == 1) append(o, block.begin(), block.end());
    if ((shape & 3) == 2) append(o, other.begin(), other.end());
    append(n, head, text.end());
    append(o, head, half);
    if ((shape & 3) == 3) append(o, other.begin(), other.end());
    append(o, half, text.end());
    c.NewBytes = test::JoinLines(n);
    c.OldBytes = c.Identical ? c.NewBytes : test::JoinLines(o);
  }
  return c;
}

namespace {

TOutcome Run(const TCompareCase& c, bool batch, bool threads) {
  TAppState app(Silent);
  app.Controls = c.Controls;
  app.Controls.MnCbNewFileNm = WorkDir() + "/new.txt";
  app.Controls.MnCbOldFileNm = WorkDir() + "/old.txt";
  app.ProgressOn = false;
  app.WorkerThreads = threads;
  app.CountIdentical = threads;
  app.RunStamp = RunStamp;
  TOutcome out;
  if (batch) {
    app.BatchMode = true;
    app.JobLabel = "Job#1 ";
    app.OutFileNm = "listing.lst";
    app.Panel1Lines.push_back(std::string("*** Job#1  Started Time=") + RunStamp);
    const std::string path = WorkDir() + "/listing.lst";
    TOutputFile listing;
    FUZZ_CHECK(listing.Open(path, false), "cannot open the listing file");
    if (threads) listing.WriteInBackground();
    out.Result = RunBatchCompare(app, listing);
    FUZZ_CHECK(listing.Close(), "listing file: " + listing.ErrorText());
    out.Listing = ReadBytes(path);
  } else {
    out.Result = RunCompare(app);
  }
  out.Status = app.StatusText;
  if (app.CompareCtl) out.Ctl = *app.CompareCtl;
  out.Panel1 = app.Panel1Lines.ToVector();
  out.Panel2 = app.Panel2Lines.ToVector();
  return out;
}

void RequireSameOutcome(const TOutcome& a, const TOutcome& b, const std::string& what) {
  FUZZ_CHECK(a.Result == b.Result && a.Status == b.Status, what + ": " + a.Status + " / " + b.Status);
  FUZZ_CHECK(CounterText(a.Ctl) == CounterText(b.Ctl), what + ":\n" + CounterText(a.Ctl) + "\n" + CounterText(b.Ctl));
  if (a.Listing != b.Listing) {
    const std::vector<std::string> x = SplitCrLf(a.Listing), y = SplitCrLf(b.Listing);
    size_t k = 0;
    while (k < x.size() && k < y.size() && x[k] == y[k]) ++k;
    Fail("a.Listing == b.Listing", what + ": listings differ at line " + std::to_string(k + 1) + ":\n" +
                                       (k < x.size() ? x[k] : "(end)") + "\n" + (k < y.size() ? y[k] : "(end)"));
  }
  FUZZ_CHECK(a.Panel1 == b.Panel1, what + ": panel 1 differs");
  FUZZ_CHECK(a.Panel2 == b.Panel2, what + ": panel 2 differs");
}

/// Lines first to last (1-based, last 0 meaning to the end) of lines.
std::vector<std::string> PartOf(const std::vector<std::string>& lines, int first, int last) {
  std::vector<std::string> part;
  for (int n = first; n <= static_cast<int>(lines.size()) && (last == 0 || n <= last); ++n)
    part.push_back(lines[static_cast<size_t>(n - 1)]);
  return part;
}

} // namespace

TOutcome RunCase(const TCompareCase& c) {
  WriteWorkFile("new.txt", c.NewBytes);
  WriteWorkFile("old.txt", c.OldBytes);
  const TOutcome batch = Run(c, true, false), shown = Run(c, false, false);
  RequireSameOutcome(batch, Run(c, true, true), "batch step on one thread and on two\n" + c.Describe());
  RequireSameOutcome(shown, Run(c, false, true), "interactive run on one thread and on two\n" + c.Describe());
  FUZZ_CHECK(CounterText(batch.Ctl) == CounterText(shown.Ctl) && batch.Status == shown.Status,
             "batch and interactive\n" + c.Describe() + "\n" + CounterText(batch.Ctl) + "\n" + CounterText(shown.Ctl));
  // Only rejected ranges stop a run before it starts.
  if (batch.Result != 0)
    FUZZ_CHECK((batch.Ctl.CcolBad || batch.Ctl.PcmpBad) && batch.Status.rfind(MsgBadSpec, 0) == 0,
               batch.Detail(c));
  return batch;
}

TParts ComparedParts(const TCompareCase& c, const TCompareCtl& ctl, bool keepTabs) {
  const TReadRules rules{c.Pref(TagIeof), keepTabs};
  const bool part = ctl.PcmpActive;
  TParts p;
  p.NewFirst = part ? ctl.PcmpNewFirst : 1;
  p.OldFirst = part ? ctl.PcmpOldFirst : 1;
  p.New = PartOf(ReferenceLines(c.NewBytes, rules), p.NewFirst, part ? ctl.PcmpNewLast : 0);
  p.Old = PartOf(ReferenceLines(c.OldBytes, rules), p.OldFirst, part ? ctl.PcmpOldLast : 0);
  return p;
}

bool CheckVerdict(const TCompareCase& c, const TOutcome& run, const TParts& read) {
  const TCompareCtl& k = run.Ctl;
  const std::string detail = run.Detail(c);
  FUZZ_CHECK(k.NewLinesTotal == static_cast<int>(read.New.size()), detail + "\nexpected NEW lines " + Show(read.New));
  FUZZ_CHECK(k.OldLinesTotal == static_cast<int>(read.Old.size()), detail + "\nexpected OLD lines " + Show(read.Old));
  FUZZ_CHECK(k.CcolActive || k.FilesDiffer == (read.New != read.Old), detail);
  const bool changes = k.ReformCount + k.InsertCount + k.DeleteCount > 0;
  FUZZ_CHECK(changes == (run.Status == MsgDiffer), detail);
  if (c.SameParts(k)) {
    FUZZ_CHECK(!changes, detail + "\nthe same bytes differ");
    const bool filtered = k.DpActive || k.DpsActive || k.OptIcas || k.OptRovr || k.CcolActive || k.DlnActive ||
                          k.PcmpActive || (k.OptClnc && k.NewBlankCount + k.OldBlankCount > 0);
    FUZZ_CHECK(run.Status == (filtered ? MsgEquivFiltered : MsgEquivalent), detail);
  }
  return changes;
}

std::vector<std::string> BodyLines(const std::vector<std::string>& lines, size_t from,
                                   const std::vector<std::string>& ids, size_t& end) {
  std::vector<std::string> body;
  size_t k = from;
  while (k < lines.size() && lines[k].rfind("ID  ----+", 0) != 0) ++k;
  if (k < lines.size()) ++k;
  for (; k < lines.size(); ++k) {
    const std::string& l = lines[k];
    if (l.size() < 5 || std::find(ids.begin(), ids.end(), l.substr(0, 4)) == ids.end()) break;
    body.push_back(l);
  }
  end = k;
  return body;
}

std::string TextField(std::string_view text) {
  std::string field(text.substr(0, 80));
  field.resize(80, ' ');
  return field;
}

} // namespace quorlin::fuzz
