#include "state/Controls.h"

namespace quorlin {

const std::array<const char*, PrefCount> PrefNames = {
    "Icas", "Rovr", "Fmvl", "Xdpl", "Fscl", "Ieof", "Lorl",
    "Subc", "Noss", "Xtab", "Sbsl", "Clnc", "Pcmp", "Ccol"};

const std::array<const char*, DpCount> DpNames = {
    "None", "Dsem", "Drem", "Dblk", "Ddlc", "Ddl2", "Dcpp", "Dvbc", "Dhtm", "Dcob", "Dudc", "Dud2"};

TOptionControls::TOptionControls()
    : PrPanPreferences{{
          {"PrCkIcas", "Icas", ":  Ignore case . Use case insensitive compare of text lines.", TagIcas},
          {"PrCkRovr", "Rovr", ":  Reformat override. Reclassify reformatted lines as matched lines.",
           TagRovr},
          {"PrCkFmvl", "Fmvl",
           ":  Flag insert (IM) and delete (DM) moved lines in ordered line-list files.", TagFmvl},
          {"PrCkXdpl", "Xdpl", ":  Exclude Dp, Comments and Dupes from report and output listing.",
           TagXdpl},
          {"PrCkFscl", "Fscl",
           ":  Full source up to 128 character list lines. In batch, 2048 character file lines.",
           TagFscl},
          {"PrCkIeof", "Ieof",
           ":  Ignore embedded EOF (\"1A\" Hex) character as text file \"end\" indicator.", TagIeof},
          {"PrCkLorl", "Lorl",
           ":  List old reformat line as next/side-by-side to new reformat line.", TagLorl},
          {"PrCkSubC", "Subc",
           ":  Use a           in \"display\" report as control character replacement .", TagSubc},
          {"PrCkNoss", "Noss", ":  Exclude overall summary and statistics section from report.",
           TagNoss},
          {"PrCkXTab", "Xtab",
           ":  Substitute blanks and expand tabs \"                \" spaces in report.", TagXtab},
          {"PrCkSbsl", "Sbsl",
           ":  Side-by-side or horizontal-split report with separate insert and delete panels.",
           TagSbsl},
          {"PrCkCLnC", "Clnc",
           ":  Compare unordered line-list files for Matches, Exclusions and Dupes.", TagClnc},
          {"PrCkPCmp", "Pcmp", ":  Part Compare File Ln#s", TagPcmp},
          {"PrCkCcol", "Ccol", ":  Compare columns", TagCcol},
      }} {}

TCompareCtl& TAppState::NewCompareCtl() {
  CompareCtl = std::make_unique<TCompareCtl>();
  RunFault = false;
  InputIoError = false;
  FileTooBig = false;
  InputErrorDetail.clear();
  return *CompareCtl;
}

const std::string& TAppState::InputPath(bool isNew) const {
  const std::string& read = isNew ? NewReadPath : OldReadPath;
  if (!read.empty()) return read;
  return isNew ? Controls.MnCbNewFileNm : Controls.MnCbOldFileNm;
}

void TAppState::Progress(std::string_view text) {
  if (!ProgressOn) return;
  FrontEnd->ShowProgress(text);
}

} // namespace quorlin
