#pragma once
// The rubber bands of the line tools: the segments that follow the mouse from the points a tool
// holds.
#include <cstdint>

// Where the running tool's bands start: Ln1 from `First` (drawn as a lone point's band when
// `Lone`), Ln2 from `Second`. A band not shown has its flag false.
struct Rubber_Band_Anchors {
    bool Has_First = false, Has_Second = false, Lone = false;
    int32_t First = 0, Second = 0;
};

// The bands of the insert tool, the extend tool or a moved point, in that order of precedence,
// whether or not the tool is waiting for its click.
Rubber_Band_Anchors PSais_Rubber_Band_Anchors();

// The bands from `b`'s anchors to (x, y).
void PSais_Show_Rubber_Bands(const Rubber_Band_Anchors& b, double x, double y);

// Moves the bands to the mouse (Mouse_X, Mouse_Y); the first tool state that applies decides.
void PSais_Follow_Rubber_Bands();
