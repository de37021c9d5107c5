#pragma once
// Small bitmap files for the tests that pick, convert or show pictures.
#include <functional>
#include <string>

#include "platform/gdi/surface.h"

namespace testenv {

// A 24-bit bitmap of w x h pixels at a local or program path, pixel (x, y) counted from the
// top-left corner coloured by `colour`. False when the file cannot be written.
bool WriteBmp24(const std::string& path, int w, int h, const std::function<plat::Colour(int x, int y)>& colour);
// The same in one colour.
bool WriteBmp24(const std::string& path, int w, int h, plat::Colour colour);

}  // namespace testenv
