#include "platform/sheet/xlsx_file.h"

#include <xlsxwriter.h>

#include "runtime/convert/gbk.h"

namespace sr::sheet {

namespace {

lxw_error WriteCell(lxw_worksheet* sheet, int row, int column, const Cell& cell) {
  if (const double* number = std::get_if<double>(&cell)) {
    return worksheet_write_number(sheet, row, column, *number, nullptr);
  }
  return worksheet_write_string(sheet, row, column, ToUtf8(std::get<Text>(cell)).c_str(), nullptr);
}

}  // namespace

bool WriteXlsx(const Workbook& book, const std::string& path, std::string* error) {
  lxw_workbook* xlsx = workbook_new(path.c_str());
  if (!xlsx) {
    *error = "cannot create " + path;
    return false;
  }
  lxw_error failure = LXW_NO_ERROR;
  for (const Worksheet& sheet : book.sheets) {
    lxw_worksheet* out = workbook_add_worksheet(xlsx, ToUtf8(sheet.name).c_str());
    if (!out) {
      failure = LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
      break;
    }
    for (const auto& [position, cell] : sheet.cells) {
      lxw_error e = WriteCell(out, position.first, position.second, cell);
      if (e != LXW_NO_ERROR && failure == LXW_NO_ERROR) failure = e;
    }
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
