#include "platform/win32/text/wide_text.h"

#include <windows.h>

namespace sr::win32 {
namespace {

constexpr UINT kGbkCodePage = 936;

std::optional<std::wstring> ToWide(UINT code_page, std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  const int in_size = static_cast<int>(bytes.size());
  const int size =
      MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), in_size, nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), in_size, wide.data(), size);
  return wide;
}

std::optional<std::string> FromWide(UINT code_page, std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int in_size = static_cast<int>(wide.size());
  // Code page 936 reports a character it cannot hold through used_default; UTF-8 refuses a lone
  // surrogate with WC_ERR_INVALID_CHARS (and takes no used_default).
  const bool gbk = code_page == kGbkCodePage;
  const DWORD flags = gbk ? WC_NO_BEST_FIT_CHARS : WC_ERR_INVALID_CHARS;
  BOOL used_default = FALSE;
  BOOL* check = gbk ? &used_default : nullptr;
  const int size =
      WideCharToMultiByte(code_page, flags, wide.data(), in_size, nullptr, 0, nullptr, check);
  if (size == 0 || used_default) return std::nullopt;
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(code_page, flags, wide.data(), in_size, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

}  // namespace

std::optional<std::wstring> GbkToWide(std::string_view gbk) { return ToWide(kGbkCodePage, gbk); }

std::optional<std::string> WideToGbk(std::wstring_view wide) {
  return FromWide(kGbkCodePage, wide);
}

std::optional<std::wstring> Utf8ToWide(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }

std::optional<std::string> WideToUtf8(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }

}  // namespace sr::win32
