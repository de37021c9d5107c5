// The wide-line source: line entries built per LOD8 cell, sorted by layer and type, their
// textures and points written, compiled.
#include "generation/vtp_lines_writer.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/grid.h"
#include "core/syst.h"
#include "generation/exchange_sort.h"
#include "generation/line_prep.h"
#include "generation/vtp_source.h"
#include "generation/work_tables.h"
#include "generation/world_clip.h"
#include "generation/writer_base.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"

Vb_Array<Line_Entry_Rec> Line_Entry_Table;
int32_t Line_Entry_Count = 0;
Vb_Array<Line_Entry_Point> Line_Entry_Points;
int32_t Line_Entry_Point_Count = 0;

namespace {

// What one layer can hold.
constexpr size_t Max_Groups = 127;
constexpr int16_t Own_Texture_First = 4096;

// The line entries of a LOD8 cell; a run holds the entries of one type.
using Cell = Vtp_Area;

int16_t To_I16(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

void Erase_Entries() {
    Line_Entry_Table.Erase();
    Line_Entry_Points.Erase();
    Line_Entry_Count = 0;
    Line_Entry_Point_Count = 0;
}

void Push_Point(const Line_Entry_Point& p) { Line_Entry_Points(++Line_Entry_Point_Count) = p; }

void Build_Entries() {
    Line_Entry_Count = 0;
    Line_Entry_Point_Count = 0;
    Line_Entry_Table.ReDim(Work_Poly_Count + 1);
    Line_Entry_Points.ReDim(Work_Point_Count + 3 * Work_Poly_Count + 1);
    std::vector<Line_Entry_Point> local;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        const int32_t n = rec.Nb_Points;
        if (n < 1) continue;
        double centre_x = 0, centre_y = 0;
        Work_Record_Centre(rec, centre_x, centre_y);
        int16_t col = 0, row = 0, cx = 0, cy = 0;
        Com_Pixel_To_Cell_Pos(centre_x, centre_y, col, row, cx, cy);
        // The lines are cut at the world's edge; a piece lying on it names no cell.
        if (!World_Has_Area(col, row)) continue;

        const bool centred = Is_Centred_Type(rec.Attr->Type_Code);
        // A piece beyond the map's grid lines was not cut into its cells.
        if (!centred && !Work_Record_Fits_Area(rec, col, row, 0, 0, false)) continue;
        local.clear();
        for (int32_t i = 0; i < n; ++i) {
            const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + i);
            Line_Entry_Point q;
            if (centred)
                Com_Pixel_To_Cell_Pos_Centred(p.X, p.Y, col, row, q.X, q.Y);
            else
                Com_Pixel_To_Cell_Pos_Clamped(p.X, p.Y, col, row, q.X, q.Y);
            local.push_back(q);
        }

        Line_Entry_Rec& entry = Line_Entry_Table(++Line_Entry_Count);
        entry = Line_Entry_Rec{};
        entry.First_Point = Line_Entry_Point_Count + 1;
        for (int32_t i = 0; i < n; ++i) {
            const uint8_t marker = Work_Point_Table(rec.First_Point + i).Flag;
            const Line_Entry_Point& here = local[static_cast<size_t>(i)];
            if (centred || marker == 0 || n < 2) {
                Push_Point(here);
            } else if (i == 0) {
                Line_Entry_Point c;
                API_Step_Beside_Segment(here, c, local[1], 0, marker);
                if (marker == 1) {
                    Push_Point(here);
                    Push_Point(c);
                } else {
                    Push_Point(c);
                    Push_Point(here);
                }
            } else if (i == n - 1) {
                Line_Entry_Point c;
                API_Step_Beside_Segment(local[static_cast<size_t>(i - 1)], c, here, 1, marker);
                if (marker == 1) {
                    Push_Point(c);
                    Push_Point(here);
                } else {
                    Push_Point(here);
                    Push_Point(c);
                }
            } else {
                Push_Point(here);
            }
        }
        entry.Last_Point = Line_Entry_Point_Count;
        entry.Nb_Points = To_I16(entry.Last_Point - entry.First_Point + 1);
        entry.Lod8_Col = col;
        entry.Lod8_Row = row;
        entry.Layer = rec.Attr->Layer;
        entry.Texture_Index = 0;
        entry.Line_Id = rec.Line_Id;
        entry.Attr = *rec.Attr;
    }
}

