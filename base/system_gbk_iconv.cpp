// The GBK converter on Linux: glibc's iconv, which names code page 936 "CP936".
#include <iconv.h>

#include <cerrno>

#include "base/system_gbk.h"

namespace sr::system_gbk {
namespace {

bool Convert(const char* to, const char* from, std::string_view in, std::string* out,
             size_t* stop) {
  out->clear();
  *stop = 0;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char buffer[4096];
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  bool ok = true;
  while (src_left > 0) {
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    const size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out->append(buffer, dst - buffer);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {  // EILSEQ or EINVAL (cut off)
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  *stop = in.size() - src_left;
  return ok;
}

}  // namespace

bool GbkToUtf8(std::string_view gbk, std::string* utf8, size_t* stop) {
  return Convert("UTF-8", "CP936", gbk, utf8, stop);
}

bool Utf8ToGbk(std::string_view utf8, std::string* gbk, size_t* stop) {
  return Convert("CP936", "UTF-8", utf8, gbk, stop);
}

}  // namespace sr::system_gbk
