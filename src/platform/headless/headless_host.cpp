// The headless host: queued answers for message boxes and file dialogs, scripted modal forms, a
// log of what was shown; and which host is current.
#include "platform/headless/headless_host.h"

#include "platform/ui/form.h"
#include "platform/ui/menu.h"

#include <cstdio>

namespace plat {

namespace {
Host* current_host = nullptr;

int DefaultAnswer(int style) {
    switch (style & 7) {
        case MB_OKCANCEL: return ID_OK;
        case MB_ABORTRETRYIGNORE: return ID_ABORT;
        case MB_YESNOCANCEL: return ID_CANCEL;
        case MB_YESNO: return ID_NO;
        case MB_RETRYCANCEL: return ID_CANCEL;
        default: return ID_OK;
    }
}
}  // namespace

void Host::ReportUiError(const std::string& message) {
    std::fprintf(stderr, "Tessaline: %s\n", message.c_str());
}

void UiError(const std::string& message) { CurrentHost().ReportUiError(message); }

static bool default_host_gone = false;

struct DefaultHostHolder {
    HeadlessHost host;
    ~DefaultHostHolder() { default_host_gone = true; }
};

HeadlessHost& DefaultHeadlessHost() {
    static DefaultHostHolder holder;
    return holder.host;
}

Host& CurrentHost() { return current_host ? *current_host : DefaultHeadlessHost(); }
bool HostAvailable() { return current_host != nullptr || !default_host_gone; }
void SetHost(Host* host) { current_host = host; }

int HeadlessHost::MsgBox(const std::string& prompt, int style, const std::string& title) {
    int answer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    } else if (strict) {
        log.push_back("MsgBox [" + title + "] " + prompt + " (unexpected)");
        throw UnexpectedDialog("unexpected message box [" + title + "]: " + prompt);
    } else {
        answer = DefaultAnswer(style);
    }
    boxes.push_back({prompt, style, title, answer});
    log.push_back("MsgBox [" + title + "] " + prompt);
    return answer;
}

FileDialogResult HeadlessHost::FileDialog(const FileDialogRequest& request) {
    file_requests.push_back(request);
    log.push_back(std::string(request.save ? "SaveDialog " : "OpenDialog ") + request.title);
    if (files.empty()) {
        if (strict) throw UnexpectedDialog("unexpected file dialog: " + request.title);
        return {};
    }
    FileDialogResult r = files.front();
    files.pop_front();
    return r;
}

void HeadlessHost::RunModal(Form& form) {
    log.push_back("Modal " + form.Name() + " [" + form.Caption() + "]");
    auto it = modal_scripts.find(form.Name());
    if (it != modal_scripts.end() && !it->second.empty()) {
        auto script = std::move(it->second.front());
        it->second.pop_front();
        script(form);
    } else if (strict) {
        throw UnexpectedDialog("unexpected modal form " + form.Name() + " [" + form.Caption() + "]");
    }
    // Closed unanswered, as by its close box; a form that refuses stays loaded but hidden.
    if (form.Loaded() && form.Visible() && !form.UserClose()) form.Hide();
}

void HeadlessHost::ReportUiError(const std::string& message) {
    log.push_back("UiError " + message);
    if (strict) throw UiModelError(message);
    ui_errors.push_back(message);
}

void HeadlessHost::ControlChanged(Control& control, Change change) {
    if (control.GetKind() == Kind::Form && change == Change::Visible) {
        auto& form = static_cast<Form&>(control);
        log.push_back(std::string(form.Visible() ? "Show " : "Hide ") + form.Name());
    }
    if (record_changes) {
        changes.push_back({control.Parent().Name(), control.FullName(), change});
    }
}

void HeadlessHost::PopupMenu(Form& form, Menu& menu) {
    log.push_back("PopupMenu " + form.Name() + " " + menu.FullName());
}

void HeadlessHost::Refresh(Form&) { ++refreshes; }

void HeadlessHost::Reset() {
    strict = true;
    answers.clear();
    files.clear();
    modal_scripts.clear();
    boxes.clear();
    file_requests.clear();
    log.clear();
    ui_errors.clear();
    record_changes = false;
    changes.clear();
    refreshes = 0;
    mouse_pointer = 0;
    slept_ms = 0;
    other_instance = false;
    bits_per_pixel = 24;
    raster_caps = true;
}

}  // namespace plat
