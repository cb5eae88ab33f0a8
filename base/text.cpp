#include "base/text.h"

#include <algorithm>
#include <cstring>

namespace sr {

Text Concat(std::initializer_list<Text> parts) {
  size_t size = 0;
  for (const Text& part : parts) size += part.size();
  Text out;
  out.reserve(size);
  for (const Text& part : parts) out += part;
  return out;
}

int CompareText(const Text& a, const Text& b) {
  const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  if (c != 0) return c < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace sr
