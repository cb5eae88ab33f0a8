#ifndef SALARY_PLATFORM_WIN32_TEXT_WIDE_TEXT_H_
#define SALARY_PLATFORM_WIN32_TEXT_WIDE_TEXT_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The program's texts are GBK bytes; the W functions of Windows take UTF-16. Every conversion
// names code page 936 itself, never the ANSI code page, so that a machine set to another
// language shows and stores the same characters.
namespace sr::win32 {

// The UTF-16 text, or nothing when `gbk` holds a byte sequence that code page 936 does not define
// (a lone lead byte, an unassigned pair).
std::optional<std::wstring> GbkToWide(std::string_view gbk);

// The GBK bytes, or nothing when `wide` holds a character that code page 936 cannot hold. No
// best-fit substitutes: a '?' or a look-alike must never reach a file in place of a name.
std::optional<std::string> WideToGbk(std::wstring_view wide);

// The same between UTF-8 and UTF-16; a malformed sequence or a lone surrogate gives nothing.
std::optional<std::wstring> Utf8ToWide(std::string_view utf8);
std::optional<std::string> WideToUtf8(std::wstring_view wide);

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_TEXT_WIDE_TEXT_H_
