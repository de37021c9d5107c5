#pragma once
// A piece's places once rounded to whole positions of its area. Where the piece was thinner than
// a position, or had places closer than one, the rounding can leave a side that goes back along
// itself and returns, a place repeated, sides that cross or touch, a piece of no area or one
// turned the wrong way round. What is written instead is the simple pieces, turned positively,
// that the places enclose: the water moves by no more than the rounding did. The routines read
// nothing but the places, so that every stage that rounds pieces can use them.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct Cut_Piece_Point;

// Twice the area of a piece by its local places, positive clockwise on the map (y southward):
// the way every written piece turns.
int64_t API_Piece_Twice_Area(std::span<const Cut_Piece_Point> pts);

// What keeps the places from being written as one piece: "" when they are three or more, none
// repeated, no side going back along the one before, no two sides meeting but neighbours at
// their common place, turned positively and convex.
std::string Rounded_Piece_Fault(std::span<const Cut_Piece_Point> pts);

// The pieces to write for the rounded places of one piece: `pts` itself when it is sound;
// otherwise it is parted where its sides meet, its back-tracks and repeated places go, and of
// the parts those of no area and those turned the wrong way are dropped, the latter kept in
// `reversed` when given. Work is at most cubic in the places (each parting leaves parts of fewer
// places).
std::vector<std::vector<Cut_Piece_Point>> Clean_Rounded_Piece(std::vector<Cut_Piece_Point> pts,
                                                              std::vector<std::vector<Cut_Piece_Point>>* reversed = nullptr);

// A part turned the wrong way is a sliver the rounding folded over a neighbour of the same shape:
// the sound pieces left of `piece` once `fold`, which shares one of its sides the other way
// round, is taken out of it; none when they are not simple and turned positively with the area
// of the two together (the fold was over another piece).
std::optional<std::vector<std::vector<Cut_Piece_Point>>> Fold_Taken_Out(std::span<const Cut_Piece_Point> piece,
                                                                         std::span<const Cut_Piece_Point> fold);
