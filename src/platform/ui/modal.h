#pragma once
// Showing a dialog modally: what happens to a copy still loaded beforehand, and the unload of a
// window that the host returned from still loaded (hidden), which then counts as closed
// without OK.
#include "platform/ui/form.h"

namespace plat {

// What becomes of a copy of the window still loaded when it is shown again.
enum class Loaded_Copy {
    Keep,          // shown as it is
    Unload,        // unloaded through its own handlers first, so the showing loads afresh
    Force_Unload,  // unloaded without asking its handlers first
};

void Show_Modal(Form& window, Loaded_Copy loaded_copy);

}  // namespace plat
