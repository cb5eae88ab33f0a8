#include "app/register/row_texts.h"

#include <algorithm>

namespace sr::app {

RowTexts::RowTexts(std::initializer_list<Text> texts) {
  std::copy_n(texts.begin(), std::min(texts.size(), size()), this->texts().begin());
}

RowTexts::RowTexts(const RowTexts& other)
    : texts_(other.texts_ ? std::make_unique<Texts>(*other.texts_) : nullptr) {}

RowTexts& RowTexts::operator=(const RowTexts& other) {
  if (this != &other) texts_ = other.texts_ ? std::make_unique<Texts>(*other.texts_) : nullptr;
  return *this;
}

const RowTexts::Texts& RowTexts::NoTexts() {
  static const Texts kEmpty;
  return kEmpty;
}

RowTexts::Texts& RowTexts::texts() {
  if (!texts_) texts_ = std::make_unique<Texts>();
  return *texts_;
}

}  // namespace sr::app
