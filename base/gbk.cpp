#include "base/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace sr {
namespace {

// One conversion through iconv. Code page 936 is what Windows calls GBK; glibc names it CP936.
bool Convert(const char* to, const char* from, const std::string& in, std::string* out,
             std::string* bad, bool lenient) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out->clear();
  std::vector<char> buffer(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  bool ok = true;
  while (src_left > 0) {
    char* dst = buffer.data();
    size_t dst_left = buffer.size();
    size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out->append(buffer.data(), dst - buffer.data());
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: a character that the target cannot hold, or a cut sequence.
    if (bad != nullptr && bad->empty()) {
      size_t n = 1;
      while (n < src_left && n < 4 && (static_cast<unsigned char>(src[n]) & 0xC0) == 0x80) ++n;
      bad->assign(src, n);
    }
    ok = false;
    if (!lenient) break;
    out->push_back('?');
    size_t skip = 1;
    if (std::string(from) == "UTF-8") {
      while (skip < src_left && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
    } else if (IsLeadByte(static_cast<unsigned char>(*src)) && src_left > 1) {
      skip = 2;
    }
    src += skip;
    src_left -= skip;
  }
  iconv_close(cd);
  return ok;
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
  return Convert("UTF-8", "CP936", gbk, utf8, bad, false);
}

bool Utf8ToGbk(const std::string& utf8, Text* gbk, std::string* bad) {
  return Convert("CP936", "UTF-8", utf8, gbk, bad, false);
}

std::string ToUtf8(const Text& gbk) {
  std::string out;
  Convert("UTF-8", "CP936", gbk, &out, nullptr, true);
  return out;
}

Text FromUtf8(const std::string& utf8) {
  Text out;
  Convert("CP936", "UTF-8", utf8, &out, nullptr, true);
  return out;
}

}  // namespace sr
