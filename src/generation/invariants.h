#pragma once
// What a stage promises the next, checked where it is made in test builds (TESSALINE_CHECKS): a
// broken promise is kept with the area it concerns, for the test that ran the stage to report,
// instead of showing two stages later as a box, or not at all.
#include <string>
#include <vector>

#ifdef TESSALINE_CHECKS
inline constexpr bool Checked_Build = true;
#else
inline constexpr bool Checked_Build = false;
#endif

void Invariant_Broken(std::string what);
// The broken promises since the last call.
std::vector<std::string> Take_Broken_Invariants();
