#include "app/import/csv_table.h"

#include "app/import/import_limits.h"
#include "base/gbk.h"

namespace sr::app {

namespace {

bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = text[i];
    const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2
                                      : (lead >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

// Splits the text into rows of fields. A field that holds anything beyond the bounds stops the
// reading with *failure set; empty fields past the last column the bound allows are left out.
bool Split(std::string_view text, xlsx::SheetRows* rows, xlsx::ReadFailure* failure) {
  using Limit = xlsx::ReadFailure::Limit;
  std::vector<xlsx::SheetCell> row;
  std::string field;
  bool quoted = false, was_quoted = false;
  long row_number = 0, column = 0;
  auto beyond = [&](Limit limit) {
    failure->limit = limit, failure->row = row_number, failure->column = column;
    return false;
  };
  auto end_field = [&] {
    if (!field.empty() && row_number >= xlsx::kMostRows) return beyond(Limit::kRows);
    if (!field.empty() && column >= xlsx::kMostColumns) return beyond(Limit::kColumns);
    if (column < xlsx::kMostColumns) {
      row.push_back({field.empty() ? xlsx::SheetCell::Kind::kEmpty : xlsx::SheetCell::Kind::kText,
                     field});
    }
    field.clear();
    was_quoted = false;
    ++column;
    return true;
  };
  auto end_row = [&] {
    if (!end_field()) return false;
    if (row_number < xlsx::kMostRows) rows->push_back(std::move(row));
    row.clear();
    ++row_number, column = 0;
    return true;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    bool ok = true;
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"', ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"' && field.empty() && !was_quoted) {
      quoted = was_quoted = true;
    } else if (c == ',') {
      ok = end_field();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ok = end_row();
    } else {
      field += c;
    }
    if (ok && field.size() > xlsx::kMostCellBytes) ok = beyond(Limit::kCellBytes);
    if (!ok) return false;
  }
  return (field.empty() && row.empty() && !was_quoted) || end_row();
}

}  // namespace

bool ReadCsv(std::string_view bytes, xlsx::SheetRows* rows, Text* error) {
  rows->clear();
  std::string utf8;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (IsUtf8(bytes)) {
    utf8 = bytes;
  } else if (!GbkToUtf8(Text(bytes), &utf8)) {
    *error = "文件既不是 UTF-8 也不是 GBK 编码的文本";
    return false;
  }
  xlsx::ReadFailure failure;
  if (Split(utf8, rows, &failure)) return true;
  *error = LimitProblem(failure);
  rows->clear();
  return false;
}

}  // namespace sr::app
