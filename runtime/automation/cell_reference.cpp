#include "runtime/automation/cell_reference.h"

#include "runtime/convert/conversions.h"

namespace sr {

namespace {

constexpr int kLetters = 26;
constexpr int kLastColumn = 74;

}  // namespace

Text ColumnLetter(int number) {
  if (number < 1 || number > kLastColumn) return Text();
  const int index = number - 1;
  Text letter;
  if (index >= kLetters) letter += static_cast<char>('a' + index / kLetters - 1);
  letter += static_cast<char>('a' + index % kLetters);
  return letter;
}

Text CellReference(int column, int row) { return ColumnLetter(column) + ToText(row); }

}  // namespace sr
