#pragma once
// The pictures of the tool-bar buttons, drawn in code: 16 x 16 in the 16 standard colours on
// the button face (20 x 20 for the delete button). Empty for the buttons that show a text.
#include "platform/gdi/surface.h"

#include <string>

plat::Surface Toolbar_Icon(const std::string& button_name);
