#pragma once
// What the main window sets before it shows the simulator link window, and what it learns.
#include <cstdint>

inline int16_t Sim_Line_Made = 0;     // 1 once a recorded flight path became a line

// Start values of the globals above (tests).
inline void Simlink_Services_Reset() { Sim_Line_Made = 0; }
