#pragma once
// The host that tests (and runs without a display) use: message boxes and file dialogs take
// queued answers, modal forms run a script registered for their name, everything shown is logged.
#include "platform/host.h"

#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {

struct ShownBox {
    std::string prompt;
    int style = 0;
    std::string title;
    int answer = 0;
};

// Raised when something appears that the test did not prepare an answer for.
class UnexpectedDialog : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised (with strict set) on a misuse of the control model.
class UiModelError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// One recorded control change.
struct ControlChange {
    std::string form;
    std::string control;   // full name; the form's own name for the form
    Change change;
};

class HeadlessHost : public Host {
public:
    int MsgBox(const std::string& prompt, int style, const std::string& title) override;
    FileDialogResult FileDialog(const FileDialogRequest& request) override;
    void RunModal(Form& form) override;
    void Refresh(Form& form) override;
    void SetMousePointer(int pointer) override { mouse_pointer = pointer; }
    void Sleep(int milliseconds) override { slept_ms += milliseconds; }
    bool OtherInstanceRunning() override { return other_instance; }
    int DisplayBitsPerPixel() override { return bits_per_pixel; }
    bool DisplayHasRasterCaps() override { return raster_caps; }
    // With strict set, throws UiModelError; otherwise logs it.
    void ReportUiError(const std::string& message) override;
    // Records the change (when record_changes is set) and logs shown/hidden forms.
    void ControlChanged(Control& control, Change change) override;
    void PopupMenu(Form& form, Menu& menu) override;

    // Answers, taken in order. With strict set (the default), a box without a queued answer
    // throws UnexpectedDialog; otherwise it is answered OK (or Yes/Cancel by its buttons).
    void QueueAnswer(int answer) { answers.push_back(answer); }
    void QueueFile(FileDialogResult result) { files.push_back(std::move(result)); }
    // What to do when the form of that name is shown modally: the script runs once, in
    // order of registration (set fields, click buttons). A form still shown after its script
    // (or without one, when strict is not set) is closed as by its close box. With strict
    // set, a modal form without a script throws UnexpectedDialog.
    void OnModal(const std::string& form_name, std::function<void(Form&)> script) {
        modal_scripts[form_name].push_back(std::move(script));
    }
    void Reset();

    bool strict = true;
    std::deque<int> answers;
    std::deque<FileDialogResult> files;
    std::map<std::string, std::deque<std::function<void(Form&)>>> modal_scripts;

    std::vector<ShownBox> boxes;                    // every message box shown
    std::vector<FileDialogRequest> file_requests;   // every file dialog shown
    std::vector<std::string> log;                   // one line per thing shown
    std::vector<std::string> ui_errors;             // model misuses seen (non-strict)
    bool record_changes = false;
    std::vector<ControlChange> changes;             // with record_changes
    int refreshes = 0;
    int mouse_pointer = 0;
    int slept_ms = 0;
    bool other_instance = false;
    int bits_per_pixel = 24;
    bool raster_caps = true;
};

// The headless host that CurrentHost() gives when no other host was set.
HeadlessHost& DefaultHeadlessHost();

}  // namespace plat
