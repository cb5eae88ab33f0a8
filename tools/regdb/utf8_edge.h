#ifndef SALARY_TOOLS_REGDB_UTF8_EDGE_H_
#define SALARY_TOOLS_REGDB_UTF8_EDGE_H_

#include <string>

#include "base/value.h"

// The tool's edge: arguments and CSV come in as UTF-8 and leave as UTF-8; inside, text is GBK.
namespace sr::regdb {

// Converts `utf8` to GBK. A character GBK cannot hold fails with *error naming it and `what`.
bool ToGbk(const std::string& utf8, const std::string& what, Text* gbk, std::string* error);

// Converts GBK to UTF-8 for output. Bytes that are not GBK (a text cut inside a double-byte
// character, a damaged file) come out as '?'; the result is then false.
bool ToUtf8Shown(const Text& gbk, std::string* utf8);

// "CODE MESSAGE" of a database error code, in UTF-8.
std::string DatabaseErrorText(int code);

}  // namespace sr::regdb

#endif  // SALARY_TOOLS_REGDB_UTF8_EDGE_H_
