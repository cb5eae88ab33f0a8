#ifndef SALARY_FORMS_GRID_CELL_STORE_H_
#define SALARY_FORMS_GRID_CELL_STORE_H_

#include <memory>
#include <vector>

#include "base/value.h"
#include "forms/grid/grid_types.h"

namespace sr {

// The grid's cells: a text and a format (alignment, wrap, read-only) per cell, kept so that a row
// costs next to nothing until one of its cells holds text. The register grid has 5001 rows of
// which a company fills a few dozen; reading a cell that was never written gives the empty text
// and the default format (left, no wrap, writable).
//
// A row's texts are allocated with its first non-empty text and freed when its last text is
// emptied. Formats are shared: rows formatted alike (the register's name columns centred on every
// row) hold one copy between them, copied on write.
//
// Coordinates are 0-based. REQUIRES for every cell access: 0 <= row < rows(),
// 0 <= column < columns(); for ranges: non-empty and inside the store.
class CellStore {
 public:
  CellStore() = default;
  CellStore(const CellStore&) = delete;
  CellStore& operator=(const CellStore&) = delete;

  int rows() const { return static_cast<int>(rows_.size()); }
  int columns() const { return columns_; }
  // Rows whose cells hold text: what the store costs beyond a few bytes per row.
  int RowsWithText() const;

  // Drops everything: rows x columns empty cells of the default format.
  void Assign(int rows, int columns);
  // Adds empty rows at the end or removes rows from the end.
  void ResizeRows(int rows);
  // Adds empty columns at the right or removes columns from the right; kept cells stay.
  void ResizeColumns(int columns);
  // An empty row before `row` (rows() appends); the rows from there on move down.
  void InsertRow(int row);
  void EraseRow(int row);

  const Text& GetText(int row, int column) const {
    const std::vector<Text>& texts = rows_[row].texts;
    return texts.empty() ? EmptyText() : texts[column];
  }
  bool RowHasText(int row) const { return !rows_[row].texts.empty(); }
  void SetText(int row, int column, Text text);

  Alignment GetAlignment(int row, int column) const { return FormatOf(row, column).alignment; }
  bool Wraps(int row, int column) const { return FormatOf(row, column).wrap; }
  bool ReadOnly(int row, int column) const { return FormatOf(row, column).read_only; }
  void SetAlignment(const CellRange& range, Alignment alignment);
  void SetWrap(int row, int column, bool wrap);
  void SetReadOnly(int row, int column, bool read_only);

 private:
  struct Format {
    Alignment alignment = Alignment::kLeft;
    bool wrap = false;
    bool read_only = false;
    bool operator==(const Format&) const = default;
  };
  using Formats = std::vector<Format>;  // one per column
  struct Row {
    std::vector<Text> texts;                 // empty, or one per column
    std::shared_ptr<const Formats> formats;  // null: every cell has the default format
  };

  static const Text& EmptyText();
  const Format& FormatOf(int row, int column) const;
  // Applies `change` (a callable taking Formats&) to the formats of rows first_row..last_row.
  // Rows that shared their formats before share the changed ones.
  template <typename Change>
  void ChangeFormats(int first_row, int last_row, const Change& change);

  std::vector<Row> rows_;
  int columns_ = 0;
};

}  // namespace sr

#endif  // SALARY_FORMS_GRID_CELL_STORE_H_
