#pragma once
// The user's decimal separator. The program's own files never follow it; only the texts
// shown to and typed by the user (SYST_To_Text, SYST_To_Double) do.
#include <string>

namespace plat {

char DecimalSeparator();               // '.' unless set otherwise
void SetDecimalSeparator(char separator);

}  // namespace plat

namespace plat {

// A stored 32-bit float as it was typed: the shortest text that reads back to the same float
// ("12.3", not the double's "12.3000001907349"), written as CStr writes, with the user's
// decimal separator.
std::string FloatText(float value);

}  // namespace plat
