#include "tools/regdb/utf8_edge.h"

#include "base/gbk.h"
#include "runtime/recdb/errors.h"

namespace sr::regdb {

bool ToGbk(const std::string& utf8, const std::string& what, Text* gbk, std::string* error) {
  std::string bad;
  if (Utf8ToGbk(utf8, gbk, &bad)) return true;
  std::string shown;
  for (unsigned char c : bad) {
    static const char kHex[] = "0123456789ABCDEF";
    shown += "\\x";
    shown += kHex[c >> 4];
    shown += kHex[c & 15];
  }
  *error = what + " \"" + utf8 + "\": the character " + shown +
           (bad.size() > 1 ? " (\"" + bad + "\")" : "") + " has no GBK form";
  return false;
}

bool ToUtf8Shown(const Text& gbk, std::string* utf8) {
  if (GbkToUtf8(gbk, utf8)) return true;
  *utf8 = ToUtf8(gbk);
  return false;
}

std::string DatabaseErrorText(int code) {
  std::string message;
  ToUtf8Shown(DatabaseErrorMessage(code), &message);
  return std::to_string(code) + (message.empty() ? "" : " " + message);
}

}  // namespace sr::regdb
