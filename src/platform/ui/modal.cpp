// Showing a dialog modally with its rule for a copy left loaded.
#include "platform/ui/modal.h"

namespace plat {

void Show_Modal(Form& window, Loaded_Copy loaded_copy) {
    if (window.Loaded()) {
        if (loaded_copy == Loaded_Copy::Unload)
            window.Unload(Unload_FormCode);
        else if (loaded_copy == Loaded_Copy::Force_Unload)
            window.ForceUnload();
    }
    window.Show(Modal);
    if (window.Loaded()) window.Unload(Unload_FormCode);
}

}  // namespace plat
