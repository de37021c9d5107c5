#pragma once
// Texture sets of the VTP2 polygons: the texture choice of a polygon (land class, own texture
// files, or line/polygon type) as one entry of the writer's texture list, shared by every piece
// that makes the same choice. (The named groups of nesting texts are numbered by the polygon
// preparation, API_Number_Line_Groups.)
#include <array>
#include <cstdint>
#include <string>

#include "core/vb_array.h"

// Texture sources of a polygon; any other value is taken as own texture files.
constexpr int16_t Texture_Kind_Land_Class = 0;
constexpr int16_t Texture_Kind_Files = 1;
constexpr int16_t Texture_Kind_Type = 2;

// The name used when a polygon with its own textures names none.
inline constexpr const char* Default_Vtp2_Texture = "004b2su1.bmp";

struct Texture_Set_Rec {
    int16_t Kind = 0;
    int16_t Code = 0;     // land class (kind 0), type code (kind 2), else 0
    std::string Names;    // joined file names for the other kinds, empty for kinds 0 and 2
    int16_t Size = 4;

    bool operator==(const Texture_Set_Rec&) const = default;
};

struct Texture_Set_Candidate {
    int16_t Kind = 0;
    int16_t Code = 0;
    std::array<std::string, 6> Names;
    int16_t Size = 4;
};

// The six seasonal names as one text: empty slots between two names repeat the earlier one
// ("a.bmp", "", "", "b.bmp" gives "a.bmp;a.bmp;a.bmp;b.bmp"); an empty first slot gives the
// default name.
std::string API_Join_Texture_Names(const std::array<std::string, 6>& names);

// result := the 1-based place of the entry equal to the candidate (kind, code, joined names,
// size), appended when there is none; the list grows by 3 when full.
void API_Find_Texture_Set(const Texture_Set_Candidate& candidate, Vb_Array<Texture_Set_Rec>& list,
                          int32_t& count, int32_t& capacity, int32_t& result);
