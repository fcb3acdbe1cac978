#include "TestSupport.h"
#include "viewers/Geometry.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

TEST(LineModel, DisplayTextNumbersTheListingLines) {
  TViewFixture fx({"New File = a", "Old File = b", "ID  ----+-ruler", "    first", "I - second", " ",
                   "     7 Number Of Line Matches"},
                  {"New File = a", "Old File = b", "ID  ----+-ruler", "    first", " "}, 5);
  struct Case {
    const char* Name;
    TPanelRule Rule;
    long Index;
    std::string Expected;
  } cases[] = {
      {"heading lead shows one blank and the ruler", TPanelRule::NewSide, 2, " ID  ----+-ruler"},
      {"first numbered line", TPanelRule::NewSide, 3, "   1      first"},
      {"second numbered line", TPanelRule::NewSide, 4, "   2  I - second"},
      {"statistics start: no number", TPanelRule::NewSide, 5, "  "},
      {"statistics line", TPanelRule::NewSide, 6, "      7 Number Of Line Matches"},
      {"right panel shares the bound", TPanelRule::OldSide, 4, "   2   "},
      {"single panel", TPanelRule::Single, 3, "   1      first"},
      {"bad index, new side", TPanelRule::NewSide, -1, "*** Invalid index \"-1\" to GetItem ***"},
      {"bad index, old side", TPanelRule::OldSide, 5, "*** Improper index \"5\" to GetItem ***"},
      {"bad index, single", TPanelRule::Single, 7, "*** Negative index \"7\" to GetItem ***"},
  };
  for (const auto& c : cases) EXPECT_EQ(DisplayText(fx.View, c.Rule, c.Index), c.Expected) << c.Name;
}

TEST(LineModel, ClncNumbersFromIndexFourAndWideNumbersWiden) {
  std::vector<std::string> left = {"title", "New File = a", "Old File = b", "ruler"};
  for (int i = 0; i < 12000; ++i) left.push_back("    x");
  TViewFixture fx(left, {"title"}, static_cast<int>(left.size()), true);
  EXPECT_EQ(DisplayText(fx.View, TPanelRule::NewSide, 3), " ruler");
  EXPECT_EQ(DisplayText(fx.View, TPanelRule::NewSide, 4), "   1      x");
  EXPECT_EQ(DisplayText(fx.View, TPanelRule::Single, 3), "   1  ruler") << "the single panel starts at index 3";
  EXPECT_EQ(DisplayText(fx.View, TPanelRule::NewSide, 10002), "9999      x");
  EXPECT_EQ(DisplayText(fx.View, TPanelRule::NewSide, 10003), "10000      x");
}

TEST(LineModel, RowsShownPerCharacter) {
  // Listing text holds any bytes: each well-formed UTF-8 sequence is one
  // character, each cut or invalid part one U+FFFD.
  const std::string bad = "\xEF\xBF\xBD";
  struct Case {
    const char* Name;
    std::string Bytes, Shown;
  } cases[] = {
      {"plain and two-byte", "Gr\xC3\xBC\xC3\x9F" "e", "Gr\xC3\xBC\xC3\x9F" "e"},
      {"four-byte", "\xF0\x9F\x98\x80!", "\xF0\x9F\x98\x80!"},
      {"three-byte character cut after two bytes", "ab\xE2\x82", "ab" + bad},
      {"Latin-1 bytes", "caf\xE9 \xFF", "caf" + bad + " " + bad},
      {"stray continuation, overlong, surrogate", "\x80\xC0\xAF\xED\xA0\x80",
       bad + bad + bad + bad + bad + bad},
  };
  for (const auto& c : cases) {
    std::string shown;
    AppendShownUtf8(shown, c.Bytes);
    EXPECT_EQ(shown, c.Shown) << c.Name;
    EXPECT_EQ(ShownLength(c.Bytes), ShownLength(c.Shown)) << c.Name;
  }
  EXPECT_EQ(ShownPrefix("Gr\xC3\xBC\xC3\x9F" "e", 4), "Gr\xC3\xBC\xC3\x9F");

  // The reference columns of a line whose 80-byte field holds wide or cut
  // characters stand where they stand in a plain line.
  const std::string refs = "00001 INSERT(NEW)          1";
  std::string text = "Gr\xC3\xBC\xC3\x9F" "e ";
  while (text.size() < 79) text += "\xC3\xBC";
  text = text.substr(0, 79) + "\xE2"; // the cut splits a character
  TViewFixture fx({"h", "h", "h", "I - " + std::string(80, 'x') + refs, "I - " + text + refs, " "}, {"h"}, 5);
  std::string plain, wide;
  ShownText(fx.View, TPanelRule::Single, 3, plain);
  ShownText(fx.View, TPanelRule::Single, 4, wide);
  EXPECT_EQ(ShownLength(wide), ShownLength(plain));
  EXPECT_TRUE(wide.ends_with(refs)) << wide;
  fx.View.Fscl = true; // no reference columns: the line as it is
  EXPECT_EQ(DisplayText(fx.View, TPanelRule::Single, 4), "   2  I - " + text + refs);
}

