#include "app/UserSettings.h"

#include "TestSupport.h"
#include "app/OptionsSummary.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace quorlin {
namespace {

/// A settings state with its own file in a temporary directory.
struct TIni : test::TAppFixture {
  TIni() { App.Settings.FileName = Dir.PathOf("Quorln32.ini"); }
  TOptionControls& C() { return App.Controls; }
  TUserSettings& S() { return App.Settings; }
  bool Load(const std::string& bytes) {
    Dir.Write("Quorln32.ini", bytes);
    return LoadUserIni(App);
  }
  /// Saves, and returns the file's bytes: they show every stored value.
  std::string Saved() {
    std::string error;
    EXPECT_TRUE(SaveUserIni(App, error)) << error;
    return test::ReadBytes(App.Settings.FileName);
  }
};

TEST(UserSettings, TwelveNameHistoryReadsBackTen) {
  TIni a;
  std::vector<std::string> files;
  for (int i = 0; i < 13; ++i) files.push_back(a.Dir.Write("Hist" + std::to_string(i) + ".TXT", ""));
  a.C().MnCbNewFileNmItems = files;
  a.C().MnCbNewFileNm = files[4]; // the current name is not stored as history
  const std::string bytes = a.Saved();
  files.erase(files.begin() + 4);
  EXPECT_EQ(a.C().MnCbNewFileNmItems, files) << "and it leaves the combo's own list";
  EXPECT_NE(bytes.find("\r\nNFCombo11=" + files[11] + "\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("NFCombo12"), std::string::npos);

  TIni b;
  b.S().FileName = a.S().FileName;
  ASSERT_TRUE(LoadUserIni(b.App));
  EXPECT_EQ(b.C().MnCbNewFileNmItems, std::vector<std::string>(files.begin(), files.begin() + 10));

  std::filesystem::remove(files[0]); // gone since the save, and so is an older entry
  b.C().MnCbOldFileNmItems = {b.Dir.PathOf("gone.txt")};
  b.C().MnCbNewFileNmItems.clear();
  ASSERT_TRUE(LoadUserIni(b.App));
  EXPECT_EQ(b.C().MnCbNewFileNmItems, std::vector<std::string>(files.begin() + 1, files.begin() + 10));
  EXPECT_TRUE(b.C().MnCbOldFileNmItems.empty());
}

TEST(UserSettings, ReadRules) {
  TIni ini;
  ini.C().DpCkDpDln[1] = true;
  ASSERT_TRUE(ini.Load("[Quorln32]\r\nnewFILENM = /Data/Mixed.TXT\r\nDpEdUdc=  \"\"#\"\"  \nSubC=xyz\nXTab= 6 \n"
                       "VHWide2=123456\nPr2FontSz=123\nOutFn=" + std::string(150, 'a') +
                       "\nTop=12x\nLeft=-40\nSpSplit2=300\nDpEdUdc2=--\nCmpOSt1Col=12\nCmpStCol=5\nCmpStopCol=20\n"
                       "UdcYN=yes\nViewResults=yes\nOmitIniSv=1\nSbsRp=7\nDpCkDpDLn2=0\nDpCkDpDLn3=1\n"
                       "Dps3=a\nDps3=b\n"));
  const TOptionControls& c = ini.C();
  const TUserSettings& s = ini.S();
  EXPECT_EQ(c.MnCbNewFileNm, "/Data/Mixed.TXT");
  EXPECT_EQ(c.PrEdSubC, "\"x\"");
  EXPECT_EQ(c.PrCbXTab, "6");
  EXPECT_EQ(s.Horizontal.Width, "1234");
  EXPECT_EQ(s.Pr2FontSz, "12");
  EXPECT_EQ(s.OutFn.size(), 149u) << "at most 149 characters are kept";
  EXPECT_EQ(s.Top + "|" + s.Left, "|-40") << "Top is no number";
  EXPECT_EQ(s.SpSplit + "|" + s.SpSplit2, "|300");
  EXPECT_EQ(c.DpEdUdc + "|" + c.DpEdUdc2, "\"#\"|--") << "blanks, then one pair of quotes removed";
  EXPECT_EQ(c.PrEdCcolOd[0], "") << "a range without \":\"";
  EXPECT_EQ(c.PrEdCcolNw[0] + "|" + c.PrEdCcolNw[1], "5:20|5:20");
  EXPECT_EQ(c.DpCbUdcYN, "Yes");
  EXPECT_FALSE(s.MnCkViewResults);
  EXPECT_TRUE(s.MnCkOmitIniSv);
  EXPECT_EQ(s.SbsRp, 0);
  EXPECT_TRUE(c.DpCkDpDln[1] && c.DpCkDpDln[2]) << "only \"1\" changes a Dln box";
  EXPECT_EQ(c.DpEdS[2], "b");

  ASSERT_TRUE(ini.Load("[Quorln32]\nCmpStCol=5\nXTab=0\nListType=long\n"));
  EXPECT_EQ(ini.C().PrEdCcolNw[0], "") << "New range 1 without \":\"";
  EXPECT_EQ(ini.C().PrCbXTab, "6") << "not a tab width";
  EXPECT_EQ(ini.C().MnCbListType, "Long") << "the listing type in any case";
  ASSERT_TRUE(ini.Load("[Quorln32]\nListType=Bogus\n"));
  EXPECT_EQ(ini.C().MnCbListType, "Chng") << "an unknown type loads as Chng";
}

TEST(UserSettings, OptsUsedRestoresOptions) {
  struct Case {
    std::string Value, Summary, Checked, Dps;
    int Dp;
  } cases[] = {
      {"Icas Xtab Dsem ", "Icas Xtab Dsem", "Icas Xtab ", "000", DpDsem},
      {"icas DPS2 Dpln Dud2 Zzzz Nwlg ", "Icas Dps2 Dpln Dud2", "Icas ", "010", DpDud2},
      {"Ccol Su", "Ccol", "Ccol ", "000", DpNone},
      {"None Icas", "None", "", "000", DpNone},
      {"Xyzw Dxyz", "None", "", "000", DpNone},
  };
  for (const Case& c : cases) {
    TIni ini;
    ASSERT_TRUE(ini.Load("[Quorln32]\nOptsUsed=" + c.Value + "\n"));
    std::string checked, dps;
    for (const TCheckBox& box : ini.C().PrPanPreferences)
      if (box.Checked) checked += std::string(box.Caption) + " ";
    for (bool on : ini.C().DpCkDpS) dps += on ? '1' : '0';
    EXPECT_EQ(ini.C().MnlblOptsUsed, c.Summary) << c.Value;
    EXPECT_EQ(checked, c.Checked) << c.Value;
    EXPECT_EQ(dps, c.Dps) << c.Value;
    EXPECT_EQ(ini.C().DpRadioGroup1, c.Dp) << c.Value;
  }
}

/// Sets the stored values a reset before loading keeps away from their
/// defaults: the file names and histories (the files are made in dir), the
/// comment strings, the listing type, the no-warn box and the viewers.
void SetKept(TIni& a, const test::TTempDir& dir) {
  TOptionControls& c = a.C();
  TUserSettings& s = a.S();
  auto file = [&dir](const char* name) { return dir.Write(name, "x\n"); };
  c.MnCbNewFileNm = file("New File.TXT");
  c.MnCbOldFileNm = file("old.txt ");
  c.MnCbNewFileNmItems = {file("N1.txt"), file("n1.txt")};
  c.MnCbOldFileNmItems = {file("O1.txt")};
  c.FsTcNewFileNmItems = {file("F1.txt")};
  c.FsTcOldFileNmItems = {file("G1.txt"), file("G2.txt")};
  c.MnCbListType = "Long";
  c.DpEdUdc = c.DpEdUdc2 = c.DpEdUdc3 = "--";
  c.DpCbUdcYN = "Yes";
  s.Top = "-12";
  s.Left = s.SpSplit = s.SpSplit2 = "300";
  s.Width = "900";
  s.Height = "700";
  s.ShowChgChars = false;
  s.FsCkNoWarnNoFileChg = true;
  s.Single = {"10", "11", "12", "13"};
  s.Dual = {"20", "21", "22", "23"};
  s.Horizontal = {"30", "31", "32", "33"};
  s.LBx1FontSz = s.Pr1FontSz = s.LBx2FontSz = s.Pr2FontSz = "10";
  s.OutFn = "/tmp/report out.txt";
  s.SbsRp = 1;
}

/// Sets every stored value away from its default.
void SetAll(TIni& a, const test::TTempDir& dir) {
  SetKept(a, dir);
  TOptionControls& c = a.C();
  for (int tag : {TagIcas, TagSubc, TagXtab, TagPcmp, TagCcol}) c.Pref(tag).Checked = true;
  c.PrEdSubC = "\"\"\""; // a double quote: one pair of quotes is taken off when read
  c.PrCbXTab = "6";
  c.PrEdNewLmt = "10:200";
  c.PrEdOldlmt = "3:eod";
  c.PrEdCcolNw = {"1:10", "20:eol", "", "7:8"};
  c.PrEdCcolOd = {"5:14", "30:eol", "40:50", ""};
  c.DpRadioGroup1 = DpDcob;
  c.DpCkDpS = {false, true, false};
  c.DpEdS = {" * ", "rem", "\"x\""}; // reading would alter the first and the last
  c.DpCkDpDln = {true, false, false, true};
  c.DpEdDpDln = {"\"a b\" 1:5 \"c d\"", "abc", "", "x 3:eol"};
  BuildOptsSummary(a.App);
  c.MnlblOptsUsed.pop_back(); // read back without its trailing blank
  a.S().MnCkViewResults = a.S().MnCkTurnOffHint = true;
}

TEST(UserSettings, RoundTripOfAllSettings) {
  TIni a, b;
  SetAll(a, a.Dir);
  const std::string bytes = a.Saved();
  EXPECT_NE(bytes.find("\r\nSubC=\"\"\"\r\n"), std::string::npos) << "written as it is";
  EXPECT_NE(bytes.find("\r\nDps1=\" * \"\r\nDps2=rem\r\nDps3=\"\"x\"\"\r\n"), std::string::npos);
  b.S().FileName = a.S().FileName;
  ASSERT_TRUE(LoadUserIni(b.App));
  EXPECT_EQ(b.Saved(), bytes);

  ResetBeforeLoad(a.App);
  ASSERT_TRUE(LoadUserIni(a.App));
  EXPECT_EQ(a.Saved(), bytes);
}

TEST(UserSettings, FileWithoutSectionLeavesResetDefaults) {
  TIni ini, expected;
  SetAll(ini, ini.Dir);
  ini.S().MnCkOmitIniSv = true;
  ResetBeforeLoad(ini.App);
  SetKept(expected, ini.Dir);
  const std::string defaults = expected.Saved();
  EXPECT_FALSE(ini.S().MnCkOmitIniSv);
  EXPECT_EQ(ini.Saved(), defaults);

  ini.S().FileName = ini.Dir.Write("other.ini", "; none here\n[Other]\nTop=5\nOptsUsed=Icas \n");
  EXPECT_TRUE(LoadUserIni(ini.App));
  ini.S().FileName = ini.Dir.PathOf("Quorln32.ini");
  EXPECT_EQ(ini.Saved(), defaults);
}

TEST(UserSettings, DamagedFileSkipsOnlyBadLines) {
  const std::string huge(100000, 'x');
  TIni ini;
  ASSERT_TRUE(
      ini.Load("junk\n[Quorln32]\r\nTop=10\r\n" + std::string("\0\x01\xffListType=\x02", 13) +
               "\r\nLeft=20\nListType=" + huge + "\n" + huge + "\nno equals sign\n=value\n" +
               "Top=abc\n[\x01" + "Bad]\nNewFileNm=/data/Mixed Case.txt\n\xff\xfe\nDps2=ok"));
  EXPECT_EQ(ini.S().Top + "|" + ini.S().Left, "10|20");
  EXPECT_EQ(ini.C().MnCbListType, "Chng");
  EXPECT_EQ(ini.C().MnCbNewFileNm, "/data/Mixed Case.txt");
  EXPECT_EQ(ini.C().DpEdS[1], "ok");
  ini.Saved(); // and the damaged file can be rewritten; random bytes: the fuzz target user_settings
}

TEST(UserSettings, SaveKeepsOtherSections) {
  TIni ini;
  const std::string section = ini.Saved();
  ini.Dir.Write("Quorln32.ini",
                "; kept\r\n[Window]\r\nx=1\r\n\r\n[quorln32]\r\nTop=1\r\nStale=2\r\n"
                "[Print]\nMargin = 5\n[QUORLN32]\nTop=3\n[Last]\nb=\"2\"");
  const std::string expected = "; kept\r\n[Window]\r\nx=1\r\n\r\n" + section +
                               "[Print]\r\nMargin = 5\r\n[Last]\r\nb=\"2\"\r\n";
  EXPECT_EQ(ini.Saved(), expected);
  EXPECT_EQ(ini.Saved(), expected) << "a second save replaces the section";

  std::filesystem::create_symlink("Quorln32.ini", ini.Dir.PathOf("linked.ini"));
  ini.S().FileName = ini.Dir.PathOf("linked.ini");
  EXPECT_EQ(ini.Saved(), expected) << "saved through a link";
  EXPECT_TRUE(std::filesystem::is_symlink(ini.S().FileName)) << "the link stays a link";
}

TEST(UserSettings, SaveAndLoadFailures) {
  TIni ini;
  const std::string fifo = ini.Dir.PathOf("pipe.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (std::string name :
       {std::string(), ini.Dir.PathOf("missing/Quorln32.ini"), ini.Dir.Path.string(), fifo}) {
    ini.S().FileName = name;
    std::string error;
    EXPECT_FALSE(SaveUserIni(ini.App, error)) << name;
    EXPECT_NE(error.find(name), std::string::npos) << error;
    EXPECT_FALSE(LoadUserIni(ini.App)) << name << ": and it does not wait for a writer";
  }
  EXPECT_TRUE(std::filesystem::is_fifo(fifo)) << "what cannot be read is left as it is";
}

} // namespace
} // namespace quorlin
