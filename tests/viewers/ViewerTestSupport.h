// Result views built from literal lines, for the viewer tests.
#pragma once

#include "viewers/LineModel.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace quorlin::test {

/// Owns two panel lists and a view of them.
struct TViewFixture {
  TStringList Panel1, Panel2;
  TResultView View;
  TViewFixture(const std::vector<std::string>& left, const std::vector<std::string>& right, int statsFirst,
               bool clnc = false, bool chng = true) {
    for (const auto& l : left) Panel1.push_back(l);
    for (const auto& r : right) Panel2.push_back(r);
    View.Panel1 = &Panel1;
    View.Panel2 = &Panel2;
    View.StatsFirstLine = statsFirst;
    View.Clnc = clnc;
    View.ListChng = chng;
    View.RunStamp = "12/06/26 10:00:00";
  }
};

/// A listing line with a change flag and some text.
inline std::string Line(const char* flag, const std::string& text) { return std::string(flag) + " " + text; }

} // namespace quorlin::test
