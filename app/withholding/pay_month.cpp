#include "app/withholding/pay_month.h"

#include <memory>

#include "app/withholding/people_file.h"
#include "runtime/convert/conversions.h"

namespace sr::app {

Text PayMonthText(const PayMonth& pay_month) {
  Text month = ToText(pay_month.month);
  if (month.size() < 2) month = "0" + month;
  return Concat({ToText(pay_month.year), "-", month});
}

PayMonth NextMonth(const PayMonth& pay_month) {
  if (pay_month.month >= 12) return {pay_month.year + 1, 1};
  return {pay_month.year, pay_month.month + 1};
}

Text PayMonthPath(const Text& register_path) { return register_path + ".月份"; }

PayMonth ReadPayMonth(fs::FileSystem& files, const Text& register_path) {
  std::unique_ptr<fs::File> file;
  if (files.Open(PayMonthPath(register_path), fs::Access::kRead, fs::Share::kDenyNone,
                 fs::Disposition::kOpenExisting, &file) != fs::kOk) {
    return {};
  }
  char buffer[32] = {};
  size_t got = 0;
  if (file->ReadAt(0, buffer, sizeof(buffer) - 1, &got) != fs::kOk) return {};
  PayMonth pay_month;
  if (!ParseYearMonth(Text(buffer, got), &pay_month.year, &pay_month.month)) return {};
  return pay_month;
}

int WritePayMonth(fs::FileSystem& files, const Text& register_path, const PayMonth& pay_month) {
  std::unique_ptr<fs::File> file;
  int code = files.Open(PayMonthPath(register_path), fs::Access::kWrite, fs::Share::kDenyNone,
                        fs::Disposition::kCreateAlways, &file);
  const Text text = PayMonthText(pay_month);
  if (code == fs::kOk) code = file->WriteAt(0, text.data(), text.size());
  if (code == fs::kOk) code = file->Sync();
  return code;
}

}  // namespace sr::app
