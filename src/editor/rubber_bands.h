#pragma once
// The rubber bands of the line tools: the segments that follow the mouse from the points a tool
// holds.

// Moves the bands to the mouse (Mouse_X, Mouse_Y); the first tool state that applies decides.
void PSais_Follow_Rubber_Bands();
