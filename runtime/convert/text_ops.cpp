#include "base/gbk.h"
#include "runtime/convert/conversions.h"

namespace sr {
namespace {

unsigned char FoldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// The byte offset where a search from the 1-based `start` begins: start - 1 (at least 0), moved
// on to the next character boundary when it falls on a trail byte.
size_t SearchOffset(const Text& text, int start) {
  const size_t offset = start > 1 ? static_cast<size_t>(start) - 1 : 0;
  size_t pos = 0;
  while (pos < offset && pos < text.size()) pos = NextCharOffset(text, pos);
  return pos;
}

// Whether `sought` occurs at byte `pos`. Ignoring case folds only one-byte letters: a two-byte
// character must match exactly, even when its trail byte looks like a letter.
bool MatchesAt(const Text& text, size_t pos, const Text& sought, bool ignore_case) {
  if (text.size() - pos < sought.size()) return false;
  if (!ignore_case) return text.compare(pos, sought.size(), sought) == 0;
  for (size_t i = 0; i < sought.size();) {
    const unsigned char s = static_cast<unsigned char>(sought[i]);
    const unsigned char t = static_cast<unsigned char>(text[pos + i]);
    if (IsLeadByte(s)) {
      const size_t n = i + 1 < sought.size() ? 2 : 1;
      if (text.compare(pos + i, n, sought, i, n) != 0) return false;
      i += n;
    } else {
      if (FoldAscii(s) != FoldAscii(t)) return false;
      ++i;
    }
  }
  return true;
}

}  // namespace

int FindText(const Text& text, const Text& sought, int start, bool ignore_case) {
  for (size_t pos = SearchOffset(text, start); pos < text.size(); pos = NextCharOffset(text, pos)) {
    if (MatchesAt(text, pos, sought, ignore_case)) return static_cast<int>(pos) + 1;
  }
  return -1;
}

Text ReplaceText(const Text& text, const Text& sought, const Text& replacement, int start,
                 int count, bool case_sensitive) {
  size_t pos = SearchOffset(text, start);
  if (sought.empty() || pos >= text.size() || count == 0) return text;
  Text out = text.substr(0, pos);
  int replaced = 0;
  while (text.size() - pos >= sought.size() && (count < 0 || replaced < count)) {
    if (MatchesAt(text, pos, sought, !case_sensitive)) {
      out += replacement;
      pos += sought.size();
      ++replaced;
    } else {
      const size_t next = NextCharOffset(text, pos);
      out.append(text, pos, next - pos);
      pos = next;
    }
  }
  out.append(text, pos, Text::npos);
  return out;
}

}  // namespace sr
