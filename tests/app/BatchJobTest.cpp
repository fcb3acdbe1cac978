#include "app/BatchJob.h"

#include <gtest/gtest.h>

namespace quorlin {
namespace {

struct TDecoder {
  TSilentFrontEnd Ui;
  TAppState App{Ui};
  TBatchState Batch;
  std::string Pref(std::string_view op) { return DecodePref(App, Batch, op); }
  std::string Dpop(std::string_view op) { return DecodeDpop(App, op); }
};

TEST(BatchDecoder, PrefSingleKeywords) {
  // The golden listings and the batch runs use every other keyword.
  TDecoder d;
  EXPECT_EQ(d.Pref("sbsl"), "") << "taken and ignored";
  EXPECT_FALSE(d.App.Controls.Checked(TagSbsl));
  for (const char* bad : {"xtab", "subc", "ccol", "pcmp", "icas rovr", "", "bogus"})
    EXPECT_EQ(d.Pref(bad), ErrInvalidPref) << bad;
}

TEST(BatchDecoder, PrefWithOperands) {
  TDecoder d;
  EXPECT_EQ(d.Pref("ccol 10:20 30:eol"), "");
  EXPECT_EQ(d.App.Controls.PrEdCcolNw[0], "10:20");
  EXPECT_EQ(d.App.Controls.PrEdCcolNw[1], "30:eol");
  EXPECT_EQ(d.App.Controls.PrEdCcolOd[0], "1:eol");
  EXPECT_TRUE(d.App.Controls.Checked(TagCcol));
  EXPECT_EQ(d.Pref("ccol 5:9"), ""); // a later ccol sets the OLD ranges
  EXPECT_EQ(d.App.Controls.PrEdCcolOd[0], "5:9");
  EXPECT_EQ(d.App.Controls.PrEdCcolNw[0], "10:20");
  EXPECT_EQ(d.Pref("ccol 1:2 3:4 5:6 7:8 9:10"), ErrInvalidPref);

  EXPECT_EQ(d.Pref("pcmp 1:100 5:eod"), "");
  EXPECT_EQ(d.App.Controls.PrEdNewLmt, "1:100");
  EXPECT_EQ(d.App.Controls.PrEdOldlmt, "5:eod");
  EXPECT_TRUE(d.App.Controls.Checked(TagPcmp));
  TDecoder e;
  EXPECT_EQ(e.Pref("pcmp 1:100"), ErrInvalidPref);
  EXPECT_EQ(e.Pref("pcmp 1 5:eod"), ErrInvalidPref);
  EXPECT_FALSE(e.App.Controls.Checked(TagPcmp));
  EXPECT_EQ(e.Pref("xtab 8"), "");
  EXPECT_EQ(e.Pref("subc #"), "");
  EXPECT_EQ(e.App.Controls.PrCbXTab, " 4");
}

TEST(BatchDecoder, DpopForms) {
  TDecoder d;
  for (int index = 0; index < DpCount; ++index) {
    std::string name = DpNames[static_cast<size_t>(index)];
    EXPECT_EQ(d.Dpop(name), "") << name;
    EXPECT_EQ(d.App.Controls.DpRadioGroup1, index) << name;
  }
  EXPECT_EQ(d.Dpop("DCPP"), "");
  EXPECT_EQ(d.App.Controls.DpRadioGroup1, DpDcpp);

  EXPECT_EQ(d.Dpop("dps2 \"END IF\""), "");
  EXPECT_TRUE(d.App.Controls.DpCkDpS[1]);
  EXPECT_EQ(d.App.Controls.DpEdS[1], "END IF");
  EXPECT_EQ(d.Dpop("dpln  abc 1:5 \"x y\" 3:eol"), "");
  EXPECT_EQ(d.App.Controls.DpEdDpDln[0], "abc 1:5 \"x y\" 3:eol") << "the text after the keyword as it is";

  EXPECT_EQ(d.Dpop("dudc ;; yes"), "");
  EXPECT_EQ(d.App.Controls.DpEdUdc, ";;");
  EXPECT_EQ(d.App.Controls.DpCbUdcYN, "Yes");
  EXPECT_EQ(d.Dpop("dudc ;; maybe"), ErrInvalidDpop);
  EXPECT_EQ(d.Dpop("dud2 rem ' "), "");
  EXPECT_EQ(d.App.Controls.DpRadioGroup1, DpDud2);
  EXPECT_EQ(d.App.Controls.DpEdUdc2, "rem");
  EXPECT_EQ(d.App.Controls.DpEdUdc3, "'");
  for (const char* bad : {"", "dxyz", "1"}) EXPECT_EQ(d.Dpop(bad), ErrInvalidDpop) << bad;
}

TEST(BatchDecoder, ListTypeText) {
  EXPECT_EQ(ListTypeText("OVSUM"), "Ovsum");
  EXPECT_EQ(ListTypeText(""), "");
}

} // namespace
} // namespace quorlin
