#pragma once
// The numbers a person types into a dialog's box: what counts as one, and its value.
#include <string>

// A number as the user types it: an optional sign, digits with at most one of the user's decimal
// separators, an optional exponent, surrounding blanks; finite. Exactly the texts SYST_To_Double
// reads; on success `value` holds it.
bool Number_Entry_Read(const std::string& text, double& value);
bool Number_Entry_Is_Number(const std::string& text);
