// The common dialog control: a file open or save request handed to the host.
#include "platform/host.h"
#include "platform/text.h"
#include "platform/ui/controls.h"

namespace plat {

CommonDialog::CommonDialog(Form& form, std::string name, int index)
    : Control(form, std::move(name), Kind::CommonDialog, index) {}

bool CommonDialog::ShowOpen() { return Run(false); }
bool CommonDialog::ShowSave() { return Run(true); }

bool CommonDialog::Run(bool save) {
    FileDialogRequest request;
    request.save = save;
    request.title = DialogTitle;
    request.filter = Filter;
    request.filter_index = FilterIndex;
    request.initial_dir = InitDir;
    request.file_name = FileName;
    FileDialogResult result = CurrentHost().FileDialog(request);
    if (result.cancelled) return false;
    FileName = result.file_name;
    FileTitle = Split_Folder(FileName).Name;
    if (save && !DefaultExt.empty() && !FileTitle.empty() && FileTitle.find('.') == std::string::npos) {
        FileName += "." + DefaultExt;
        FileTitle += "." + DefaultExt;
    }
    return true;
}

void CommonDialog::ResetProperties() {
    Control::ResetProperties();
    DialogTitle.clear();
    Filter.clear();
    FilterIndex = 1;
    InitDir.clear();
    DefaultExt.clear();
    FileName.clear();
    FileTitle.clear();
    Flags = 0;
}

}  // namespace plat
