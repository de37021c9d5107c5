#pragma once
// The mask and wide-line sources read back as they are written: every mask piece with its area,
// type, free text and whole positions in the order written, every wide-line entry with its cell,
// free text, widths and points. Nothing is corrected or reordered.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/scenery_check.h"

namespace scenery {

struct Lwm_Piece {
    std::pair<long, long> Where;  // global LOD13 column and row
    int Type = 0;                 // 0 water, 1 land
    std::string Text;             // the free text before it; empty for a whole-area fill
    bool Fill = false;
    std::vector<std::pair<long, long>> Local;  // positions 0..255 in its area
};

struct Wide_Entry {
    std::pair<long, long> Cell;  // LOD8 column and row
    std::string Text;
    std::vector<long> Widths;    // every width value, in order
    std::vector<std::pair<double, double>> Points;  // global LOD13 units (255 to an area side)
};

std::vector<Lwm_Piece> Read_Lwm(const std::filesystem::path& path, std::vector<Finding>& findings);
std::vector<Wide_Entry> Read_Wide_Lines(const std::filesystem::path& path, std::vector<Finding>& findings);

// What is wrong with a piece's outline as written, judged on its whole positions: "" when it is
// a simple polygon of non-zero area once positions repeated in a row are taken once (a flat
// piece and one crossing itself, the bow-tie of no area among them, are named apart); a reversed
// winding is not judged here.
std::string Outline_Fault(const std::vector<std::pair<long, long>>& pts);
// Where a simple piece turns against its own winding: "" when it is convex (a straight angle is
// not a turn).
std::string Concavity(const std::vector<std::pair<long, long>>& pts);
// The piece named by its area, type and free text, as findings name it.
std::string Piece_Name(const Lwm_Piece& p);
// Twice the signed area on the map (v down): positive for the winding every piece is written in.
long long Twice_Area(const std::vector<std::pair<long, long>>& pts);

}  // namespace scenery
