// The result line model shared by every viewer and report: which list a panel
// shows, the text drawn for line i (a reference number and the listing line)
// and its colour, decided from the listing line's first characters.
#pragma once

#include "state/Controls.h"

#include <array>
#include <utility>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorlin {

/// The colour rule of a panel: the new-side (left or upper) panel, the
/// old-side (right or lower) panel, or the single panel.
enum class TPanelRule { NewSide, OldSide, Single };

/// Text colours of result lines. Normal is the panel's own text colour;
/// Navy is the colour of headers and notes around the lists.
enum class TLineColour : uint8_t { Black, Blue, Red, Teal, Purple, Maroon, Green, Normal, Navy };

struct TRgb {
  uint8_t R, G, B;
  bool operator==(const TRgb&) const = default;
};

/// RGB value of a colour (Normal is drawn black).
TRgb ColourRgb(TLineColour colour);
/// Lower-case English name of a colour ("teal").
const char* ColourName(TLineColour colour);

/// The contrast ratio of two colours as readability guidelines measure it
/// (relative luminance; 1 for equal colours, 21 for black on white).
double ContrastRatio(TRgb a, TRgb b);
/// Text must stand out from its background by this ratio.
inline constexpr double MinContrast = 4.5;
/// The colour a window draws colour in on background, whose own text
/// colour is text: the designed colour where it stands out by MinContrast,
/// else the same hue mixed step by step towards white (a dark background:
/// lighter tints) or black until it does. Normal is text; Black is text on
/// a dark background.
TRgb ShownRgb(TLineColour colour, TRgb background, TRgb text);

/// The result of the last compare as the viewers see it: the two lists, where
/// the statistics section begins, and the run options that change the rules.
struct TResultView {
  const TStringList* Panel1 = nullptr;
  const TStringList* Panel2 = nullptr;
  int StatsFirstLine = 0; ///< first line of the statistics section in Panel1
  bool Clnc = false;      ///< the run was an unordered compare
  bool ListChng = false;  ///< the listing type was Chng
  bool Fscl = false;
  int NewLongest = 0, OldLongest = 0; ///< longest lines of the run (report widths)
  bool Icas = false;                  ///< case was ignored (changed characters)
  std::array<std::pair<int, int>, 4> NewColumns{}, OldColumns{}; ///< compared columns, with Ccol
  std::string RunStamp;               ///< date and time of the compare
};

/// The view of the last run in app. Without a statistics section (Noss) every
/// listing line after the heading is numbered.
TResultView MakeResultView(const TAppState& app);

/// Flags of the lines that belong to the new side and to the old side.
inline constexpr std::array<std::string_view, 5> NewSideTags = {"I -", "IM-", "RN-", "XN-", "XR-"};
inline constexpr std::array<std::string_view, 5> OldSideTags = {"D -", "DM-", "RO-", "XO-", "XR-"};

/// The change flag of a listing line: its first three characters.
inline std::string_view ChangeFlag(std::string_view line) { return line.substr(0, 3); }
bool InNewSideTags(std::string_view flag);
bool InOldSideTags(std::string_view flag);

/// Index of the last heading line: 3 in the two-panel viewers of a Clnc run,
/// else 2. Lines after it, up to the statistics, carry reference numbers.
int HeadingLead(const TResultView& view, TPanelRule rule);

/// The list a panel shows: Panel2 for the old side, else Panel1.
const TStringList& PanelList(const TResultView& view, TPanelRule rule);

/// DisplayText: the text drawn for line i of the panel, written into out:
/// "%4d  " and the line for numbered lines (aligned as AppendAligned does
/// unless the run had Fscl), one blank and the line for heading and
/// statistics lines, a program-error text for a bad index.
void DisplayText(const TResultView& view, TPanelRule rule, long i, std::string& out);
std::string DisplayText(const TResultView& view, TPanelRule rule, long i);

/// ShownText: DisplayText as a panel draws it, in valid UTF-8 (ShownUtf8).
void ShownText(const TResultView& view, TPanelRule rule, long i, std::string& out);

/// Appends a listing line of the 80-byte text field with its columns where
/// they stand in a line of plain ASCII: after the field, one blank for each
/// byte of the field that shows no character of its own (the later bytes of
/// a UTF-8 character, the rest of a character the 80-byte cut split). Other
/// lines are appended as they are.
void AppendAligned(std::string& out, std::string_view line);

// Characters of listing text, which may hold any bytes: a well-formed UTF-8
// sequence is one character, and so is each cut or invalid sequence (a
// maximal ill-formed part), which shows as U+FFFD.

/// The length in bytes of the character that starts at text[at].
size_t CharBytes(std::string_view text, size_t at);
/// The number of characters text shows.
size_t ShownLength(std::string_view text);
/// The bytes of the first characters of text, at most count of them.
std::string_view ShownPrefix(std::string_view text, size_t count);
/// text in valid UTF-8: each cut or invalid sequence replaced by U+FFFD.
void AppendShownUtf8(std::string& out, std::string_view text);

/// The two numbers of a listing line's reference columns (0 for none): after
/// the 80-byte text field, a blank, the first number (the NEW line; or five
/// blanks), a 14-character change type, the second (the OLD line).
struct TRefNumbers {
  long First = 0, Second = 0;
};
TRefNumbers RefNumbers(std::string_view line);

/// LineColour: the text colour of line i of the panel (green for a bad index).
TLineColour LineColour(const TResultView& view, TPanelRule rule, long i);

} // namespace quorlin
