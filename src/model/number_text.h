#pragma once
// Numbers as the windows show and take them: the shortest decimal text (up to 15 significant
// digits, no trailing zeros, no exponent for the program's ranges) with the user's decimal
// separator, and the reverse.

#include <optional>
#include <string>
#include <string_view>

namespace velmark {

// 12.52 → "12.52" (or "12,52" with a comma locale); -21.3 → "-21.3"; 0 and -0 → "0".
std::string NumberText(double value, bool decimal_comma);

// Accepts optional blanks, an optional sign, digits and one decimal separator (the locale's,
// and "." always). Anything else is not a number.
std::optional<double> ParseNumber(std::string_view text, bool decimal_comma);

// Rounds to the nearest integer, exact halves to the even neighbour.
double RoundHalfEven(double value);

}  // namespace velmark
