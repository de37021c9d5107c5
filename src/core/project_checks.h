#pragma once
// The checks a project's values must pass after the file has been read: a frame inside the
// world, its edges in order, pixel values the program's integers can hold, cells inside the
// world's grid, attributes within what the windows accept, BGL names that name a file, and a
// line-id counter that gives new lines fresh ids.
#include <cstdint>
#include <string>

// The farthest a frame's edge may lie from the bitmap's corner, in bitmap pixels (|value|): its
// picture positions are held in 32-bit integers.
inline constexpr double Project_Pixel_Limit = 2147483647.0;

// Why the project file is refused, in French and in English; both empty when it is not.
// `message`: the numbered message the texts follow, 0 for a box of the texts alone.
struct Project_Value_Fault {
    std::string fr;
    std::string us;
    int16_t message = 0;
    bool Any() const { return !fr.empty(); }
};

// Checks the calibration, frame, cell and attribute globals as the reader left them; `path`
// names the file in the texts.
Project_Value_Fault Project_Check_Values(const std::string& path);
