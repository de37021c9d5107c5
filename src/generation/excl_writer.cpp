#include "generation/excl_writer.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "core/project.h"
#include "core/project_paths.h"
#include "core/syst.h"
#include "generation/writer_base.h"

namespace {

struct Excl_Entry {
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    int16_t Area_Col = 0;
    int16_t Area_Row = 0;
    uint8_t Kind = 0;

    auto Key() const { return std::tie(Lod8_Row, Lod8_Col, Area_Row, Area_Col, Kind); }
};

struct Excl_Area {
    int16_t Area_Col = 0;
    int16_t Area_Row = 0;
    std::vector<uint8_t> Kinds;  // increasing, each once
};

struct Excl_Cell {
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    std::vector<Excl_Area> Areas;
};

// More layers than this do not fit a data area.
constexpr size_t Max_Layers_Per_Area = 31;

std::vector<Excl_Entry> Collect_Entries() {
    std::vector<Excl_Entry> entries;
    entries.reserve(static_cast<size_t>(std::max(Excl_Cell_Count, 0)) * 10);
    for (int32_t i = 1; i <= Excl_Cell_Count; ++i) {
        const Excl_Cell_Rec& rec = Excl_Cell_Table(i);
        for (int kind = 0; kind < Excl_Flag_Count; ++kind)
            if (rec.Excluded[static_cast<size_t>(kind)] == 1)
                entries.push_back({rec.Lod8_Col, rec.Lod8_Row, rec.Lod13_Col, rec.Lod13_Row,
                                   static_cast<uint8_t>(kind)});
    }
    // The key covers every field, so equal entries are identical and any sort gives one order.
    std::sort(entries.begin(), entries.end(),
              [](const Excl_Entry& a, const Excl_Entry& b) { return a.Key() < b.Key(); });
    return entries;
}

std::vector<Excl_Cell> Group_Entries(const std::vector<Excl_Entry>& entries) {
    std::vector<Excl_Cell> cells;
    const Excl_Entry* previous = nullptr;
    for (const Excl_Entry& e : entries) {
        if (!previous || e.Lod8_Col != previous->Lod8_Col || e.Lod8_Row != previous->Lod8_Row) {
            cells.push_back({e.Lod8_Col, e.Lod8_Row, {}});
            cells.back().Areas.push_back({e.Area_Col, e.Area_Row, {e.Kind}});
        } else if (e.Area_Col != previous->Area_Col || e.Area_Row != previous->Area_Row) {
            cells.back().Areas.push_back({e.Area_Col, e.Area_Row, {e.Kind}});
        } else if (e.Kind != previous->Kind) {
            cells.back().Areas.back().Kinds.push_back(e.Kind);
        }
        previous = &e;
    }
    return cells;
}

Gen_Bounds Excl_Bounds(const std::vector<Excl_Cell>& cells) {
    int32_t min_col = cells.front().Lod8_Col, max_col = cells.front().Lod8_Col;
    for (const Excl_Cell& c : cells) {
        min_col = std::min<int32_t>(min_col, c.Lod8_Col);
        max_col = std::max<int32_t>(max_col, c.Lod8_Col);
    }
    Gen_Bounds b;
    b.North = SYST_Truncate(90 - cells.front().Lod8_Row * 0.3515625) + 1;
    b.South = SYST_Truncate(90 - (cells.back().Lod8_Row + 1) * 0.3515625) - 1;
    b.West = SYST_Truncate(min_col * 0.46875 - 180) - 1;
    b.East = SYST_Truncate((max_col + 1) * 0.46875 - 180) + 1;
    return Gen_Clamp(b);
}

void Write_Body(Gen_Source& src, const std::vector<Excl_Cell>& cells) {
    src.Line("VTPHeader   label   word");
    src.Line("    VTPFileHeader 256, VTPIndexStart, TextureStart, VTPEnd");
    src.Line("VTPStart        label   word");
    src.Line("    datamark_v0 label   word");
    for (size_t k = 0; k < cells.size(); ++k) {
        for (const Excl_Area& area : cells[k].Areas) {
            const size_t n = std::min(area.Kinds.size(), Max_Layers_Per_Area);
            src.Line("        VTPDataArea " + Gen_Num(n) + ", 0, " + Gen_Num(area.Area_Col) + ", " +
                     Gen_Num(area.Area_Row));
            for (size_t l = 0; l < n; ++l) {
                src.Line("        VTPLayer " + Gen_Num(area.Kinds[l]) + ", 1");
                src.Line("        VTPNumTexturesInLayer 0, 0");
            }
        }
        src.Line("    datamark_v" + Gen_Num(k + 1) + " label   word");
    }
    const std::string dashes46 = ";" + std::string(46, '-');
    src.Line(dashes46);
    for (const Excl_Cell& c : cells)
        src.Line(Gen_Cell_Name(Gen_Cell_Prefix_Vtp, c.Lod8_Col, c.Lod8_Row) + "    EQU  VTPCellID 0, " +
                 Gen_Num(c.Lod8_Col) + ", " + Gen_Num(c.Lod8_Row));
    src.Line(dashes46);
    src.Line("    VTPIndexStart   label   word");
    src.Line("    VTPIndexHeader " + Gen_Num(cells.size()) + ", VTPIndexData, VTPStart");
    src.Line("    VTPIndexData    label   word");
    for (size_t k = 0; k < cells.size(); ++k)
        src.Line("    VTPIndexEntry " + Gen_Cell_Name(Gen_Cell_Prefix_Vtp, cells[k].Lod8_Col, cells[k].Lod8_Row) +
                 ", VTPStart, datamark_v" + Gen_Num(k) + ", datamark_v" + Gen_Num(k + 1));
    src.Line(";" + std::string(29, '-'));
    src.Line("TextureStart    label   word");
    src.Line("    VTPTextureListHeader 1, TextureIndexStart, TextureDataStart, TextureDataEnd");
    src.Line("TextureIndexStart   label   word");
    src.Line("    VTPTextureListEntry TextureDataStart, texturemark_0, texturemark_1");
    src.Line("TextureDataStart    label   word");
    src.Line("    texturemark_0   label   word");
    src.Line("        VTPTextureName \"1162\"");
    if (Cfs_Mode == 0) src.Line("        VTPTextureType 2, 0, 0, 4");
    src.Line("    texturemark_1   label   word");
    src.Line("TextureDataEnd  label   word");
    src.Line("; " + std::string(30, '-'));
    src.Line("VTPEnd      label   word");
}

}  // namespace

void API_Write_Excl_Asm() {
    if (Excl_Cell_Count <= 0) return;
    const std::vector<Excl_Entry> entries = Collect_Entries();
    if (entries.empty()) return;

    Gen_Show_Stage(Bgl_Excl_Path, "Exclude : BGLC.exe");
    const std::vector<Excl_Cell> cells = Group_Entries(entries);

    Gen_Source src("\\Tessaline$_Excl.ASM");
    src.Head(Gen_Title_Excl, Excl_Bounds(cells), Gen_Tail_Vtp);
    Write_Body(src, cells);
    if (!src.Close()) {
        Gen_Show_Failure("Cannot write " + src.Path());
        return;
    }

    const std::string output = Project_Resolve_Path(Bgl_Excl_Path);
    if (Gen_Run_Tool(Gen_Bglc_Command(src.Path(), output, 1), output) != Gen_Run_Result::Done)
        Gen_Show_Failure("BGLC.exe not found");
}
