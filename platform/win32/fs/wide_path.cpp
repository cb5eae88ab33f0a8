#include "platform/win32/fs/wide_path.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/win32/fs/windows_error.h"
#include "platform/win32/text/wide_text.h"

namespace sr::win32 {
namespace {

// The longest name of a file or folder that Windows' file systems hold (NTFS and FAT alike).
// Said here, because Wine, on a Linux file system, reports a longer one as missing.
constexpr size_t kMaxNameLength = 255;

size_t LongestName(const std::wstring& wide) {
  size_t longest = 0, start = 0;
  for (size_t end; (end = wide.find(L'\\', start)) != std::wstring::npos; start = end + 1) {
    longest = std::max(longest, end - start);
  }
  return std::max(longest, wide.size() - start);
}

}  // namespace

int ToWidePath(const fs::Path& path, std::wstring* wide) {
  if (path.empty() || path.find('\0') != fs::Path::npos) return fs::kBadPath;
  std::optional<std::wstring> converted = GbkToWide(path);
  if (!converted) return fs::kBadPath;
  // In UTF-16 a backslash is always itself: a GBK trail byte 0x5C became part of its character.
  std::replace(converted->begin(), converted->end(), L'/', L'\\');
  if (LongestName(*converted) > kMaxNameLength) return fs::kBadPath;
  *wide = std::move(*converted);
  return fs::kOk;
}

int FromWidePath(std::wstring wide, fs::Path* path) {
  if (wide.starts_with(L"\\\\?\\UNC\\")) {
    wide.replace(0, 8, L"\\\\");
  } else if (wide.starts_with(L"\\\\?\\")) {
    wide.erase(0, 4);
  }
  std::replace(wide.begin(), wide.end(), L'\\', L'/');
  std::optional<std::string> gbk = WideToGbk(wide);
  if (!gbk) return fs::kBadPath;
  *path = std::move(*gbk);
  return fs::kOk;
}

std::wstring WideParent(const std::wstring& wide) {
  const size_t separator = wide.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return L".";
  if (separator == 0 || (separator == 2 && wide[1] == L':')) return wide.substr(0, separator + 1);
  return wide.substr(0, separator);
}

int PathFailureCode(uint32_t error, const std::wstring& wide) {
  if (error == ERROR_FILE_NOT_FOUND) {
    const DWORD folder = GetFileAttributesW(WideParent(wide).c_str());
    if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY)) {
      error = ERROR_PATH_NOT_FOUND;
    }
  }
  return CodeForWindowsError(error);
}

}  // namespace sr::win32