struct Entry_Key {
    int16_t Row, Col, Layer, Type;
    bool operator<(const Entry_Key& o) const {
        if (Row != o.Row) return Row < o.Row;
        if (Col != o.Col) return Col < o.Col;
        if (Layer != o.Layer) return Layer < o.Layer;
        return Type < o.Type;
    }
};

void Sort_Entries() {
    const int32_t n = Line_Entry_Count;
    if (n < 2) return;
    std::vector<Entry_Key> keys;
    keys.reserve(static_cast<size_t>(n));
    for (int32_t i = 1; i <= n; ++i) {
        const Line_Entry_Rec& e = Line_Entry_Table(i);
        keys.push_back({e.Lod8_Row, e.Lod8_Col, e.Layer, e.Attr.Type_Code});
    }
    Exchange_Sort_Apply(
        Exchange_Sort_Order(Exchange_Sort_Ranks(keys, [](const Entry_Key& a, const Entry_Key& b) { return a < b; }),
                            false),
        [](int32_t i) -> Line_Entry_Rec& { return Line_Entry_Table(i + 1); });
}

std::vector<int16_t> Texture_List() {
    std::vector<int16_t> textures;
    for (int32_t i = 1; i <= Line_Entry_Count; ++i) {
        Line_Entry_Rec& e = Line_Entry_Table(i);
        auto it = std::find(textures.begin(), textures.end(), e.Attr.Type_Code);
        if (it == textures.end()) {
            textures.push_back(e.Attr.Type_Code);
            it = textures.end() - 1;
        }
        e.Texture_Index = static_cast<int16_t>(it - textures.begin() + 1);
    }
    return textures;
}

std::vector<Cell> Group_Entries() {
    std::vector<Cell> cells;
    for (int32_t i = 1; i <= Line_Entry_Count; ++i) {
        const Line_Entry_Rec& e = Line_Entry_Table(i);
        Vtp_Add_Entry(Vtp_Cell_Of(cells, e.Lod8_Col, e.Lod8_Row).Layers, e.Layer, e.Attr.Type_Code, e.Texture_Index, i);
    }
    return cells;
}

void Write_Line_Entry(Gen_Source& src, const Line_Entry_Rec& e) {
    const bool centred = Is_Centred_Type(e.Attr.Type_Code);
    const int32_t n = e.Last_Point - e.First_Point + 1;
    Vtp_Write_Poly_Start(src, e.Attr.Text_Rt, centred ? n : n + 2, true);
    auto wide = [&](const Line_Entry_Point& p, int edge) {
        src.Line("               VTPWidePoint ", p.X, ", ", edge, ", ", p.Y, ", 0");
    };
    if (centred) {
        for (int32_t i = e.First_Point; i <= e.Last_Point; ++i) wide(Line_Entry_Points(i), 0);
        return;
    }
    const Line_Entry_Point& first = Line_Entry_Points(e.First_Point);
    wide(first, 1);
    src.Line("               VTPWidePointWidth 1");
    wide(first, 1);
    src.Line("               VTPWidePointWidth ", e.Attr.Largeur);
    for (int32_t i = e.First_Point; i < e.Last_Point; ++i) wide(Line_Entry_Points(i), 0);
    wide(Line_Entry_Points(e.Last_Point), 1);
    src.Line("               VTPWidePointWidth 0");
}

// A number 0..255 from the texture file, else the default.
int Byte_Value(const std::string& text, int fallback) {
    const std::string t = plat::Trim(text);
    if (t.empty() || t.find_first_not_of("0123456789") != std::string::npos || t.size() > 3) return fallback;
    const int v = std::stoi(t);
    return v <= 255 ? v : fallback;
}

void Write_Texture(Gen_Source& src, int16_t type_code) {
    if (type_code < Own_Texture_First) {
        src.Line("        VTPTextureName \"" + Gen_Num(type_code) + "\"");
        src.Line("        VTPTextureType 0, 0, 0, 0");
        return;
    }
    const std::string file = App_Dir + "\\Resource\\OwnLines4.txt";
    const std::string section = "Texture." + Gen_Num(type_code);
    auto read = [&](const char* key, const char* fallback) {
        return plat::Trim(plat::GetPrivateProfileString(section, key, fallback, file, 256));
    };
    const int type = Byte_Value(read("Type", "2"), 2);
    const int size = Byte_Value(read("Size", "4"), 4);
    std::string textures = read("Textures", "ShoreSU.bmp");
    std::replace(textures.begin(), textures.end(), ',', ';');
    const std::string effect = read("Effect", "");
    src.Line("        VTPTextureName \"" + textures + "\"");
    src.Line("        VTPTextureType " + Gen_Num(type) + ", " + (effect.empty() ? "0" : "1") + ", 0, " + Gen_Num(size));
    if (!effect.empty()) {
        src.Line("         BYTE \"" + effect + "\"");
        src.Line("         BYTE 0");
    }
}

