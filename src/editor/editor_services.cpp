// The tool states the windows above the editor may read.
#include "editor/editor_services.h"

#include "editor/line_tools.h"
#include "editor/object_modes.h"

bool PSais_New_Line_Armed() { return New_Line_Armed == 1; }
bool PSais_New_Image_Armed() { return New_Image_Armed == 1; }
