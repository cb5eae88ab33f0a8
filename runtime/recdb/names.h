#ifndef SALARY_RUNTIME_RECDB_NAMES_H_
#define SALARY_RUNTIME_RECDB_NAMES_H_

#include "base/value.h"

// How the record database names its files and fields: comparisons and the parts of a path. No
// byte of a file's format is here, so code above the record database may use it.
namespace sr::recdb {

// Field names compare without regard to the case of ASCII letters; other bytes must be equal.
bool NamesEqual(const Text& a, const Text& b);
// Paths compare as names do, and a backslash matches a slash: the file seam hands paths back with
// '/', while a Windows user writes '\'. (A trail byte 0x5C of a GBK character is no separator.)
bool PathsEqual(const Text& a, const Text& b);

// Paths: "KDB" is the default extension; the companion file has the extension "KDT".
Text WithDefaultExtension(const Text& path);
Text CompanionPath(const Text& database_path);
// The file name without its folder and extension: "ZhongZhuan" for "\ZhongZhuan.rgq".
Text FileTitle(const Text& path);

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_NAMES_H_
