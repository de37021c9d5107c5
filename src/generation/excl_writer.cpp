// The exclusion source: marked areas grouped by cell, one empty layer per excluded kind, compiled.
#include "generation/excl_writer.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "core/project.h"
#include "core/project_paths.h"
#include "generation/vtp_source.h"
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
    int16_t Col = 0;  // LOD8
    int16_t Row = 0;
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

void Write_Body(Gen_Source& src, const std::vector<Excl_Cell>& cells) {
    Vtp_Write_Start(src);
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
        Vtp_Write_Area_End(src, k);
    }
    Vtp_Write_Tail(src, Gen_Cell_Ids(cells), 1, [&](size_t) {
        src.Line("        VTPTextureName \"1162\"");
        if (Cfs_Mode == 0) src.Line("        VTPTextureType 2, 0, 0, 4");
    });
}

}  // namespace

void API_Write_Excl_Asm() {
    if (Excl_Cell_Count <= 0) return;
    const std::vector<Excl_Entry> entries = Collect_Entries();
    if (entries.empty()) return;

    Gen_Show_Stage(Bgl_Excl_Path, "Exclude : BGLC.exe");
    const std::vector<Excl_Cell> cells = Group_Entries(entries);

    Gen_Source src("\\Tessaline$_Excl.ASM");
    src.Head(Gen_Title_Excl, Vtp_Cell_Bounds(Gen_Cell_Ids(cells)), Gen_Tail_Vtp);
    Write_Body(src, cells);
    if (!src.Close()) {
        Gen_Show_Failure(Gen_Cannot_Write_Text(src.Path()));
        return;
    }

    const std::string output = Project_Resolve_Path(Bgl_Excl_Path);
    if (Gen_Run_Tool(Gen_Bglc_Command(src.Path(), output, 1), output) == Gen_Run_Result::Not_Started)
        Gen_Show_Failure("BGLC.exe not found");
}
