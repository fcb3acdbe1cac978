#include "viewers/PrintLayout.h"

#include "platform/Text.h"

namespace quorlin {

namespace {

/// Places text on pages: page headings, line positions, new pages.
class TPageWriter {
public:
  TPageWriter(const TFontMetrics& m, const std::string& caption, const TPageSink& out) : Out(out), Metrics(m) {
    CharsPerLine = m.BoldCharWidth > 0 ? m.PageWidth / m.BoldCharWidth : 80;
    PageNumberX = (CharsPerLine - 9) * m.BoldCharWidth;
    LinesPerPage = m.LineHeight > 0 ? m.PageHeight / m.LineHeight - 4 : 60;
    X0 = 3 * m.CharWidth;
    Title = caption;
    if (static_cast<int>(Title.size()) + 6 > CharsPerLine - 8)
      Title = Title.substr(0, static_cast<size_t>(std::max(0, CharsPerLine - 20))) + " . . .";
    NewPage();
  }
  int CharsPerLine, LinesPerPage;
  int Row = 4;

  /// Hands the page laid out so far on and starts the next one.
  void NewPage() {
    if (PageCount > 0) Out(Page);
    Page.clear();
    ++PageCount;
    Place(X0, 2, Title, true);
    Place(PageNumberX, 2, Printf("Page %3d", PageCount), true);
    Row = 4;
  }
  /// Hands the last page on.
  void Finish() { Out(Page); }
  void Place(int x, int row, std::string text, bool bold) {
    Page.push_back({x, row * Metrics.LineHeight, std::move(text), bold});
  }
  /// A body line at the next row, on a new page when this one is full.
  void Line(std::string text) {
    if (Row >= LinesPerPage) NewPage();
    Place(X0, Row, std::move(text), false);
    ++Row;
  }
  std::string Cut(std::string s) const {
    if (static_cast<int>(s.size()) > CharsPerLine) s.resize(static_cast<size_t>(std::max(0, CharsPerLine)));
    return s;
  }
  int X0 = 0;

private:
  const TPageSink& Out;
  TPrintPage Page;
  int PageCount = 0;
  const TFontMetrics& Metrics;
  int PageNumberX = 0;
  std::string Title;
};

} // namespace

void LayoutTwoPanelPrint(const TResultView& view, const std::string& caption, bool noRefNumbers,
                         const TFontMetrics& metrics, const TPageSink& out) {
  TPageWriter w(metrics, caption, out);
  // Without reference numbers the ruler and the numbered lines lose their
  // number column; the heading lines above them stay whole.
  auto refLine = [&](TPanelRule rule, long i) {
    std::string s = DisplayText(view, rule, i);
    if (noRefNumbers && i >= HeadingLead(view, rule)) s = " " + (s.size() > 5 ? s.substr(5) : std::string());
    w.Line(w.Cut(std::move(s)));
  };
  w.Place(w.X0, 3, " Panel 1 - New Source Matches and Inserts", true);
  for (long i = 0; i < view.StatsFirstLine; ++i) refLine(TPanelRule::NewSide, i);
  if (!view.Panel2->empty()) {
    if (w.Row + 4 >= w.LinesPerPage) {
      w.NewPage();
    } else {
      w.Place(w.X0, w.Row + 1, " Panel 2 - New Source Matches and Deletes", true);
      w.Row += 2;
    }
    for (size_t i = 0; i < view.Panel2->size(); ++i) refLine(TPanelRule::OldSide, static_cast<long>(i));
  }
  for (long i = view.StatsFirstLine; i < static_cast<long>(view.Panel1->size()); ++i)
    w.Line(DisplayText(view, TPanelRule::NewSide, i));
  w.Finish();
}

void LayoutSinglePrint(const TResultView& view, const std::string& caption, bool noRefNumbers,
                       const TFontMetrics& metrics, const TPageSink& out) {
  TPageWriter w(metrics, caption, out);
  for (long i = 0; i < static_cast<long>(view.Panel1->size()); ++i) {
    std::string s = DisplayText(view, TPanelRule::Single, i);
    if (i > 1 && i < view.StatsFirstLine && noRefNumbers) s.erase(0, std::min<size_t>(5, s.size()));
    w.Line(" " + w.Cut(std::move(s)));
  }
  w.Finish();
}

} // namespace quorlin
