#include "platform/sheet/xlsx_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

#include "base/gbk.h"
#include "platform/sheet/sheet_format.h"

namespace sr::sheet {

namespace {

// The workbook's cell formats, one per (number format, bold) that some cell uses; none for a
// cell as a new sheet has it.
class FormatCache {
 public:
  explicit FormatCache(lxw_workbook* xlsx) : xlsx_(xlsx) {}

  lxw_format* For(const Text& number_format, bool bold) {
    if (number_format == kGeneralFormat && !bold) return nullptr;
    lxw_format*& format = formats_[{number_format, bold}];
    if (format == nullptr) {
      format = workbook_add_format(xlsx_);
      if (format == nullptr) return nullptr;
      if (number_format != kGeneralFormat) {
        format_set_num_format(format, ToUtf8(number_format).c_str());
      }
      if (bold) format_set_bold(format);
    }
    return format;
  }

 private:
  lxw_workbook* xlsx_;
  std::map<std::pair<Text, bool>, lxw_format*> formats_;
};

lxw_error WriteCell(lxw_worksheet* sheet, int row, int column, const Cell& cell,
                    lxw_format* format) {
  if (const double* number = std::get_if<double>(&cell)) {
    return worksheet_write_number(sheet, row, column, *number, format);
  }
  return worksheet_write_string(sheet, row, column, ToUtf8(std::get<Text>(cell)).c_str(), format);
}

// Cells with their formats, column widths and frozen panes. Returns the first error.
lxw_error WriteSheet(const Worksheet& sheet, lxw_worksheet* out, FormatCache& formats) {
  lxw_error failure = LXW_NO_ERROR;
  auto note = [&failure](lxw_error e) {
    if (e != LXW_NO_ERROR && failure == LXW_NO_ERROR) failure = e;
  };
  for (const auto& [column, width] : sheet.column_widths) {
    note(worksheet_set_column(out, column, column, width, nullptr));
  }
  for (const auto& [position, cell] : sheet.cells) {
    const auto [row, column] = position;
    lxw_format* format =
        formats.For(NumberFormatAt(sheet, row, column), BoldAt(sheet, row, column));
    note(WriteCell(out, row, column, cell, format));
  }
  if (sheet.frozen && (sheet.split_row > 0 || sheet.split_column > 0)) {
    worksheet_freeze_panes(out, sheet.split_row, sheet.split_column);
  }
  return failure;
}

}  // namespace

std::string SaveWorkbookInto(const Workbook& book, const std::string& folder, std::string* error) {
  const std::string base = folder + "/" + ToUtf8("工资表-导出");
  for (int n = 1; n <= 9999; ++n) {
    const std::string path = base + std::to_string(n) + ".xlsx";
    // Claims the name first, so that no file of the user's is ever written over; the salaries
    // in it are the user's to read alone.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) {
      *error = path + ": " + std::strerror(errno);
      return std::string();
    }
    close(fd);
    if (WriteXlsx(book, path, error)) return path;
    unlink(path.c_str());
    return std::string();
  }
  *error = base + "*.xlsx: too many files";
  return std::string();
}

bool WriteXlsx(const Workbook& book, const std::string& path, std::string* error) {
  lxw_workbook* xlsx = workbook_new(path.c_str());
  if (!xlsx) {
    *error = "cannot create " + path;
    return false;
  }
  FormatCache formats(xlsx);
  lxw_error failure = LXW_NO_ERROR;
  for (const Worksheet& sheet : book.sheets) {
    lxw_worksheet* out = workbook_add_worksheet(xlsx, ToUtf8(sheet.name).c_str());
    if (!out) {
      failure = LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
      break;
    }
    lxw_error e = WriteSheet(sheet, out, formats);
    if (failure == LXW_NO_ERROR) failure = e;
  }
  // The workbook is written (and freed) by close even after a failed cell.
  lxw_error closed = workbook_close(xlsx);
  if (failure == LXW_NO_ERROR) failure = closed;
  if (failure != LXW_NO_ERROR) {
    *error = std::string("cannot write ") + path + ": " + lxw_strerror(failure);
    return false;
  }
  return true;
}

}  // namespace sr::sheet
