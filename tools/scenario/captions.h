#ifndef SALARY_TOOLS_SCENARIO_CAPTIONS_H_
#define SALARY_TOOLS_SCENARIO_CAPTIONS_H_

#include <vector>

#include "base/value.h"
#include "platform/ui/peer.h"

namespace sr::scenario {

// A caption as a script may name it: without the mnemonic ("&F" or a bare "&") and without the
// spaces around it, so "文件" names "&F 文件 " and "复制" names "复制       ".
Text PlainCaption(const Text& caption);

// True when `wanted` is the caption exactly or its plain form.
bool SameCaption(const Text& caption, const Text& wanted);

// The index of the drop-down entry `entry` under the menu-bar entry `bar`; -1 when missing.
int FindMenuEntry(const std::vector<ui::MenuEntrySpec>& menu, const Text& bar, const Text& entry);

}  // namespace sr::scenario

#endif  // SALARY_TOOLS_SCENARIO_CAPTIONS_H_
