// DisplayText and LineColour over a million-line listing: what the viewers
// pay to draw and what reports pay to build. Prints the time of one pass over
// every line with each panel rule; the aim is well under 0.5 s.
#include "viewers/LineModel.h"

#include <chrono>
#include <cstdio>

using namespace quorlin;

int main(int argc, char** argv) {
  const long lines = argc > 1 ? std::atol(argv[1]) : 1'000'000;
  TStringList panel1, panel2;
  const char* flags[] = {"    ", "I - ", "D - ", "RN- ", "RO- ", "    ", "    ", "IM- "};
  for (long i = 0; i < lines; ++i) {
    std::string text = std::string(flags[i % 8]) + "    statement_" + std::to_string(i) + "(alpha, beta);";
    text.resize(84, ' ');
    text += " 00001              00001";
    panel1.push_back(text);
    panel2.push_back(text);
  }
  TResultView view;
  view.Panel1 = &panel1;
  view.Panel2 = &panel2;
  view.StatsFirstLine = static_cast<int>(lines);
  view.ListChng = true;

  std::string text;
  size_t checksum = 0;
  auto start = std::chrono::steady_clock::now();
  for (TPanelRule rule : {TPanelRule::NewSide, TPanelRule::OldSide, TPanelRule::Single}) {
    for (long i = 0; i < lines; ++i) {
      DisplayText(view, rule, i, text);
      checksum += text.size() + static_cast<size_t>(LineColour(view, rule, i));
    }
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 3;
  std::printf("DisplayText + LineColour over %ld lines: %.3f s per panel rule (checksum %zu)\n", lines,
              seconds, checksum);
  return seconds < 0.5 ? 0 : 1;
}
