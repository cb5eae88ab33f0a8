// The GBK converter of base on Windows: code page 936 through UTF-16. A whole text goes through
// in one call; only a text that fails is walked character by character, to say where.
#include "base/system_gbk.h"

#include <windows.h>

#include <optional>

#include "platform/win32/text/wide_text.h"

namespace sr::system_gbk {
namespace {

using Decode = std::optional<std::wstring> (*)(std::string_view);
using Encode = std::optional<std::string> (*)(std::wstring_view);

std::optional<std::string> Through(Decode decode, Encode encode, std::string_view in) {
  std::optional<std::wstring> wide = decode(in);
  if (!wide) return std::nullopt;
  return encode(*wide);
}

size_t GbkCharLength(std::string_view text) {
  return IsDBCSLeadByteEx(936, static_cast<BYTE>(text[0])) && text.size() > 1 ? 2 : 1;
}

size_t Utf8CharLength(std::string_view text) {
  size_t n = 1;
  while (n < text.size() && n < 4 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) ++n;
  return n;
}

bool Convert(Decode decode, Encode encode, size_t (*char_length)(std::string_view),
             std::string_view in, std::string* out, size_t* stop) {
  if (std::optional<std::string> whole = Through(decode, encode, in)) {
    *out = std::move(*whole);
    *stop = in.size();
    return true;
  }
  out->clear();
  size_t pos = 0;
  for (; pos < in.size();) {
    const std::string_view character = in.substr(pos, char_length(in.substr(pos)));
    std::optional<std::string> converted = Through(decode, encode, character);
    if (!converted) break;
    out->append(*converted);
    pos += character.size();
  }
  *stop = pos;
  return false;
}

}  // namespace

bool GbkToUtf8(std::string_view gbk, std::string* utf8, size_t* stop) {
  return Convert(win32::GbkToWide, win32::WideToUtf8, GbkCharLength, gbk, utf8, stop);
}

bool Utf8ToGbk(std::string_view utf8, std::string* gbk, size_t* stop) {
  return Convert(win32::Utf8ToWide, win32::WideToGbk, Utf8CharLength, utf8, gbk, stop);
}

}  // namespace sr::system_gbk