TEST(LineModel, ColourRules) {
  TViewFixture fx({"I -", "New File =", "XR- dupe", "XN- dupe", "RN- reform", "I - insert", "IM- moved",
                   "New File = x.txt", "ID  ----+----1", "Old File = y.txt", "Quorlin V5.7b - Batch",
                   "LISTING-TYPE = Chng", "   ************* 3 Unchanged New File Lines Not Shown",
                   "    ordinary line", "D - deleted"},
                  {"D -", "New File =", "XR- dupe", "XO- dupe", "RO- reform", "D - delete", "DM- moved",
                   "New File = x.txt", "ID  ----+----1", "Old File = y.txt", "Quorlin V5.7b - Batch",
                   "LISTING-TYPE = Chng", "    context", "    context", "I - inserted"},
                  15);
  using C = TLineColour;
  struct Case {
    long Index;
    C New, Old, Single;
  } cases[] = {
      {0, C::Black, C::Normal, C::Blue},  // exactly "I -" / "D -": the length rule comes first
      {1, C::Black, C::Black, C::Blue},   // exactly "New File =": too short for the heading rule
      {2, C::Teal, C::Maroon, C::Black},  // XR-
      {3, C::Blue, C::Red, C::Black},     // XN- / XO-
      {4, C::Teal, C::Maroon, C::Blue},   // RN- / RO-
      {5, C::Blue, C::Red, C::Blue},      // I - / D -
      {6, C::Blue, C::Red, C::Blue},      // IM- / DM-
      {7, C::Blue, C::Blue, C::Blue},     // New File =
      {8, C::Purple, C::Purple, C::Black}, // the ruler
      {9, C::Red, C::Red, C::Red},        // Old File =
      {10, C::Red, C::Red, C::Red},       // the product name
      {11, C::Red, C::Red, C::Red},       // LISTING-TY
      {12, C::Red, C::Red, C::Red},       // the not-shown marker (right: by the left line)
      {13, C::Black, C::Black, C::Black},
      {14, C::Black, C::Black, C::Red},   // D - in the left list, I - in the right list
      {-1, C::Green, C::Green, C::Green},
      {15, C::Green, C::Green, C::Green},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LineColour(fx.View, TPanelRule::NewSide, c.Index), c.New) << c.Index;
    EXPECT_EQ(LineColour(fx.View, TPanelRule::OldSide, c.Index), c.Old) << c.Index;
    EXPECT_EQ(LineColour(fx.View, TPanelRule::Single, c.Index), c.Single) << c.Index;
  }
  fx.View.ListChng = false; // Delta: the marker line stays black
  for (auto rule : {TPanelRule::NewSide, TPanelRule::OldSide, TPanelRule::Single})
    EXPECT_EQ(LineColour(fx.View, rule, 12), C::Black);
}

TEST(LineModel, ColoursReadableOnLightAndDarkPalettes) {
  // Every line class stands out by 4.5:1 from a light and a dark panel; on
  // white the designed colours stay where they already do.
  const TRgb white{255, 255, 255}, black{0, 0, 0}, dark{30, 30, 30}, light{220, 220, 220};
  for (int c = 0; c <= static_cast<int>(TLineColour::Navy); ++c) {
    const auto colour = static_cast<TLineColour>(c);
    EXPECT_GE(ContrastRatio(ShownRgb(colour, white, black), white), MinContrast) << ColourName(colour);
    EXPECT_GE(ContrastRatio(ShownRgb(colour, dark, light), dark), MinContrast) << ColourName(colour);
    if (ContrastRatio(ColourRgb(colour), white) >= MinContrast) {
      EXPECT_EQ(ShownRgb(colour, white, black), ColourRgb(colour));
    }
  }
  EXPECT_NEAR(ContrastRatio(black, white), 21.0, 0.01);
  const TRgb blueOnDark = ShownRgb(TLineColour::Blue, dark, light);
  EXPECT_TRUE(blueOnDark.B == 255 && blueOnDark.R > 0 && blueOnDark.R == blueOnDark.G) << "a lighter tint of blue";
}

TEST(LineModel, ResultViewOfARun) {
  TListingFixture fx;
  fx.Check(TagNoss);
  fx.App.Controls.MnCbListType = "Long";
  fx.SetFiles("a\nb\n", "a\nc\n");
  fx.RunInteractive();
  TResultView view = MakeResultView(fx.App);
  // Without statistics every listing line after the heading is numbered.
  EXPECT_EQ(view.StatsFirstLine, static_cast<int>(fx.App.Panel1Lines.size()) - 1);
  EXPECT_EQ(DisplayText(view, TPanelRule::Single, 3).substr(0, 6), "   1  ");
}

TEST(ViewerGeometry, StoredValuesOverTheDesign) {
  const TWindowRect design{10, 20, 700, 500};
  struct Case {
    const char* Name;
    TViewerGeometry Stored;
    TWindowRect Expected;
  } cases[] = {
      {"nothing stored", {}, design},
      {"all stored", {"5", "6", "300", "800"}, {6, 5, 800, 300}},
      {"a stored width of 500 opens 676 wide", {"", "", "", "500"}, {10, 20, 676, 500}},
      {"texts that are no numbers are ignored", {"x", "1e3", "", "-"}, design},
  };
  for (const auto& c : cases) EXPECT_EQ(ViewerRect(c.Stored, design, 676), c.Expected) << c.Name;
  const TViewerGeometry texts = GeometryTexts({-5, 12345, 676, 480});
  EXPECT_EQ(texts.Left, "-5");
  EXPECT_EQ(texts.Top, "") << "more than 4 digits is not stored";
  const std::vector<TWindowRect> screens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
  EXPECT_EQ(OntoScreens({2000, 500, 700, 500}, screens), (TWindowRect{2000, 500, 700, 500})) << "second screen";
  EXPECT_EQ(OntoScreens({-650, 10, 700, 500}, screens), (TWindowRect{-650, 10, 700, 500})) << "title area shows";
  EXPECT_EQ(OntoScreens({5000, 3000, 2500, 500}, screens), (TWindowRect{40, 40, 1840, 500})) << "off every screen";
  EXPECT_EQ(OntoScreens({2100, 100, 1452, 1228}, screens), (TWindowRect{1920, 0, 1280, 1024})) << "larger than its screen";
}

} // namespace
} // namespace quorlin::test
