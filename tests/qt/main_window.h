#pragma once
// The main window as it stands after start-up with no project open, on a 1024 x 700 client.
#include "qt_test_app.h"

#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/pinit_layout.h"
#include "editor/pinit_texts.h"

#include <string>
#include <utility>

namespace qttest {

inline Frm& ShowNoProject(const std::string& language) {
    plat::Form::SetMaximizedSize(1024, 700);
    Language = language;
    Frm& f = Frm_Window();
    // The rest of the start-up (settings, simulator folder, resources) is not under test.
    auto load = std::move(f.Form_Load);
    f.Form_Load = nullptr;
    f.Load();
    f.Form_Load = std::move(load);
    f.SetWindowState(plat::Window_Maximized);
    f.SetVisible(true);
    Pinit_Set_Main_Texts();
    Pinit_Layout_Main();
    Pinit_Set_No_Project();
    Settle();
    return f;
}

}  // namespace qttest
