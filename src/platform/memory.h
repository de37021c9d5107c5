#pragma once
// Handing memory the program has freed back to the system.

namespace plat {

// Freed blocks the allocator still holds are given back once they come to some tens of
// megabytes, so that a stage that frees its input part by part while it fills its output stays
// within the two together. Does nothing where the allocator offers no such call.
void Release_Free_Memory();

}  // namespace plat
