#pragma once
// LoadPicture: a bitmap file as a picture a picture box can take.
#include "platform/gdi/surface.h"

#include <string>

namespace plat {

// Reads the bitmap at a program path (Windows form) into `picture`; false, and `picture`
// unchanged, when the file is missing or is no bitmap this platform decodes.
bool LoadPicture(const std::string& path, Surface& picture);

}  // namespace plat
