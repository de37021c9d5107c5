// Snapshots of what a person sees of every control of a form.
#include "platform/ui/snapshot.h"

namespace plat {

std::vector<ControlState> SnapshotControls(const Form& form) {
    std::vector<ControlState> out;
    for (const Control* c : form.Controls())
        out.push_back({c->FullName(), c->Enabled(), c->Visible(), c->DisplayText(), c->ToolTipText()});
    return out;
}

ControlState StateOf(const std::vector<ControlState>& snapshot, const std::string& full_name) {
    for (const ControlState& s : snapshot)
        if (s.name == full_name) return s;
    ControlState missing;
    missing.enabled = false;
    missing.visible = false;
    return missing;
}

std::string SnapshotText(const std::vector<ControlState>& snapshot) {
    std::string out;
    for (const ControlState& s : snapshot) {
        out += s.name + (s.enabled ? " E" : " -") + (s.visible ? " V" : " -") + " \"" + s.caption + "\"";
        if (!s.tool_tip.empty()) out += " tip=\"" + s.tool_tip + "\"";
        out += "\n";
    }
    return out;
}

}  // namespace plat
