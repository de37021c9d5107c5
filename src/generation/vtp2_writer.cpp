// The VTP2 polygon source: pieces given texture sets, sorted and grouped by cell, written.
#include "generation/vtp2_writer.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/grid.h"
#include "core/project.h"
#include "core/syst.h"
#include "generation/exchange_sort.h"
#include "generation/grid_cut.h"
#include "generation/prepare_polygons.h"
#include "generation/vtp2_groups.h"
#include "generation/vtp_source.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"
#include "platform/files.h"
#include "platform/host.h"

namespace {

// What one texture list and one layer can hold.
constexpr int32_t Max_Textures = 127;
constexpr int32_t Texture_List_Start = 10;
constexpr int32_t Texture_List_Growth = 3;

const char* const Too_Many_Textures =
    "More than 127 generated textures in VTP2 polys, please create an other project";

// The pieces of a LOD8 cell, by LOD13 area; a run holds the pieces of one texture entry.
struct Cell {
    int16_t Col = 0;
    int16_t Row = 0;
    std::vector<Vtp_Area> Areas;
};

struct Texture_List {
    Vb_Array<Texture_Set_Rec> Sets;
    int32_t Count = 0;
    int32_t Capacity = 0;

    Texture_List() : Capacity(Texture_List_Start) { Sets.ReDim(Capacity); }
};

bool Same_Run(const Cut_Piece_Record& a, const Cut_Piece_Record& b) {
    return a.Lod8_Row == b.Lod8_Row && a.Lod8_Col == b.Lod8_Col && a.Lod13_Row == b.Lod13_Row &&
           a.Lod13_Col == b.Lod13_Col && a.Attr->Layer_Vtp2 == b.Attr->Layer_Vtp2 && a.Texture_Set == b.Texture_Set;
}

void Assign_Texture_Sets(Texture_List& textures) {
    for (int32_t p = 1; p <= Cut_Piece_Count; ++p) {
        Cut_Piece_Record& piece = Cut_Piece_Table(p);
        const Route_Attrib& a = *piece.Attr;
        Texture_Set_Candidate candidate;
        candidate.Size = 4;
        candidate.Kind = a.LandClass_Source;
        if (candidate.Kind == Texture_Kind_Land_Class) {
            candidate.Code = a.LC_Code;
        } else if (candidate.Kind == Texture_Kind_Type) {
            candidate.Code = a.Type_Code;
        } else if (candidate.Kind == Texture_Kind_Files) {
            for (size_t s = 0; s < candidate.Names.size(); ++s) {
                if (a.Texture_Name[s].empty()) continue;
                std::string folder, name = a.Texture_Name[s];
                uint8_t error = 0;
                SYST_Split_Path(a.Texture_Name[s], folder, name, error);
                candidate.Names[s] = name;
            }
        }
        int32_t set = 0;
        API_Find_Texture_Set(candidate, textures.Sets, textures.Count, textures.Capacity, set);
        piece.Texture_Set = set;
        piece.Texture_Entry = set;
    }
}

// Runs of more than one block's pieces get a texture entry of their own per further block.
void Slice_Runs(Texture_List& textures) {
    int32_t start = 1;
    while (start <= Cut_Piece_Count) {
        int32_t end = start;
        while (end + 1 <= Cut_Piece_Count && Same_Run(Cut_Piece_Table(end + 1), Cut_Piece_Table(start))) ++end;
        for (int32_t slice = start + Vtp_Max_Block; slice <= end; slice += Vtp_Max_Block) {
            if (textures.Count >= textures.Capacity) {
                textures.Capacity = textures.Count + Texture_List_Growth;
                textures.Sets.ReDim_Preserve(textures.Capacity);
            }
            const Texture_Set_Rec copy = textures.Sets(Cut_Piece_Table(start).Texture_Set);
            textures.Sets(++textures.Count) = copy;
            for (int32_t p = slice; p <= std::min(end, slice + Vtp_Max_Block - 1); ++p)
                Cut_Piece_Table(p).Texture_Entry = textures.Count;
        }
        start = end + 1;
    }
}

std::vector<Cell> Group_Pieces() {
    std::vector<Cell> cells;
    for (int32_t p = 1; p <= Cut_Piece_Count; ++p) {
        const Cut_Piece_Record& piece = Cut_Piece_Table(p);
        Cell& cell = Vtp_Cell_Of(cells, piece.Lod8_Col, piece.Lod8_Row);
        Vtp_Add_Entry(Vtp_Cell_Of(cell.Areas, piece.Lod13_Col, piece.Lod13_Row).Layers, piece.Attr->Layer_Vtp2,
                      piece.Texture_Entry, piece.Texture_Set, p);
    }
    return cells;
}

void Write_Piece(Gen_Source& src, const Cut_Piece_Record& piece) {
    Vtp_Write_Poly_Start(src, piece.Attr->Text_Rt, piece.Last_Point - piece.First_Point + 1, false);
    for (int32_t i = piece.First_Point; i <= piece.Last_Point; ++i) {
        const Cut_Piece_Point& p = Cut_Piece_Points(i);
        src.Line("               VTPPointXY2 " + Gen_Num(p.Local_X) + ", " + Gen_Num(p.Local_Y));
    }
}

// False when a layer holds more texture entries than a layer can name (the file is unfinished).
bool Write_Cells(Gen_Source& src, const std::vector<Cell>& cells, int32_t& blocks) {
    for (size_t c = 0; c < cells.size(); ++c) {
        for (const Vtp_Area& area : cells[c].Areas) {
            const bool written = Vtp_Write_Area(src, area, {cells[c].Col, cells[c].Row}, [&](const Vtp_Layer& layer) {
                Vtp_Write_Layer_Start(src, layer.Value, layer.Runs.size());
                if (layer.Runs.size() > static_cast<size_t>(Max_Textures)) {
                    Gen_Show_Failure(Too_Many_Textures);
                    return false;
                }
                for (const Vtp_Run& run : layer.Runs)
                    blocks += static_cast<int32_t>(
                        Vtp_Write_Run(src, run, [&](int32_t p) { Write_Piece(src, Cut_Piece_Table(p)); }));
                return true;
            });
            if (!written) return false;
        }
        Vtp_Write_Area_End(src, c);
    }
    return true;
}

void Write_Tail(Gen_Source& src, const std::vector<Cell>& cells, const Texture_List& textures) {
    Vtp_Write_Tail(src, Gen_Cell_Ids(cells), static_cast<size_t>(textures.Count), [&](size_t k) {
        const Texture_Set_Rec& set = textures.Sets(static_cast<int64_t>(k));
        if (set.Kind == Texture_Kind_Land_Class || set.Kind == Texture_Kind_Type) {
            src.Line("        VTPTextureName \"" + Gen_Num(set.Code) + "\"");
            src.Line("        VTPTextureType 0, 0, 0, 0");
        } else {
            src.Line("        VTPTextureName \"" + set.Names + "\"");
            src.Line("        VTPTextureType 0, 0, 0, " + Gen_Num(set.Size));
        }
    });
}

void Finish() {
    Piece_Tables_Erase();
    plat::CurrentHost().SetMousePointer(plat::Pointer_Default);
}

}  // namespace

