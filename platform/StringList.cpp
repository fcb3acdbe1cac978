#include "platform/StringList.h"

#include <cstring>

namespace quorlin {

void TStringList::push_back(std::string_view text) {
  if (text.empty()) {
    Lines.emplace_back();
    return;
  }
  if (text.size() > BlockSize / 4) {
    // A very long line gets a block of its own.
    LongBlocks.push_back(std::unique_ptr<char[]>(new char[text.size()]));
    char* p = LongBlocks.back().get();
    std::memcpy(p, text.data(), text.size());
    Lines.emplace_back(p, text.size());
    return;
  }
  if (Used + text.size() > BlockSize) {
    Blocks.push_back(std::unique_ptr<char[]>(new char[BlockSize]));
    Used = 0;
  }
  char* p = Blocks.back().get() + Used;
  std::memcpy(p, text.data(), text.size());
  Used += text.size();
  Lines.emplace_back(p, text.size());
}

void TStringList::clear() {
  Lines.clear();
  Lines.shrink_to_fit();
  Blocks.clear();
  LongBlocks.clear();
  Used = BlockSize;
}

} // namespace quorlin
