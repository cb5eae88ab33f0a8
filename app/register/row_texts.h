#ifndef SALARY_APP_REGISTER_ROW_TEXTS_H_
#define SALARY_APP_REGISTER_ROW_TEXTS_H_

#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>

#include "app/register/register_layout.h"
#include "base/value.h"

namespace sr::app {

// The texts of one register row, column by column: kRegisterColumns texts, each empty until set.
// A new register has 5000 rows of which a company fills a few dozen, so a row that was never
// written holds no texts at all (one pointer); its first write allocates them. Copies are deep.
class RowTexts {
 public:
  using Texts = std::array<Text, kRegisterColumns>;

  RowTexts() = default;
  // The first texts in column order, the rest empty. REQUIRES: at most kRegisterColumns texts.
  RowTexts(std::initializer_list<Text> texts);
  RowTexts(const RowTexts& other);
  RowTexts& operator=(const RowTexts& other);
  RowTexts(RowTexts&&) noexcept = default;
  RowTexts& operator=(RowTexts&&) noexcept = default;

  static constexpr size_t size() { return kRegisterColumns; }
  // REQUIRES: column < size(). Reading never allocates; the writable reference does.
  const Text& operator[](size_t column) const { return view()[column]; }
  Text& operator[](size_t column) { return texts()[column]; }

  const Text* begin() const { return view().data(); }
  const Text* end() const { return view().data() + kRegisterColumns; }
  Text* begin() { return texts().data(); }
  Text* end() { return texts().data() + kRegisterColumns; }

  // Whether the row holds its texts (it has been written to); every text may still be empty.
  bool Allocated() const { return texts_ != nullptr; }

  friend bool operator==(const RowTexts& a, const RowTexts& b) { return a.view() == b.view(); }

 private:
  static const Texts& NoTexts();
  const Texts& view() const { return texts_ ? *texts_ : NoTexts(); }
  Texts& texts();

  std::unique_ptr<Texts> texts_;  // null: every text empty
};

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_ROW_TEXTS_H_
