#include "tools/scenario/captions.h"

namespace sr::scenario {

Text PlainCaption(const Text& caption) {
  Text plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      plain += caption[i];
    } else if (i + 1 < caption.size() && static_cast<unsigned char>(caption[i + 1]) < 0x80 &&
               caption[i + 1] != ' ') {
      ++i;  // the mnemonic letter
    }
  }
  size_t first = plain.find_first_not_of(' ');
  if (first == Text::npos) return Text();
  return plain.substr(first, plain.find_last_not_of(' ') - first + 1);
}

bool SameCaption(const Text& caption, const Text& wanted) {
  return caption == wanted || PlainCaption(caption) == wanted;
}

int FindMenuEntry(const std::vector<ui::MenuEntrySpec>& menu, const Text& bar, const Text& entry) {
  for (size_t i = 0; i < menu.size(); ++i) {
    if (menu[i].level != 0 || !SameCaption(menu[i].caption, bar)) continue;
    for (size_t j = i + 1; j < menu.size() && menu[j].level > 0; ++j) {
      if (SameCaption(menu[j].caption, entry)) return static_cast<int>(j);
    }
  }
  return -1;
}

}  // namespace sr::scenario
