#pragma once
// The state a person sees of every control, for table tests: Enabled, Visible, Caption.
#include "platform/ui/form.h"

#include <string>
#include <vector>

namespace plat {

struct ControlState {
    std::string name;       // FullName: "Opt_Lang(1)"
    bool enabled = true;
    bool visible = true;
    std::string caption;    // Caption or Text
    std::string tool_tip;
    bool operator==(const ControlState&) const = default;
};

std::vector<ControlState> SnapshotControls(const Form& form);
// The state of one control by full name; a default state with an empty name when missing.
ControlState StateOf(const std::vector<ControlState>& snapshot, const std::string& full_name);
// One line per control: "Cmd_New E V \"\" tip=\"New project\"", for readable test failures.
std::string SnapshotText(const std::vector<ControlState>& snapshot);

}  // namespace plat
