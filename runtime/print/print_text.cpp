#include "runtime/print/print_text.h"

#include "runtime/convert/conversions.h"

namespace sr {

std::optional<Text> PrintableText(const Value& value) {
  switch (value.kind()) {
    case Kind::kOmitted:
    case Kind::kSubroutine:
    case Kind::kBytes:
      return std::nullopt;
    case Kind::kText:
      return value.text();
    default:
      return ToText(value);
  }
}

std::vector<Text> SplitLines(const Text& text) {
  std::vector<Text> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back().push_back(c);
    }
  }
  return lines;
}

}  // namespace sr
