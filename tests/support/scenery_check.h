#pragma once
// An independent check of generated scenery: the written land/water mask and wide-line sources
// are read back from disk, every piece is turned into latitude and longitude by the grid
// arithmetic, and each cell's water is compared with the author's shapes clipped to that cell.
#include <filesystem>
#include <string>
#include <vector>

namespace scenery {

// A point in map pixels.
struct Px {
    double X = 0, Y = 0;
};

// What the author drew, in map pixels. A polygon is water or land; polygons nest by containment
// (an island in a lake). A coastline has the sea on its right unless `Land_On_Right` (drawn
// backwards); it is open with its ends outside the map frame, or a ring whose last point repeats
// its first (an island or a lake). Where several coastlines cross one area, a place is water when
// it lies on the water side of the coastline nearest to it: the lines cut the area into faces, and
// a face takes the side of the line with the longest run along its border. A wide line is a shore
// line of that width; every shape's lines are written with `Width`.
struct Drawn {
    enum Kind { Water, Land, Coastline, Wide_Line } What = Water;
    std::vector<Px> Points;
    bool Land_On_Right = false;
    int Width = 4;
};

// One failed expectation, named with its cell.
struct Finding {
    std::string Text;
};

struct Report {
    std::vector<Finding> Findings;
    int Areas_Compared = 0;   // LOD13 areas whose water was compared
    int Lines_Checked = 0;    // wide-line entries read
    double Water_Written = 0;  // square degrees, over the compared areas
    double Water_Drawn = 0;
    std::string Summary() const;
};

// Reads "Tessaline$_Poly_LWM.asm" and "Tessaline$_Lines.ASM" in `app_dir` and compares them with
// `drawn` (written by Draw_Project) in the LOD13 areas of the map frame of the project's globals
// and in every area written beyond it; every cell and position written, on the map or not, must
// exist in the world's grid. A piece is read as it is written: one turning the other way counts
// as the other type and is named; one flat, of no area or crossing itself is named and counts as
// nothing; one concave or of more than 60 points is named; pieces of one type overlapping, from
// the coastlines or from one polygon, are named.
Report Check_Scenery(const std::filesystem::path& app_dir, const std::vector<Drawn>& drawn);

}  // namespace scenery

namespace scenery {

// Appends the shapes to the project's lines, each with its own free text ("shape 1", ...):
// polygons of the mask, coastlines, and shore lines of type 1026.
void Draw_Project(const std::vector<Drawn>& drawn);

}  // namespace scenery
