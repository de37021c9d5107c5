#pragma once
// Puts every global of the program back to its start-up state, so that no test depends on what
// another left behind. Each subsystem with globals of its own adds its reset here.

namespace testenv {

void ResetProgramState();

}  // namespace testenv
