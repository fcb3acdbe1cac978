#include "viewers/Geometry.h"

#include <algorithm>
#include <charconv>

namespace quorlin {

namespace {

bool Number(const std::string& text, int& value) {
  if (text.empty() || text.size() > 5) return false;
  int v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  value = v;
  return true;
}

} // namespace

std::string NumberText(int value) { return value < -999 || value > 9999 ? std::string() : std::to_string(value); }

int StoredNumber(const std::string& text, int fallback) {
  int value = fallback;
  return Number(text, value) ? value : fallback;
}

TWindowRect ViewerRect(const TViewerGeometry& stored, TWindowRect designed, int minWidth, int minHeight) {
  TWindowRect rect = designed;
  Number(stored.Top, rect.Top);
  Number(stored.Height, rect.Height);
  Number(stored.Left, rect.Left);
  Number(stored.Width, rect.Width);
  rect.Width = std::max(rect.Width, minWidth);
  rect.Height = std::max(rect.Height, minHeight);
  return rect;
}

TWindowRect OntoScreens(TWindowRect rect, const std::vector<TWindowRect>& screens) {
  if (screens.empty()) return rect;
  for (const TWindowRect& s : screens) {
    const int left = std::max(rect.Left, s.Left), right = std::min(rect.Left + rect.Width, s.Left + s.Width);
    const int top = std::max(rect.Top, s.Top), bottom = std::min(rect.Top + 30, s.Top + s.Height);
    if (right - left >= 50 && top < bottom) {
      // Larger than its screen (a size kept on a larger or unscaled one): cut
      // to the screen and moved onto it.
      if (rect.Width > s.Width || rect.Height > s.Height) {
        rect.Width = std::min(rect.Width, s.Width);
        rect.Height = std::min(rect.Height, s.Height);
        rect.Left = std::clamp(rect.Left, s.Left, s.Left + s.Width - rect.Width);
        rect.Top = std::clamp(rect.Top, s.Top, s.Top + s.Height - rect.Height);
      }
      return rect;
    }
  }
  const TWindowRect& primary = screens.front();
  rect.Left = primary.Left + 40;
  rect.Top = primary.Top + 40;
  rect.Width = std::min(rect.Width, std::max(100, primary.Width - 80));
  rect.Height = std::min(rect.Height, std::max(100, primary.Height - 80));
  return rect;
}

TViewerGeometry GeometryTexts(const TWindowRect& rect) {
  return {NumberText(rect.Top), NumberText(rect.Left), NumberText(rect.Height), NumberText(rect.Width)};
}

int FontSizeOf(const std::string& text) {
  int size = 0;
  return Number(text, size) && size >= 4 && size <= 72 ? size : 8;
}

} // namespace quorlin
