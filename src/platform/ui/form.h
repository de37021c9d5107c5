#pragma once
// A form (window). A form class holds its controls as members, wires their events to its
// handler methods in the constructor, and sets its designed property values in Design(),
// which runs at every Load before Form_Load, so a form reloaded after Unload starts afresh:
//
//   class Frm_X : public plat::Form {
//   public:
//       Frm_X() : Form("Frm_X") { Cmd_Ok.Click = [this] { Frm_X_Cmd_Ok_Click(); }; }
//       plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
//   protected:
//       void Design() override { Move(0, 0, 300, 200); Cmd_Ok.Move(10, 10, 80, 25); }
//   };
#include "platform/ui/control.h"

#include <functional>
#include <string>
#include <vector>

namespace plat {

class ControlArrayBase;
class Menu;

enum ShowMode : int { Modeless = 0, Modal = 1 };
// QueryUnload's UnloadMode.
enum UnloadMode : int { Unload_FormControlMenu = 0, Unload_FormCode = 1, Unload_AppWindows = 2, Unload_TaskManager = 3 };
enum WindowStateValue : int { Window_Normal = 0, Window_Minimized = 1, Window_Maximized = 2 };

class Form : public Control {
public:
    explicit Form(std::string name);
    ~Form() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    std::string DisplayText() const override { return caption_; }

    // Client area size in pixels (ScaleWidth / ScaleHeight); Width/Height are the same here:
    // the host adds its frame around it.
    int ScaleWidth() const { return Width(); }
    int ScaleHeight() const { return Height(); }
    int WindowState() const { return window_state_; }
    // Maximized: the host sets the client size to its screen's work area (MaximizedSize).
    void SetWindowState(int state);
    // The client size a maximised window gets; hosts set it from the screen.
    static void SetMaximizedSize(int width, int height);
    // 0 none, 1 fixed single, 2 sizable, 3 fixed dialog, 4 fixed tool window.
    int BorderStyle = 2;
    // Key handling with KeyPreview: the form's KeyDown/KeyPress see a key before the control.
    // Enter on a focused non-button clicks the Default button; Escape clicks the Cancel one.
    bool KeyPreview = false;
    bool ControlBox = true;

    // Lifecycle.
    bool Loaded() const { return loaded_; }
    // Loads it when not loaded: resets every control, applies Design(), raises Form_Load.
    void Load();
    // Loads when needed, shows. Modal: returns when the form is hidden or unloaded.
    void Show(int mode = Modeless);
    void Hide();
    // QueryUnload(cancel, mode) then Unload(cancel); either may keep the form. Returns true
    // when it is unloaded. Unloading a form that is not loaded is a UiError.
    bool Unload(int mode = Unload_FormCode);
    // The user closes the window (its close box): Unload with Unload_FormControlMenu.
    bool UserClose() { return Unload(Unload_FormControlMenu); }
    bool IsModal() const { return modal_; }
    // Unloads without asking its handlers (program state resets between tests, exit).
    void ForceUnload();

    // Forms events.
    Event Form_Load;
    Event Form_Activate;
    Event Form_Resize;
    std::function<void(bool& cancel, int unload_mode)> Form_QueryUnload;
    std::function<void(bool& cancel)> Form_Unload;

    // Every control of the form, in declaration order (loaded array elements right after
    // their array's last element). The form itself is not in the list.
    const std::vector<Control*>& Controls() const { return controls_; }
    // By name, and index for array elements; nullptr when missing.
    Control* Find(const std::string& name, int index = -1) const;
    Control* ActiveControl() const { return active_; }
    // Top-level menus, in order.
    std::vector<Menu*> MenuBar() const;

protected:
    // Designed property values; runs with events off at every Load.
    virtual void Design() {}

private:
    friend class Control;
    friend class ControlArrayBase;
    void Register(Control* c);
    void Unregister(Control* c);
    void RegisterArray(ControlArrayBase* a);
    void UnregisterArray(ControlArrayBase* a);
    void PlaceAfter(Control* c, Control* last);
    bool MoveFocus(Control* target);
    void ClearFocusIf(Control* c);
    // Key routing from Control::UserKey*.
    bool PreviewKeyDown(int& key_code, int shift);
    bool PreviewKeyUp(int& key_code, int shift);
    bool PreviewKeyPress(int& key_ascii);
    void DefaultCancelKeys(Control& from, int key_code);

    std::string caption_;
    int window_state_ = Window_Normal;
    bool loaded_ = false;
    bool designing_ = false;
    bool modal_ = false;
    bool destroying_ = false;
    std::vector<Control*> controls_;
    std::vector<ControlArrayBase*> arrays_;
    Control* active_ = nullptr;
};

}  // namespace plat
