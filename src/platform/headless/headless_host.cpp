#include "platform/headless/headless_host.h"

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

HeadlessHost& DefaultHeadlessHost() {
    static HeadlessHost host;
    return host;
}

Host& CurrentHost() { return current_host ? *current_host : DefaultHeadlessHost(); }
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

void HeadlessHost::RunModal(Form&) {
    // The control model issue gives forms names; until then a modal form closes unanswered.
    log.push_back("Modal form");
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
    refreshes = 0;
    mouse_pointer = 0;
    slept_ms = 0;
    other_instance = false;
    bits_per_pixel = 24;
    raster_caps = true;
}

}  // namespace plat
