#ifndef SALARY_BASE_SYSTEM_GBK_H_
#define SALARY_BASE_SYSTEM_GBK_H_

#include <cstddef>
#include <string>
#include <string_view>

// The system's converter between GBK (code page 936) and UTF-8, on which base/gbk.cpp builds the
// program's conversions. Each platform defines it once: glibc's iconv on Linux
// (base/system_gbk_iconv.cpp); the code page functions of Windows in platform/win32, the only
// folder that includes windows.h, which the Windows build links below base for this alone.
namespace sr::system_gbk {

// Converts all of `in`. On failure returns false; *out then holds the conversion of the text
// before the first character that cannot be converted (one the other side cannot hold, or a
// malformed or cut-off sequence) and *stop is that character's offset in `in`.
bool GbkToUtf8(std::string_view gbk, std::string* utf8, size_t* stop);
bool Utf8ToGbk(std::string_view utf8, std::string* gbk, size_t* stop);

}  // namespace sr::system_gbk

#endif  // SALARY_BASE_SYSTEM_GBK_H_
