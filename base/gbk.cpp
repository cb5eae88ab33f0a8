#include "base/gbk.h"

#include <string_view>

#include "base/system_gbk.h"

namespace sr {
namespace {

// Length of the character at the start of `text`: a UTF-8 lead byte and the continuation bytes
// after it, or a GBK lead byte and its trail byte. A byte that cannot follow a lead byte is a
// character of its own, so that a bad lead byte does not swallow the next character.
size_t CharLength(std::string_view text, bool utf8) {
  size_t n = 1;
  if (utf8) {
    while (n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) ++n;
    return n;
  }
  const auto lead = static_cast<unsigned char>(text[0]);
  const auto trail = text.size() > 1 ? static_cast<unsigned char>(text[1]) : 0;
  const bool pair = lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
  return pair ? 2 : 1;
}

using Converter = bool (*)(std::string_view, std::string*, size_t*);

// Converts `in` with the system's converter. A character it cannot convert fails the whole
// conversion (*bad names the first one, for the message); a lenient conversion goes on and puts
// '?' in its place.
bool Convert(Converter convert, bool from_utf8, std::string_view in, std::string* out,
             std::string* bad, bool lenient) {
  out->clear();
  bool ok = true;
  std::string part;
  for (;;) {
    size_t stop = 0;
    const bool whole = convert(in, &part, &stop);
    out->append(part);
    if (whole) return ok;
    in.remove_prefix(stop);
    if (bad != nullptr && bad->empty() && !in.empty()) {
      bad->assign(in.substr(0, CharLength(in, true)));
    }
    ok = false;
    if (!lenient || in.empty()) return false;
    out->push_back('?');
    in.remove_prefix(CharLength(in, from_utf8));
  }
}

}  // namespace

size_t CharSafePrefixLength(const Text& text, size_t limit) {
  if (text.size() <= limit) return text.size();
  size_t pos = 0;
  while (pos < limit) {
    size_t next = NextCharOffset(text, pos);
    if (next > limit) break;
    pos = next;
  }
  return pos;
}

size_t LastSeparator(const Text& path) {
  size_t found = std::string::npos;
  for (size_t pos = 0; pos < path.size(); pos = NextCharOffset(path, pos)) {
    if (path[pos] == '\\' || path[pos] == '/') found = pos;
  }
  return found;
}

bool GbkToUtf8(const Text& gbk, std::string* utf8, std::string* bad) {
  return Convert(system_gbk::GbkToUtf8, false, gbk, utf8, bad, false);
}

bool Utf8ToGbk(const std::string& utf8, Text* gbk, std::string* bad) {
  return Convert(system_gbk::Utf8ToGbk, true, utf8, gbk, bad, false);
}

std::string ToUtf8(const Text& gbk) {
  std::string out;
  Convert(system_gbk::GbkToUtf8, false, gbk, &out, nullptr, true);
  return out;
}

Text FromUtf8(const std::string& utf8) {
  Text out;
  Convert(system_gbk::Utf8ToGbk, true, utf8, &out, nullptr, true);
  return out;
}

}  // namespace sr
