#include "forms/grid/cell_store.h"

#include <algorithm>
#include <utility>

namespace sr {

const Text& CellStore::EmptyText() {
  static const Text empty;
  return empty;
}

int CellStore::RowsWithText() const {
  return static_cast<int>(
      std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return !r.texts.empty(); }));
}

void CellStore::Assign(int rows, int columns) {
  rows_.clear();
  rows_.resize(static_cast<size_t>(std::max(rows, 0)));
  columns_ = std::max(columns, 0);
}

void CellStore::ResizeRows(int rows) { rows_.resize(static_cast<size_t>(std::max(rows, 0))); }

void CellStore::ResizeColumns(int columns) {
  columns = std::max(columns, 0);
  if (columns == columns_) return;
  for (Row& row : rows_) {
    if (row.texts.empty()) continue;
    row.texts.resize(static_cast<size_t>(columns));
    if (std::all_of(row.texts.begin(), row.texts.end(), [](const Text& t) { return t.empty(); }))
      std::vector<Text>().swap(row.texts);
  }
  ChangeFormats(0, rows() - 1, [columns](Formats& f) { f.resize(static_cast<size_t>(columns)); });
  columns_ = columns;
}

void CellStore::InsertRow(int row) { rows_.insert(rows_.begin() + row, Row{}); }

void CellStore::EraseRow(int row) { rows_.erase(rows_.begin() + row); }

void CellStore::SetText(int row, int column, Text text) {
  std::vector<Text>& texts = rows_[row].texts;
  if (texts.empty()) {
    if (text.empty()) return;
    texts.resize(static_cast<size_t>(columns_));
  }
  texts[column] = std::move(text);
  // The row's last text gone: so is its storage.
  if (texts[column].empty() &&
      std::all_of(texts.begin(), texts.end(), [](const Text& t) { return t.empty(); })) {
    std::vector<Text>().swap(texts);
  }
}

const CellStore::Format& CellStore::FormatOf(int row, int column) const {
  static const Format kDefault;
  const Formats* formats = rows_[row].formats.get();
  return formats == nullptr ? kDefault : (*formats)[column];
}

template <typename Change>
void CellStore::ChangeFormats(int first_row, int last_row, const Change& change) {
  // Consecutive rows that share their formats (the usual case: a whole column aligned) get one
  // changed copy between them. `before` stays alive so that its address cannot be reused.
  std::shared_ptr<const Formats> before;
  std::shared_ptr<const Formats> after;
  bool first = true;
  for (int r = first_row; r <= last_row; ++r) {
    Row& row = rows_[r];
    if (first || row.formats != before) {
      first = false;
      before = row.formats;
      Formats next = before ? *before : Formats(static_cast<size_t>(columns_));
      change(next);
      const bool plain =
          std::all_of(next.begin(), next.end(), [](const Format& f) { return f == Format{}; });
      after = plain ? nullptr : std::make_shared<const Formats>(std::move(next));
    }
    row.formats = after;
  }
}

void CellStore::SetAlignment(const CellRange& range, Alignment alignment) {
  ChangeFormats(range.first_row, range.last_row, [&range, alignment](Formats& f) {
    for (int c = range.first_column; c <= range.last_column; ++c) f[c].alignment = alignment;
  });
}

void CellStore::SetWrap(int row, int column, bool wrap) {
  ChangeFormats(row, row, [column, wrap](Formats& f) { f[column].wrap = wrap; });
}

void CellStore::SetReadOnly(int row, int column, bool read_only) {
  ChangeFormats(row, row, [column, read_only](Formats& f) { f[column].read_only = read_only; });
}

}  // namespace sr
