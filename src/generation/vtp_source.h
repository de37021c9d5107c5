#pragma once
// What the VTP sources (the wide lines and the VTP2 polygons) write alike: their entries grouped
// by area, layer and texture run, the bounds of their cells, the start of the body, the opening
// lines of a data area, a layer, a texture block and a polygon, and the tail that names the
// cells, indexes them and lists the textures.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "generation/writer_base.h"

// The cell (or area) of `list` that (col, row) belongs to, a new last one unless it is the
// last: the entries come sorted by cell.
template <class Cell>
Cell& Vtp_Cell_Of(std::vector<Cell>& list, int16_t col, int16_t row) {
    if (list.empty() || list.back().Col != col || list.back().Row != row) {
        list.emplace_back();
        list.back().Col = col;
        list.back().Row = row;
    }
    return list.back();
}

// What one data area's layers and one texture block can hold.
constexpr size_t Vtp_Max_Layers = 31;
constexpr int32_t Vtp_Max_Block = 127;

// Consecutive entries First..Last (pieces or lines) of one texture, written in blocks of at most
// Vtp_Max_Block.
struct Vtp_Run {
    int32_t Key = 0;      // what holds the entries together: a new key starts a new run
    int32_t Texture = 0;  // 1-based in the texture list
    int32_t First = 0;
    int32_t Last = 0;
};

struct Vtp_Layer {
    int16_t Value = 0;
    std::vector<Vtp_Run> Runs;
};

// The layers of one data area, in the order their entries come.
struct Vtp_Area {
    int16_t Col = 0;
    int16_t Row = 0;
    std::vector<Vtp_Layer> Layers;
};

// Entry `entry` joins the last run of the last layer of `layers`, or starts a new layer or run
// where its layer value or its key differs: the entries come sorted.
void Vtp_Add_Entry(std::vector<Vtp_Layer>& layers, int16_t layer, int32_t key, int32_t texture, int32_t entry);
size_t Vtp_Run_Blocks(const Vtp_Run& run);
// The run's blocks, write_entry(i) writing each entry i; the number of blocks.
size_t Vtp_Write_Run(Gen_Source& src, const Vtp_Run& run, const std::function<void(int32_t)>& write_entry);
// The data area start of `cell` and at most Vtp_Max_Layers of the area's layers, each written by
// write_layer; false, and nothing more written, as soon as write_layer is false.
bool Vtp_Write_Area(Gen_Source& src, const Vtp_Area& area, const Gen_Cell_Id& cell,
                    const std::function<bool(const Vtp_Layer&)>& write_layer);

// Whole degrees around the cells, one beyond on every side. `cells` is not empty.
Gen_Bounds Vtp_Cell_Bounds(const std::vector<Gen_Cell_Id>& cells);

// From the file header to the first cell's data mark.
void Vtp_Write_Start(Gen_Source& src);
void Vtp_Write_Area_Start(Gen_Source& src, size_t layers, const Gen_Cell_Id& cell);
void Vtp_Write_Layer_Start(Gen_Source& src, int16_t layer, size_t textures);
// A block of `polygons` polygons of texture `texture` (1-based in the texture list).
void Vtp_Write_Block_Start(Gen_Source& src, int32_t texture, int32_t polygons);
// The comment with the free text and the method lines of a polygon of `points` points; `wide`
// for a wide line.
void Vtp_Write_Poly_Start(Gen_Source& src, const std::string& free_text, int32_t points, bool wide);
// The data mark after cell `index` (0-based).
void Vtp_Write_Area_End(Gen_Source& src, size_t index);

// From the cell names to "VTPEnd"; write_texture(k) writes the name and type lines of texture k
// (1-based) of the `textures` in the list.
void Vtp_Write_Tail(Gen_Source& src, const std::vector<Gen_Cell_Id>& cells, size_t textures,
                    const std::function<void(size_t)>& write_texture);
