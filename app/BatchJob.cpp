#include "app/BatchJob.h"

#include "engine/DpFilters.h"
#include "state/Tokenizer.h"
#include "platform/Text.h"

namespace quorlin {

std::string DecodeDpop(TAppState& app, std::string_view operand) {
  TOptionControls& c = app.Controls;
  std::vector<std::string> tokens = ParseParmTokens(operand);
  if (tokens.empty()) return ErrInvalidDpop;
  const std::string first = LowerAscii(tokens[0]);

  if (first == "dps1" || first == "dps2" || first == "dps3") {
    if (tokens.size() < 2) throw TParmException("\"" + first + "\" needs the string of its filter");
    size_t k = static_cast<size_t>(first[3] - '1');
    c.DpCkDpS[k] = true;
    c.DpEdS[k] = tokens[1];
    return {};
  }
  if (first == "dpln") {
    const std::string_view rest = DlnOperandText(operand);
    for (size_t k = 0; k < c.DpCkDpDln.size(); ++k) {
      if (!c.DpCkDpDln[k]) {
        c.DpCkDpDln[k] = true;
        c.DpEdDpDln[k] = std::string(rest);
        break;
      }
    }
    return {};
  }
  for (int index = 0; index < DpCount; ++index) {
    if (first != LowerAscii(DpNames[static_cast<size_t>(index)])) continue;
    // The user-defined options may bring their strings along:
    // "dudc STRING [yes|no]" and "dud2 LINESTART EMBEDDED".
    if (index == DpDudc && tokens.size() >= 2) {
      c.DpEdUdc = tokens[1];
      if (tokens.size() >= 3) {
        std::string yn = LowerAscii(tokens[2]);
        if (yn != "yes" && yn != "no") return ErrInvalidDpop;
        c.DpCbUdcYN = yn == "yes" ? "Yes" : "No";
      }
    } else if (index == DpDud2 && tokens.size() >= 3) {
      c.DpEdUdc2 = tokens[1];
      c.DpEdUdc3 = tokens[2];
    }
    c.DpRadioGroup1 = index;
    return {};
  }
  return ErrInvalidDpop;
}

std::string DecodePref(TAppState& app, TBatchState& batch, std::string_view operand) {
  TOptionControls& c = app.Controls;
  std::vector<std::string> tokens = ParseParmTokens(operand);
  if (tokens.empty()) return ErrInvalidPref;
  const std::string first = LowerAscii(tokens[0]);

  if (tokens.size() == 1) {
    static const std::pair<const char*, int> boxes[] = {
        {"icas", TagIcas}, {"rovr", TagRovr}, {"fmvl", TagFmvl}, {"xdpl", TagXdpl},
        {"ieof", TagIeof}, {"lorl", TagLorl}, {"noss", TagNoss}, {"clnc", TagClnc}};
    for (const auto& [word, tag] : boxes) {
      if (first == word) {
        c.Pref(tag).Checked = true;
        return {};
      }
    }
    if (first == "fscl") {
      c.Pref(TagFscl).Checked = true;
      batch.FsclBuffers = true;
    } else if (first == "nslg") {
      app.NslgOpt = true;
    } else if (first == "nwlg") {
      app.NewLogOpt = true;
    } else if (first == "nowt") {
      app.NoWaitOpt = true;
    } else if (first == "apnd") {
      app.AppendOpt = true;
    } else if (first == "nosw") {
      app.NoShowOpt = true;
      app.NoWaitOpt = true;
    } else if (first != "sbsl") {
      return ErrInvalidPref;
    }
    return {};
  }

  if (first == "ccol") {
    if (tokens.size() > 5) return ErrInvalidPref;
    auto& ranges = batch.CcolSeen ? c.PrEdCcolOd : c.PrEdCcolNw;
    if (!batch.CcolSeen) {
      c.PrEdCcolOd[0] = "1:eol";
      c.Pref(TagCcol).Checked = true;
      batch.CcolSeen = true;
    }
    for (size_t k = 1; k < tokens.size(); ++k) ranges[k - 1] = tokens[k];
    return {};
  }
  if (first == "pcmp") {
    if (tokens.size() != 3) return ErrInvalidPref;
    c.PrEdNewLmt = tokens[1];
    c.PrEdOldlmt = tokens[2];
    if (tokens[1].find(':') == std::string::npos || tokens[2].find(':') == std::string::npos)
      return ErrInvalidPref;
    c.Pref(TagPcmp).Checked = true;
    return {};
  }
  if (first == "xtab" || first == "subc") return {};
  return ErrInvalidPref;
}

std::string ListTypeText(std::string_view operand) {
  std::string text = LowerAscii(operand);
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

bool KnownListType(std::string_view type) {
  return type == "Chng" || type == "Delta" || type == "Long" || type == "Ovsum";
}

std::string_view DlnOperandText(std::string_view operand) {
  while (!operand.empty() && static_cast<unsigned char>(operand.front()) <= 32) operand.remove_prefix(1);
  operand.remove_prefix(std::min<size_t>(4, operand.size()));
  while (!operand.empty() && operand.front() == ' ') operand.remove_prefix(1);
  return operand;
}

std::string CheckDlnOperand(const TOptionControls& controls, std::string_view operand) {
  std::vector<DlnCondition> conditions;
  if (!ParseDlnSpec(DlnOperandText(operand), conditions)) return ErrInvalidDpop;
  for (bool used : controls.DpCkDpDln)
    if (!used) return {};
  return "No more than four dpln filters";
}

} // namespace quorlin
