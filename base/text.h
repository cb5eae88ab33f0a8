#ifndef SALARY_BASE_TEXT_H_
#define SALARY_BASE_TEXT_H_

#include <initializer_list>

#include "base/value.h"

namespace sr {

// The parts joined in order.
Text Concat(std::initializer_list<Text> parts);

// Byte-wise comparison as unsigned bytes: -1, 0 or 1.
int CompareText(const Text& a, const Text& b);

}  // namespace sr

#endif  // SALARY_BASE_TEXT_H_
