#include "app/import/csv_table.h"

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

void Split(std::string_view text, xlsx::SheetRows* rows) {
  std::vector<xlsx::SheetCell> row;
  std::string field;
  bool quoted = false, was_quoted = false;
  auto end_field = [&] {
    row.push_back({field.empty() ? xlsx::SheetCell::Kind::kEmpty : xlsx::SheetCell::Kind::kText,
                   field});
    field.clear();
    was_quoted = false;
  };
  auto end_row = [&] {
    end_field();
    rows->push_back(std::move(row));
    row.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
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
      end_field();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      end_row();
    } else {
      field += c;
    }
  }
  if (!field.empty() || !row.empty() || was_quoted) end_row();
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
  Split(utf8, rows);
  return true;
}

}  // namespace sr::app
