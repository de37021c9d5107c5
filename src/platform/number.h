#pragma once
// The user's decimal separator. The program's own files never follow it; only the texts
// shown to and typed by the user (SYST_To_Text, SYST_To_Double) do.
#include <string>

namespace plat {

char DecimalSeparator();               // '.' unless set otherwise
void SetDecimalSeparator(char separator);

}  // namespace plat
