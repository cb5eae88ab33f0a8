#ifndef SALARY_RUNTIME_PRINT_PRINT_TEXT_H_
#define SALARY_RUNTIME_PRINT_PRINT_TEXT_H_

#include <optional>
#include <vector>

#include "base/value.h"

namespace sr {

// The text that PrintAt draws for a value: numbers, booleans and date-times as ToText writes
// them, texts as they are; nullopt for the kinds that print nothing (bytes, subroutine, omitted).
std::optional<Text> PrintableText(const Value& value);

// The lines of a text, split at CR LF, CR or LF. A text always has at least one line; a final
// line break leaves an empty last line.
std::vector<Text> SplitLines(const Text& text);

}  // namespace sr

#endif  // SALARY_RUNTIME_PRINT_PRINT_TEXT_H_
