#ifndef SALARY_PLATFORM_UI_GRID_AXIS_H_
#define SALARY_PLATFORM_UI_GRID_AXIS_H_

#include <algorithm>
#include <vector>

namespace sr::ui {

// The rows (or the columns) of a grid along one direction of the view: where each one starts,
// in pixels from the grid's top (or left) edge. The first `titles` entries are frozen: they stay
// in place while the rest scrolls by `scroll` pixels.
class GridAxis {
 public:
  // `size_of(i)` is entry i's size; 0 hides it.
  template <typename SizeOf>
  void Rebuild(int count, int titles, SizeOf size_of) {
    start_.assign(count + 1, 0);
    for (int i = 0; i < count; ++i) start_[i + 1] = start_[i] + std::max(size_of(i), 0);
    titles_ = std::clamp(titles, 0, count);
  }

  int count() const { return static_cast<int>(start_.size()) - 1; }
  int titles() const { return titles_; }
  int Start(int i) const { return start_[i]; }
  int End(int i) const { return start_[i + 1]; }
  // Pixels the frozen entries take, and the pixels of all the others.
  int TitleExtent() const { return start_[titles_]; }
  int DataExtent() const { return start_.back() - TitleExtent(); }

  // Between the grid's own pixels and the view's, for a data scroll of `scroll` pixels.
  int ToView(int pos, int scroll) const { return pos < TitleExtent() ? pos : pos - scroll; }
  int ToGrid(int view, int scroll) const { return view < TitleExtent() ? view : view + scroll; }

  // The entry at the grid pixel `pos`, or -1; a hidden entry is never found.
  int IndexAt(int pos) const {
    if (pos < 0 || pos >= start_.back()) return -1;
    return static_cast<int>(std::upper_bound(start_.begin(), start_.end(), pos) - start_.begin()) -
           1;
  }
  // The data entries that show in a view of `view_extent` pixels: [*first, *last], or false.
  bool VisibleData(int scroll, int view_extent, int* first, int* last) const {
    const int from = TitleExtent() + scroll;
    const int to = TitleExtent() + scroll + view_extent - TitleExtent() - 1;
    if (to < from || from >= start_.back()) return false;
    *first = std::max(IndexAt(from), titles_);
    *last = IndexAt(std::min(to, start_.back() - 1));
    return *first >= 0 && *last >= *first;
  }

 private:
  std::vector<int> start_{0};
  int titles_ = 0;
};

// Both axes of a grid view, from the grid it shows (a GridSource).
template <typename Source>
void RebuildAxes(const Source& source, GridAxis* rows, GridAxis* columns) {
  rows->Rebuild(source.RowCount(), source.TitleRowCount(),
                [&source](int r) { return source.RowHeight(r); });
  columns->Rebuild(source.ColumnCount(), source.TitleColumnCount(),
                   [&source](int c) { return source.ColumnWidth(c); });
}

}  // namespace sr::ui

#endif  // SALARY_PLATFORM_UI_GRID_AXIS_H_
