// Where a viewer window opens: the stored position and size of the user
// settings over the designed ones, and the texts stored back after it closes.
#pragma once

#include "state/Controls.h"

#include <vector>

namespace quorlin {

struct TWindowRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TWindowRect&) const = default;
};

/// The rectangle a viewer opens with: each stored value that is a number
/// replaces the designed one (top, height, left, width); the width is then
/// raised to at least minWidth and the height to at least minHeight.
TWindowRect ViewerRect(const TViewerGeometry& stored, TWindowRect designed, int minWidth, int minHeight = 200);

/// A window rectangle moved onto the screens: kept when at least 50 pixels
/// of its title strip (its top 30 pixels) lie on one of screens, so it can
/// be grabbed and moved, but cut to that screen and moved onto it when it is
/// larger; else moved to the top left of the first (primary) screen and cut
/// to fit it. Settings written on another display must not open windows
/// nobody can see.
TWindowRect OntoScreens(TWindowRect rect, const std::vector<TWindowRect>& screens);

/// The texts stored for a window rectangle (at most 4 digits; values outside
/// -999..9999 are left out, so a bad value never makes the file unreadable).
TViewerGeometry GeometryTexts(const TWindowRect& rect);

/// A stored number (a splitter position), or fallback when the text is
/// empty or no number.
int StoredNumber(const std::string& text, int fallback);
/// The text stored for a number: empty outside -999..9999.
std::string NumberText(int value);

/// A font size text of the settings as points; empty or bad texts give 8.
int FontSizeOf(const std::string& text);

} // namespace quorlin