void Write_Body(Gen_Source& src, const std::vector<Cell>& cells, const std::vector<int16_t>& textures) {
    Vtp_Write_Start(src);
    for (size_t c = 0; c < cells.size(); ++c) {
        Vtp_Write_Area(src, cells[c], {cells[c].Col, cells[c].Row}, [&](const Vtp_Layer& layer) {
            const size_t groups = std::min(layer.Runs.size(), Max_Groups);
            size_t blocks = 0;
            for (size_t g = 0; g < groups; ++g) blocks += Vtp_Run_Blocks(layer.Runs[g]);
            Vtp_Write_Layer_Start(src, layer.Value, blocks);
            for (size_t g = 0; g < groups; ++g)
                Vtp_Write_Run(src, layer.Runs[g], [&](int32_t i) { Write_Line_Entry(src, Line_Entry_Table(i)); });
            return true;
        });
        Vtp_Write_Area_End(src, c);
    }
    Vtp_Write_Tail(src, Gen_Cell_Ids(cells), textures.size(),
                   [&](size_t k) { Write_Texture(src, textures[k - 1]); });
}

// The rule of the step on one axis: towards the other point for +1, away from it for -1.
int32_t Stepped(int32_t e, int32_t o, int32_t step, bool end0) {
    return (o > e || (end0 && o == e)) ? e + step : e - step;
}

}  // namespace

void API_Step_Beside_Segment(const Line_Entry_Point& a, Line_Entry_Point& c, const Line_Entry_Point& b,
                             int16_t end, uint8_t marker) {
    const int32_t step = marker == 1 ? 1 : -1;
    const bool end0 = end == 0;
    const Line_Entry_Point& e = end0 ? a : b;
    const Line_Entry_Point& o = end0 ? b : a;
    if (e.X == o.X) {
        c.X = e.X;
        c.Y = To_I16(Stepped(e.Y, o.Y, step, end0));
        return;
    }
    if (e.Y == o.Y) {
        c.Y = e.Y;
        c.X = To_I16(Stepped(e.X, o.X, step, end0));
        return;
    }
    double m = 0, k = 0;
    SYST_Line_Slope_Intercept(a.X, a.Y, b.X, b.Y, m, k);
    if (std::abs(o.X - e.X) > std::abs(o.Y - e.Y)) {
        c.X = To_I16(Stepped(e.X, o.X, step, end0));
        c.Y = To_I16(SYST_Truncate(m * c.X + k));
    } else {
        c.Y = To_I16(Stepped(e.Y, o.Y, step, end0));
        c.X = To_I16(SYST_Truncate((c.Y - k) / m));
    }
}

void API_Write_Lines_Asm() {
    Build_Entries();
    if (Line_Entry_Count == 0) {
        Erase_Entries();
        return;
    }
    Sort_Entries();
    const std::vector<int16_t> textures = Texture_List();
    const std::vector<Cell> cells = Group_Entries();

    Gen_Source src("\\Tessaline$_Lines.ASM");
    src.Head(";  Tessaline Lines : Generated on ", Vtp_Cell_Bounds(Gen_Cell_Ids(cells)), Gen_Tail_Vtp);
    Write_Body(src, cells, textures);
    Erase_Entries();
    const bool written = src.Close();

    const std::string output = Gen_Output_Path("_9");
    plat::DeleteFile(output);
    Gen_Show_Stage(Bgl_Base_Path, "lines : BGLC.exe");
    if (!written) {
        Gen_Show_Failure(Gen_Cannot_Write_Text(src.Path()));
        return;
    }
    if (Gen_Run_Tool(Gen_Bglc_Command(src.Path(), output, 2), output) == Gen_Run_Result::Not_Started)
        Gen_Show_Failure("BGLC.exe not found");
}
