#include "app/import/import_limits.h"

#include "base/text.h"
#include "runtime/convert/conversions.h"

namespace sr::app {

namespace {

Text Number(int64_t n) { return ToText(static_cast<double>(n)); }
Text Megabytes(int64_t bytes) { return Concat({Number(bytes >> 20), " MB"}); }

}  // namespace

Text CellPlace(long row, long column) {
  return Concat({"第 ", Number(row + 1), " 行第 ", Number(column + 1), " 列"});
}

Text LimitProblem(const xlsx::ReadFailure& failure) {
  using Limit = xlsx::ReadFailure::Limit;
  const Text cell = failure.row >= 0 ? CellPlace(failure.row, failure.column) : Text();
  switch (failure.limit) {
    case Limit::kNone:
      return Text();
    case Limit::kPartBytes:
      return Concat({"工作簿中的工作表解压后超过了导入的上限 ", Megabytes(xlsx::kMostPartBytes),
                     "：工资表用不到这么大的表。"});
    case Limit::kInflation:
      return Concat({"工作簿中的工作表解压后与压缩时的大小之比超过了导入的上限 ",
                     Number(xlsx::kMostInflation),
                     " 倍：这样的文件通常是故意做成的（“压缩炸弹”），不导入它。"});
    case Limit::kRows:
      return Concat({cell, "有数据，超过了导入的上限 ", Number(xlsx::kMostRows),
                     " 行（标题一行和最多 ", Number(xlsx::kMostRows - 1), " 人）。"});
    case Limit::kColumns:
      return Concat({cell, "有数据，超过了导入的上限：每行 ", Number(xlsx::kMostColumns), " 列。"});
    case Limit::kCellBytes:
      return Concat({cell, "的内容超过了导入的上限 ", Number(xlsx::kMostCellBytes), " 字节。"});
    case Limit::kTexts:
      return Concat({"工作簿中的文本超过了导入的上限 ", Number(xlsx::kMostTexts), " 个。"});
  }
  return Text();
}

Text FileTooLargeProblem() {
  return Concat({"文件大小超过了导入的上限 ", Megabytes(xlsx::kMostFileBytes),
                 "：工资表用不到这么大的文件。"});
}

}  // namespace sr::app
