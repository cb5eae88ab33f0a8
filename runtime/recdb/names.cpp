#include "runtime/recdb/names.h"

#include "base/gbk.h"

namespace sr::recdb {

namespace {

bool TextsEqual(const Text& a, const Text& b, bool separators_alike) {
  if (a.size() != b.size()) return false;
  size_t pos = 0;
  while (pos < a.size()) {
    unsigned char x = a[pos];
    if (IsLeadByte(x) && pos + 1 < a.size()) {
      // A trail byte may be an ASCII letter; it must match exactly.
      if (a[pos] != b[pos] || a[pos + 1] != b[pos + 1]) return false;
      pos += 2;
      continue;
    }
    unsigned char y = b[pos];
    auto fold = [separators_alike](unsigned char c) {
      if (separators_alike && c == '\\') return static_cast<int>('/');
      return (c >= 'A' && c <= 'Z') ? c + 32 : static_cast<int>(c);
    };
    if (fold(x) != fold(y)) return false;
    ++pos;
  }
  return true;
}

}  // namespace

bool NamesEqual(const Text& a, const Text& b) { return TextsEqual(a, b, false); }

bool PathsEqual(const Text& a, const Text& b) { return TextsEqual(a, b, true); }

namespace {

// Offset of the extension's dot in the last path component, or npos.
size_t ExtensionDot(const Text& path) {
  size_t separator = LastSeparator(path);
  size_t start = separator == Text::npos ? 0 : separator + 1;
  size_t dot = path.rfind('.');
  if (dot == Text::npos || dot < start) return Text::npos;
  return dot;
}

}  // namespace

Text WithDefaultExtension(const Text& path) {
  size_t dot = ExtensionDot(path);
  if (dot == Text::npos) return path + ".KDB";
  if (dot + 1 == path.size()) return path + "KDB";
  return path;
}

Text CompanionPath(const Text& database_path) {
  size_t dot = ExtensionDot(database_path);
  if (dot == Text::npos) return database_path + ".KDT";
  return database_path.substr(0, dot + 1) + "KDT";
}

Text FileTitle(const Text& path) {
  size_t separator = LastSeparator(path);
  Text name = separator == Text::npos ? path : path.substr(separator + 1);
  size_t dot = name.rfind('.');
  return dot == Text::npos ? name : name.substr(0, dot);
}

}  // namespace sr::recdb
