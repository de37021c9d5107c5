#pragma once
// The Host: what the program needs of the window system outside its own controls.
// The headless host (tests, no display) and the Qt host (people) implement it.
#include "platform/ui/observer.h"

#include <string>

namespace plat {

class Form;
class Menu;

// Windows message-box styles and answers, as the program's message file stores them.
enum MsgStyle : int {
    MB_OK = 0, MB_OKCANCEL = 1, MB_ABORTRETRYIGNORE = 2, MB_YESNOCANCEL = 3, MB_YESNO = 4,
    MB_RETRYCANCEL = 5,
    MB_ICONSTOP = 16, MB_ICONQUESTION = 32, MB_ICONEXCLAMATION = 48, MB_ICONINFORMATION = 64,
    MB_DEFBUTTON2 = 256,
};
enum MsgAnswer : int { ID_OK = 1, ID_CANCEL = 2, ID_ABORT = 3, ID_RETRY = 4, ID_IGNORE = 5, ID_YES = 6, ID_NO = 7 };

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string filter;      // "Projects (*.LWM)|*.LWM|All (*.*)|*.*"
    int filter_index = 1;
    std::string initial_dir;
    std::string file_name;
};

struct FileDialogResult {
    bool cancelled = true;
    std::string file_name;   // full path, Windows form as the program builds it
};

enum MousePointer : int { Pointer_Default = 0, Pointer_Arrow = 1, Pointer_Cross = 2, Pointer_Hourglass = 11 };

// Every control change reaches the host through UiObserver::ControlChanged.
class Host : public UiObserver {
public:
    ~Host() override = default;
    // Shows a message box; style = buttons + icon; returns one of MsgAnswer.
    virtual int MsgBox(const std::string& prompt, int style, const std::string& title) = 0;
    virtual FileDialogResult FileDialog(const FileDialogRequest& request) = 0;
    // Runs a modal form until it is hidden or unloaded.
    virtual void RunModal(Form& form) = 0;
    // Lets pending paints happen (a form's Refresh during long work).
    virtual void Refresh(Form& form) = 0;
    virtual void SetMousePointer(int pointer) = 0;
    virtual void Sleep(int milliseconds) = 0;
    // True when another copy of the program is running.
    virtual bool OtherInstanceRunning() = 0;
    virtual int DisplayBitsPerPixel() = 0;
    virtual bool DisplayHasRasterCaps() = 0;
    // A misuse of the control model (see UiError). Tests fail on it; people never see it.
    virtual void ReportUiError(const std::string& message);
    // Shows a menu's entries as a pop-up at the mouse position.
    virtual void PopupMenu(Form& form, Menu& menu) { (void)form; (void)menu; }
};

// The process-wide host; a headless host is installed until someone sets another.
Host& CurrentHost();
void SetHost(Host* host);
// False once the default host has gone at exit (late control destructors then stay quiet).
bool HostAvailable();

}  // namespace plat
