#include "app/OptionPanels.h"
#include "app/OptionsSummary.h"

#include <gtest/gtest.h>

namespace quorlin {
namespace {

struct TPanels {
  TSilentFrontEnd Ui;
  TAppState App{Ui};
  TTabState Tabs;
  std::string& Summary() { return App.Controls.MnlblOptsUsed; }
};

TEST(OptionsSummary, Cases) {
  TPanels p;
  auto summary = [&] {
    BuildOptsSummary(p.App);
    return p.Summary();
  };
  EXPECT_EQ(summary(), "None");
  p.App.Controls.Pref(TagIcas).Checked = p.App.Controls.Pref(TagXtab).Checked = true;
  p.App.Controls.DpRadioGroup1 = DpDsem;
  EXPECT_EQ(summary(), "Icas Xtab Dsem ");
  p.App.Controls.DpCkDpS[2] = true;
  p.App.Controls.DpCkDpDln[1] = p.App.Controls.DpCkDpDln[3] = true;
  p.App.BatchMode = p.App.NslgOpt = p.App.AppendOpt = true;
  EXPECT_EQ(summary(), "Icas Xtab Dps3 Dpln Nbts Apnd Dsem ");
  p.App.BatchMode = false;
  EXPECT_EQ(summary(), "Icas Xtab Dps3 Dpln Dsem ") << "batch options only in a batch";
}

TEST(OptionPanels, TabChangesRebuildTheSummary) {
  TPanels p;
  ChangeTab(p.App, p.Tabs, TabDpOptions);
  p.App.Controls.DpCkDpDln[1] = true;
  EXPECT_EQ(p.Summary(), "None");
  ChangeTab(p.App, p.Tabs, TabMain); // Return
  EXPECT_EQ(p.Summary(), "Dpln ");

  // Cancel puts back all the tab held on entry, so the summary and the next
  // run agree with the screen.
  ChangeTab(p.App, p.Tabs, TabDpOptions);
  p.App.Controls.DpRadioGroup1 = DpDcpp;
  p.App.Controls.DpCkDpS[0] = true;
  p.App.Controls.DpEdS[0] = "end";
  CancelOptions(p.App, p.Tabs);
  EXPECT_EQ(p.App.Controls.DpRadioGroup1, DpNone);
  EXPECT_FALSE(p.App.Controls.DpCkDpS[0]);
  EXPECT_EQ(p.App.Controls.DpEdS[0], "");
  EXPECT_EQ(p.Summary(), "Dpln ");
  EXPECT_FALSE(p.Tabs.CancelMark);
  EXPECT_EQ(p.Tabs.Current, TabMain);

  p.App.Controls.Pref(TagFmvl).Checked = true;
  ChangeTab(p.App, p.Tabs, TabPreferences);
  p.App.Controls.Pref(TagFmvl).Checked = false;
  p.App.Controls.Pref(TagRovr).Checked = true;
  p.App.Controls.PrEdCcolNw[0] = "5:9";
  CancelOptions(p.App, p.Tabs);
  EXPECT_TRUE(p.App.Controls.Checked(TagFmvl));
  EXPECT_FALSE(p.App.Controls.Checked(TagRovr));
  EXPECT_EQ(p.App.Controls.PrEdCcolNw[0], "1:eol");
  EXPECT_EQ(p.Summary(), "Fmvl Dpln ");
}

TEST(OptionPanels, TabRulesInBatch) {
  TPanels p;
  ChangeTab(p.App, p.Tabs, TabPreferences);

  EXPECT_EQ(ChangeTab(p.App, p.Tabs, TabOverView), TTabAction::ShowHelp);
  EXPECT_EQ(p.Tabs.Current, TabPreferences);
  EXPECT_EQ(ChangeTab(p.App, p.Tabs, TabFileSelect), TTabAction::PrepareFiles);

  TPanels batch;
  batch.App.BatchMode = true;
  for (int tab : {TabFileSelect, TabPreferences, TabDpOptions})
    EXPECT_EQ(ChangeTab(batch.App, batch.Tabs, tab), TTabAction::Refused);
  EXPECT_EQ(ChangeTab(batch.App, batch.Tabs, TabAbout), TTabAction::Changed);
}

TEST(OptionPanels, ResetKeepsTheEntries) {
  TOptionControls c;
  for (auto& box : c.PrPanPreferences) box.Checked = true;
  c.PrEdSubC = "\"#\"";
  c.PrCbXTab = " 8";
  c.PrEdCcolNw[1] = "10:20";
  c.PrEdNewLmt = "5:eod";
  PrButReset(c);
  for (const auto& box : c.PrPanPreferences) EXPECT_FALSE(box.Checked) << box.Caption;
  EXPECT_EQ(c.PrEdSubC + "|" + c.PrCbXTab + "|" + c.PrEdCcolNw[1] + "|" + c.PrEdNewLmt, "\"#\"| 8|10:20|5:eod");
}

TEST(OptionPanels, SubcEntryCheck) {
  struct Case {
    const char* Text;
    const char* Expected;
  } cases[] = {
      {"", "\".\""},       {"\"#\"", "\"#\""}, {"#", "\"#\""},   {"\"ab", "\"a\""},
      {"\"ab\"", "\"a\""}, {"xyz", "\"x\""},   {"\"", "\".\""}, {"\"\"\"", "\"\"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckSubcText(c.Text), c.Expected) << c.Text;
}

} // namespace
} // namespace quorlin
