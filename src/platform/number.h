#pragma once
// The user's decimal separator, and the one reading of a number that the program's files and
// texts are read with. The program's own files never follow the separator; only the texts
// shown to and typed by the user (SYST_To_Text, SYST_To_Double) do.
#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

char DecimalSeparator();               // '.' unless set otherwise
void SetDecimalSeparator(char separator);

// The number at the start of a text: blanks, a sign, digits with one ".", an exponent
// ("-1.5E+20"), read as far as the text reads as a number: "1x" is 1, "" and "x" are 0.
struct NumberText {
    double value = 0;
    std::size_t length = 0;  // characters read, leading blanks included; 0 when no number stands there
    bool fits = true;        // false when the number is too large for a double (value is then 0)
};
NumberText ReadNumber(std::string_view text);

}  // namespace plat

namespace plat {

// A stored 32-bit float as it was typed: the shortest text that reads back to the same float
// ("12.3", not the double's "12.3000001907349"), written as CStr writes, with the user's
// decimal separator.
std::string FloatText(float value);

}  // namespace plat
