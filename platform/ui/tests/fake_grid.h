#ifndef SALARY_PLATFORM_UI_TESTS_FAKE_GRID_H_
#define SALARY_PLATFORM_UI_TESTS_FAKE_GRID_H_

// A grid model small enough to read at a glance, for the tests of the grid peers: the test sets
// up its cells, sizes, merges, cursor and selection (the peer is told as the real model tells
// it), and every report of the peer is logged as a line such as "PressKey 13,0". Its editor
// follows the real model's main rules: a character typed on the cursor cell opens it, a key of
// ClosesGridEditor or the loss of the focus closes it (storing its text, except for Esc).
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/grid_peer.h"

namespace sr::ui::testing {

class FakeGrid : public GridSource, public GridInput {
 public:
  struct Shape {
    int rows = 6;
    int columns = 4;
    int title_rows = 1;
    int title_columns = 1;
    int row_height = 20;
    int column_width = 60;
  };

  explicit FakeGrid(const Shape& shape) : shape_(shape) { Resize(shape.rows); }

  // --- Set up by the test; the view is told. ---

  void SetText(int row, int column, Text text, Alignment alignment = Alignment::kLeft) {
    cells_[Index(row, column)] = {std::move(text), alignment};
    view_->CellsChanged(CellRange::Cell(row, column));
  }
  void SetRowCount(int rows) {
    Resize(rows);
    view_->StructureChanged();
  }
  void SetColumnWidth(int column, int width) {
    column_widths_[column] = width;
    view_->StructureChanged();
  }
  void Merge(const CellRange& range) {
    merges_.push_back(range);
    view_->StructureChanged();
  }
  void SetCursor(int row, int column) {
    cursor_row_ = row;
    cursor_column_ = column;
    selection_ = CellRange::Cell(row, column);
    view_->ScrollIntoView(row, column);
    view_->CursorChanged();
  }
  void Select(const CellRange& range) {
    selection_ = range;
    view_->CursorChanged();
  }
  // Opens the editor over the cell with `text`, as the model does for F2 or a typed character.
  void OpenEditor(int row, int column, Text text) {
    editing_ = true;
    editor_row_ = row;
    editor_column_ = column;
    editor_text_ = std::move(text);
    view_->EditorOpened(row, column);
  }

  // The peer's reports since the last call.
  std::vector<std::string> Take() { return std::exchange(reports_, {}); }
  const GridView* view() const { return view_ == &no_view_ ? nullptr : view_; }
  int page_rows() const { return page_rows_; }

  // --- GridSource ---

  void SetView(GridView* view) override { view_ = view != nullptr ? view : &no_view_; }
  int RowCount() const override { return rows_; }
  int ColumnCount() const override { return shape_.columns; }
  int TitleRowCount() const override { return shape_.title_rows; }
  int TitleColumnCount() const override { return shape_.title_columns; }
  int RowHeight(int row) const override { return row >= 0 && row < rows_ ? shape_.row_height : 0; }
  int ColumnWidth(int column) const override {
    return column >= 0 && column < shape_.columns ? column_widths_[column] : 0;
  }
  int DefaultRowHeight() const override { return shape_.row_height; }
  bool CellExists(int row, int column) const override {
    return row >= 0 && row < rows_ && column >= 0 && column < shape_.columns;
  }
  bool IsTitleCell(int row, int column) const override {
    return row < shape_.title_rows || column < shape_.title_columns;
  }
  const Text& CellText(int row, int column) const override {
    return cells_[Index(row, column)].text;
  }
  Alignment CellAlignment(int row, int column) const override {
    return cells_[Index(row, column)].alignment;
  }
  bool CellWraps(int, int) const override { return false; }
  const std::vector<CellRange>& MergedRanges() const override { return merges_; }
  CellRange DisplayedRange(int row, int column) const override {
    for (const CellRange& m : merges_) {
      if (m.Contains(row, column)) return m;
    }
    return CellRange::Cell(row, column);
  }
  int GetCursorRow() const override { return cursor_row_; }
  int GetCursorColumn() const override { return cursor_column_; }
  const CellRange& Selection() const override { return selection_; }
  bool IsSelected(int row, int column) const override { return selection_.Contains(row, column); }
  bool Editing() const override { return editing_; }
  int EditorRow() const override { return editor_row_; }
  int EditorColumn() const override { return editor_column_; }
  const Text& EditorText() const override { return editor_text_; }

  // --- GridInput ---

  void PressKey(int key, int modifiers) override {
    Report("PressKey", {key, modifiers});
    if (editing_ && ClosesGridEditor(key)) CloseEditor(key != kVkEscape);
  }
  void TypeCharacter(const Text& character, int modifiers) override {
    reports_.push_back("TypeCharacter " + character + "," + std::to_string(modifiers));
    if (editing_) {
      editor_text_ += character;
    } else if (cursor_row_ >= 0) {
      OpenEditor(cursor_row_, cursor_column_, character);
    }
  }
  void PressButton(int row, int column, int x, int y, int modifiers) override {
    Report("PressButton", {row, column, x, y, modifiers});
  }
  void DragTo(int row, int column, int x, int y, int modifiers) override {
    Report("DragTo", {row, column, x, y, modifiers});
  }
  void ReleaseButton(int row, int column, int x, int y, int modifiers) override {
    Report("ReleaseButton", {row, column, x, y, modifiers});
  }
  void DoubleClickButton(int row, int column, int x, int y, int modifiers) override {
    Report("DoubleClickButton", {row, column, x, y, modifiers});
  }
  void PressRightButton(int x, int y, int modifiers) override {
    Report("PressRightButton", {x, y, modifiers});
  }
  void SetEditorText(const Text& text) override {
    reports_.push_back("SetEditorText " + text);
    editor_text_ = text;
  }
  void LoseFocus() override {
    Report("LoseFocus", {});
    if (editing_) CloseEditor(true);
  }
  void SetPageRows(int rows) override {
    page_rows_ = rows;
    Report("SetPageRows", {rows});
  }

 private:
  struct Cell {
    Text text;
    Alignment alignment = Alignment::kLeft;
  };

  size_t Index(int row, int column) const {
    return static_cast<size_t>(row) * shape_.columns + column;
  }
  void Resize(int rows) {
    rows_ = rows;
    cells_.resize(static_cast<size_t>(rows) * shape_.columns);
    column_widths_.resize(shape_.columns, shape_.column_width);
  }
  void CloseEditor(bool store) {
    editing_ = false;
    view_->EditorClosed();
    if (store) SetText(editor_row_, editor_column_, editor_text_);
  }
  void Report(std::string name, const std::vector<int>& args) {
    for (size_t i = 0; i < args.size(); ++i) name += (i == 0 ? " " : ",") + std::to_string(args[i]);
    reports_.push_back(std::move(name));
  }

  Shape shape_;
  int rows_ = 0;
  std::vector<Cell> cells_;
  std::vector<int> column_widths_;
  std::vector<CellRange> merges_;
  int cursor_row_ = -1;
  int cursor_column_ = -1;
  CellRange selection_;
  bool editing_ = false;
  int editor_row_ = -1;
  int editor_column_ = -1;
  Text editor_text_;
  int page_rows_ = 0;
  GridView no_view_;
  GridView* view_ = &no_view_;
  std::vector<std::string> reports_;
};

}  // namespace sr::ui::testing

#endif  // SALARY_PLATFORM_UI_TESTS_FAKE_GRID_H_
