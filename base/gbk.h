#ifndef SALARY_BASE_GBK_H_
#define SALARY_BASE_GBK_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/value.h"

namespace sr {

// A byte of 0x80 or above starts a two-byte character.
inline bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

// Offset of the character after the one starting at `pos`. A lead byte at the very end of the
// text counts as a whole character, so the walk always ends at text.size().
inline size_t NextCharOffset(const Text& text, size_t pos) {
  if (pos >= text.size()) return text.size();
  if (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) return pos + 2;
  return pos + 1;
}

// Length in bytes of the longest prefix of `text` that is at most `limit` bytes long and does not
// end inside a two-byte character.
size_t CharSafePrefixLength(const Text& text, size_t limit);

// Position of the last folder separator ('\' or '/') in a GBK path, or npos. A trail byte 0x5C
// of a two-byte character is not a separator.
size_t LastSeparator(const Text& path);

// Unicode conversions for the seams. Each returns false when the input holds a character that
// the other side cannot hold (or a malformed sequence); *bad then names it, for the message.
bool GbkToUtf8(const Text& gbk, std::string* utf8, std::string* bad = nullptr);
bool Utf8ToGbk(const std::string& utf8, Text* gbk, std::string* bad = nullptr);

// Conveniences for places that already know the text converts (literals, tested data): an
// unconvertible character becomes '?'.
std::string ToUtf8(const Text& gbk);
Text FromUtf8(const std::string& utf8);

}  // namespace sr

#endif  // SALARY_BASE_GBK_H_
