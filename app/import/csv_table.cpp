#include "app/import/csv_table.h"

#include <algorithm>

#include "app/import/import_limits.h"
#include "base/gbk.h"
#include "base/text.h"

namespace sr::app {

namespace {

// The character of the UTF-8 sequence at text[*at], *at moved past it; -1 when none is there.
long NextCharacter(std::string_view text, size_t* at) {
  const unsigned char lead = text[*at];
  const int extra = lead < 0x80          ? 0
                    : (lead >> 5) == 0x6  ? 1
                    : (lead >> 4) == 0xE  ? 2
                    : (lead >> 3) == 0x1E ? 3
                                          : -1;
  if (extra < 0 || *at + extra >= text.size() + (extra == 0 ? 1 : 0)) return -1;
  long character = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const unsigned char next = text[*at + k];
    if ((next & 0xC0) != 0x80) return -1;
    character = character << 6 | (next & 0x3F);
  }
  *at += extra + 1;
  return character;
}

bool IsUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    if (NextCharacter(text, &at) < 0) return false;
  }
  return true;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

// Whether the text reads as UTF-8 of what a payroll holds: ASCII, Chinese characters and
// Chinese punctuation. GBK bytes of Chinese next to never do.
bool ReadsAsChineseUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const long c = NextCharacter(text, &at);
    const bool usual = (c >= 0 && c < 0x80) || c == 0xB7 || (c >= 0x2000 && c < 0x2070) ||
                       (c >= 0x3000 && c < 0x3040) || (c >= 0x4E00 && c < 0xA000) ||
                       (c >= 0xFF00 && c < 0xFFF0);
    if (!usual) return false;
  }
  return true;
}

// Converts rows of GBK cells to UTF-8. A file whose rows are GBK but one is UTF-8 (pasted from
// another file) is refused naming a cell of each: read as GBK, its Chinese would become other
// characters without a word.
bool FromGbk(xlsx::SheetRows* rows, Text* error) {
  long gbk_row = -1, gbk_column = -1, utf8_row = -1, utf8_column = -1;
  for (size_t r = 0; r < rows->size(); ++r) {
    long first = -1;  // the row's first cell that is not ASCII
    bool all_utf8 = true;
    for (size_t c = 0; c < (*rows)[r].size(); ++c) {
      const std::string& text = (*rows)[r][c].text;
      if (IsAscii(text)) continue;
      if (first < 0) first = static_cast<long>(c);
      if (ReadsAsChineseUtf8(text)) continue;
      all_utf8 = false;
      if (gbk_row < 0) {
        gbk_row = static_cast<long>(r), gbk_column = static_cast<long>(c);
      }
    }
    if (first >= 0 && all_utf8 && utf8_row < 0) {
      utf8_row = static_cast<long>(r), utf8_column = first;
    }
  }
  if (gbk_row >= 0 && utf8_row >= 0) {
    *error = Concat({"文件混用了两种编码：", CellPlace(gbk_row, gbk_column), "是 GBK，",
                     CellPlace(utf8_row, utf8_column),
                     "是 UTF-8。请在电子表格程序中把整个文件另存为一种编码（例如 CSV UTF-8）再导入。"});
    return false;
  }
  for (auto& row : *rows) {
    for (xlsx::SheetCell& cell : row) {
      std::string utf8;
      if (!GbkToUtf8(Text(cell.text), &utf8)) {
        *error = "文件既不是 UTF-8 也不是 GBK 编码的文本";
        return false;
      }
      cell.text = std::move(utf8);
    }
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
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  // The separators are ASCII, which neither encoding uses inside a character: the fields are
  // cut first and decoded after.
  xlsx::ReadFailure failure;
  bool read = Split(bytes, rows, &failure);
  if (!read) *error = LimitProblem(failure);
  if (read && !IsUtf8(bytes)) read = FromGbk(rows, error);
  if (!read) rows->clear();
  return read;
}

}  // namespace sr::app
