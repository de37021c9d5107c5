// The pieces the VTP sources share: grouping their entries, and the lines they write alike.
#include "generation/vtp_source.h"

#include <algorithm>

#include "core/grid.h"
#include "core/syst.h"

namespace {

// Polygons of more points go on in an extension line.
constexpr int32_t Max_Short_Poly = 30;

}  // namespace

void Vtp_Add_Entry(std::vector<Vtp_Layer>& layers, int16_t layer, int32_t key, int32_t texture, int32_t entry) {
    if (layers.empty() || layers.back().Value != layer) layers.push_back({layer, {}});
    std::vector<Vtp_Run>& runs = layers.back().Runs;
    if (runs.empty() || runs.back().Key != key) runs.push_back({key, texture, entry, entry});
    runs.back().Last = entry;
}

size_t Vtp_Run_Blocks(const Vtp_Run& run) {
    const size_t entries = static_cast<size_t>(run.Last - run.First + 1);
    return (entries + Vtp_Max_Block - 1) / Vtp_Max_Block;
}

size_t Vtp_Write_Run(Gen_Source& src, const Vtp_Run& run, const std::function<void(int32_t)>& write_entry) {
    size_t blocks = 0;
    for (int32_t start = run.First; start <= run.Last; start += Vtp_Max_Block) {
        const int32_t end = std::min(run.Last, start + Vtp_Max_Block - 1);
        Vtp_Write_Block_Start(src, run.Texture, end - start + 1);
        for (int32_t i = start; i <= end; ++i) write_entry(i);
        ++blocks;
    }
    return blocks;
}

bool Vtp_Write_Area(Gen_Source& src, const Vtp_Area& area, const Gen_Cell_Id& cell,
                    const std::function<bool(const Vtp_Layer&)>& write_layer) {
    const size_t layers = std::min(area.Layers.size(), Vtp_Max_Layers);
    Vtp_Write_Area_Start(src, layers, cell);
    for (size_t l = 0; l < layers; ++l)
        if (!write_layer(area.Layers[l])) return false;
    return true;
}

Gen_Bounds Vtp_Cell_Bounds(const std::vector<Gen_Cell_Id>& cells) {
    int32_t r_min = cells.front().Row, r_max = r_min, c_min = cells.front().Col, c_max = c_min;
    for (const Gen_Cell_Id& c : cells) {
        r_min = std::min<int32_t>(r_min, c.Row);
        r_max = std::max<int32_t>(r_max, c.Row);
        c_min = std::min<int32_t>(c_min, c.Col);
        c_max = std::max<int32_t>(c_max, c.Col);
    }
    Gen_Bounds b;
    b.North = SYST_Truncate(90 - r_min * Lod8_Height) + 1;
    b.South = SYST_Truncate(90 - (r_max + 1) * Lod8_Height) - 1;
    b.East = SYST_Truncate((c_max + 1) * Lod8_Width - 180) + 1;
    b.West = SYST_Truncate(c_min * Lod8_Width - 180) - 1;
    return Gen_Clamp(b);
}

void Vtp_Write_Start(Gen_Source& src) {
    src.Line("VTPHeader   label   word");
    src.Line("    VTPFileHeader 256, VTPIndexStart, TextureStart, VTPEnd");
    src.Line("VTPStart        label   word");
    src.Line("    datamark_v0 label   word");
}

void Vtp_Write_Area_Start(Gen_Source& src, size_t layers, const Gen_Cell_Id& cell) {
    src.Line("        VTPDataArea " + Gen_Num(layers) + ", 1, " + Gen_Num(cell.Col % 32) + ", " +
             Gen_Num(cell.Row % 32));
}

void Vtp_Write_Layer_Start(Gen_Source& src, int16_t layer, size_t textures) {
    src.Line("        VTPLayer " + Gen_Num(layer) + ", 0");
    src.Line("        VTPNumTexturesInLayer " + Gen_Num(textures) + ", 0");
}

void Vtp_Write_Block_Start(Gen_Source& src, int32_t texture, int32_t polygons) {
    const int32_t id = texture - 1;
    src.Line("           VTPTextureId " + std::string(id >= 0 ? " " : "") + Gen_Num(id) + ", 0 ");
    src.Line("            VTPPolyCount " + Gen_Num(polygons) + ", 0");
}

void Vtp_Write_Poly_Start(Gen_Source& src, const std::string& free_text, int32_t points, bool wide) {
    src.Line(";");
    src.Line(";", Gen_Free_Text(free_text));
    src.Line(";");
    if (points <= Max_Short_Poly) {
        src.Line("             VTPPolyMethod2 ", points, wide ? ", 1, 0" : ", 0, 0");
    } else {
        src.Line("             VTPPolyMethod2 31, ", wide ? "1, 0" : "0, 1");
        src.Line("             VTPPolyMethod2Ex ", points - 31);
    }
}

void Vtp_Write_Area_End(Gen_Source& src, size_t index) {
    src.Line("    datamark_v" + Gen_Num(index + 1) + " label   word");
}

void Vtp_Write_Tail(Gen_Source& src, const std::vector<Gen_Cell_Id>& cells, size_t textures,
                    const std::function<void(size_t)>& write_texture) {
    const std::string dashes46 = ";" + std::string(46, '-');
    src.Line(dashes46);
    for (const Gen_Cell_Id& cell : cells)
        src.Line(Gen_Cell_Name(Gen_Cell_Prefix_Vtp, cell.Col, cell.Row) + "    EQU  VTPCellID 0, " +
                 Gen_Num(cell.Col) + ", " + Gen_Num(cell.Row));
    src.Line(dashes46);
    src.Line("    VTPIndexStart   label   word");
    src.Line("    VTPIndexHeader " + Gen_Num(cells.size()) + ", VTPIndexData, VTPStart");
    src.Line("    VTPIndexData    label   word");
    for (size_t c = 0; c < cells.size(); ++c)
        src.Line("    VTPIndexEntry " + Gen_Cell_Name(Gen_Cell_Prefix_Vtp, cells[c].Col, cells[c].Row) +
                 ", VTPStart, datamark_v" + Gen_Num(c) + ", datamark_v" + Gen_Num(c + 1));
    src.Line(";" + std::string(29, '-'));
    src.Line("TextureStart    label   word");
    src.Line("    VTPTextureListHeader " + Gen_Num(textures) + ", TextureIndexStart, TextureDataStart, TextureDataEnd");
    src.Line("TextureIndexStart   label   word");
    for (size_t k = 1; k <= textures; ++k)
        src.Line("    VTPTextureListEntry TextureDataStart, texturemark_" + Gen_Num(k - 1) + ", texturemark_" +
                 Gen_Num(k));
    src.Line("TextureDataStart    label   word");
    src.Line("    texturemark_0   label   word");
    for (size_t k = 1; k <= textures; ++k) {
        write_texture(k);
        src.Line("    texturemark_" + Gen_Num(k) + "   label   word");
    }
    src.Line("TextureDataEnd  label   word");
    src.Line("; " + std::string(30, '-'));
    src.Line("VTPEnd      label   word");
}