void API_Sort_Pieces() {
    const int32_t n = Cut_Piece_Count;
    if (n < 2) return;
    struct Key {
        int16_t Row8, Col8, Row13, Col13, Layer;
        int32_t Set, Entry, Group, Order;
        float Sort;
    };
    std::vector<Key> keys;
    keys.reserve(static_cast<size_t>(n));
    for (int32_t i = 1; i <= n; ++i) {
        const Cut_Piece_Record& p = Cut_Piece_Table(i);
        keys.push_back({p.Lod8_Row, p.Lod8_Col, p.Lod13_Row, p.Lod13_Col, p.Attr->Layer_Vtp2, p.Texture_Set,
                        p.Texture_Entry, p.Group_Id, p.Ring_Number, p.Sort_Key});
    }
    auto first = [](const Key& a, const Key& b) {
        if (a.Row8 != b.Row8) return a.Row8 < b.Row8;
        if (a.Col8 != b.Col8) return a.Col8 < b.Col8;
        if (a.Row13 != b.Row13) return a.Row13 < b.Row13;
        if (a.Col13 != b.Col13) return a.Col13 < b.Col13;
        if (a.Layer != b.Layer) return a.Layer < b.Layer;
        if (a.Set != b.Set) return a.Set < b.Set;
        if (a.Entry != b.Entry) return a.Entry < b.Entry;
        if (a.Group != b.Group) return a.Group < b.Group;
        if (a.Order != b.Order) return a.Order > b.Order;
        return a.Sort < b.Sort;
    };
    Exchange_Sort_Apply(Exchange_Sort_Order(Exchange_Sort_Ranks(keys, first), false),
                        [](int32_t i) -> Cut_Piece_Record& { return Cut_Piece_Table(i + 1); });
}

void API_Write_Vtp2_Asm() {
    const std::string output = Gen_Output_Path("_5");
    Gen_Show_Stage(output, "VTP2 Polygons : BGLC.exe");
    plat::CurrentHost().SetMousePointer(plat::Pointer_Hourglass);
    Texture_List textures;
    Cut_Piece_Count = 0;

    bool has_polygons = false;
    for (int32_t i = 2; i <= Line_Count && !has_polygons; ++i) has_polygons = Line_Table(i).Attr.SurfShore < 2;
    if (!has_polygons) return Finish();
    if (!API_Prepare_Pieces(2)) return Finish();
    if (Cut_Piece_Count == 0) return Finish();

    Assign_Texture_Sets(textures);
    const int32_t sets = textures.Count;
    API_Sort_Pieces();
    if (Cut_Piece_Count > 1) Slice_Runs(textures);
    API_Sort_Pieces();
    if (textures.Count > Max_Textures) {
        Gen_Show_Failure(Too_Many_Textures);
        return Finish();
    }
    textures.Count = sets;
    const std::vector<Cell> cells = Group_Pieces();

    Gen_Source src("\\Tessaline$_VTP2.ASM");
    src.Head(";  Tessaline Polys VTP2 : Generated on ", Vtp_Cell_Bounds(Gen_Cell_Ids(cells)), Gen_Tail_Vtp);
    Vtp_Write_Start(src);
    int32_t blocks = 0;
    const bool complete = Write_Cells(src, cells, blocks);
    if (complete) Write_Tail(src, cells, textures);
    const bool written = src.Close();
    if (!complete) return Finish();
    if (!written) {
        Gen_Show_Failure(Gen_Cannot_Write_Text(src.Path()));
        return Finish();
    }
    if (blocks > 0) {
        Gen_Show_Stage(output, "VTP2 Polys : BGLC.exe");
        plat::DeleteFile(output);
        if (Gen_Run_Tool(Gen_Bglc_Command(src.Path(), output, 2), output) == Gen_Run_Result::Not_Started)
            Gen_Show_Failure("BGLC.exe not found");
    }
    Finish();
}
