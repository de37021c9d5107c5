#pragma once
// The coastlines cut into chords of LOD13 areas: each stretch of a line inside one area, its
// points in the area's 0..255 units, with the water on its right. A chord runs from one
// place of the area's border to another with every point between strictly inside; a ring that
// never meets the border is a loop (its last point's successor is its first).
#include <cstdint>
#include <vector>

// A place in an area: 0 the west (north) border, 255 the east (south) border.
struct Coast_Pos {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const Coast_Pos&) const = default;
};

// Twice the signed area of the triangle a, b, c: 0 when the three lie on one line.
inline int64_t Coast_Turn(Coast_Pos a, Coast_Pos b, Coast_Pos c) {
    return int64_t{b.X - a.X} * (c.Y - a.Y) - int64_t{b.Y - a.Y} * (c.X - a.X);
}

// A place before the snap to the 0..255 grid (a place on the border is on it exactly).
struct Coast_Fine {
    double X = 0;
    double Y = 0;
};

struct Coast_Chord {
    int64_t Col = 0;   // LOD13 column over the whole grid, eastward from 180 W
    int64_t Row = 0;   // LOD13 row over the whole grid, southward from 90 N
    int32_t Line = 0;  // work record of its coastline
    bool Loop = false;
    // Its places unsnapped: two chords a position apart may cross once snapped, and the faces
    // between them then take the votes of the wrong lines.
    std::vector<Coast_Fine> Fine;
};

// The chords of the work lines (rings flagged by work record in `ring`, entry 0 unused), within
// the world and at most two LOD8 cells beyond the map. False when an open line never reaches an
// area border: it cannot be closed (the caller tells the author).
bool Coast_Make_Chords(const std::vector<bool>& ring, std::vector<Coast_Chord>& chords);

// The pixel of a place of an area.
void Coast_Pos_To_Pixel(int64_t col, int64_t row, Coast_Pos p, double& x, double& y);
