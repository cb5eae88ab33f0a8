#ifndef SALARY_RUNTIME_CONVERT_NUMBER_TEXT_H_
#define SALARY_RUNTIME_CONVERT_NUMBER_TEXT_H_

#include <cstdint>
#include <string_view>

#include "base/value.h"

namespace sr {

// The C runtime's "%.<precision>g" as the program shows it, independent of the process locale:
// the exponent carries a sign and at least three digits, infinities and NaNs read as the Windows
// runtime writes them ("1.#INF", "-1.#INF", "1.#QNAN", "-1.#IND").
Text FormatGeneral(double value, int precision);

// atof and atoi of an already normalised text, in the C locale whatever the process locale is.
double ParseDecimal(std::string_view text);
// Whether ParseDecimal reads the whole text: spaces, a sign, a decimal number, spaces.
bool ParsesWholly(std::string_view text);
int32_t ParseInteger(std::string_view text);

}  // namespace sr

#endif  // SALARY_RUNTIME_CONVERT_NUMBER_TEXT_H_
