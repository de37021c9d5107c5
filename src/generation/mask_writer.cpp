// The land/water mask source: per area its fills, coast pieces and polygon pieces, grouped by
// cell, written and compiled; then the wide lines.
#include "generation/mask_writer.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "core/project.h"
#include "core/syst.h"
#include "generation/coast_stage.h"
#include "generation/exchange_sort.h"
#include "generation/grid_cut.h"
#include "generation/line_prep.h"
#include "generation/lwm_source.h"
#include "generation/prepare_polygons.h"
#include "generation/work_tables.h"
#include "generation/world_clip.h"
#include "generation/writer_base.h"
#include "platform/files.h"
#include "platform/host.h"

namespace {

constexpr uint8_t No_Fill = 3;
constexpr double No_Altitude = -9999;
constexpr double Feet_Per_Metre = 3.28084;
constexpr int Areas_Per_Side = 32;
// Polygons of more points take the extended forms; the older engine has no such form.
constexpr int32_t Max_Poly2_Points = 62;

struct Area_Entry {
    Lwm_Cell_Rec Cell;
    bool Has_Polys = false;
    int32_t First_Poly = 0;
    int32_t Last_Poly = 0;
    bool Has_Coasts = false;
    int32_t First_Coast = 0;
    int32_t Last_Coast = 0;

    bool Has_Content() const { return Has_Polys || Has_Coasts || Cell.Fill1x1 == 1; }
};

struct Mask_Cell {
    int16_t Col = 0;
    int16_t Row = 0;
    uint8_t Attrib = No_Fill;
};

using Area_Key = std::tuple<int16_t, int16_t, int16_t, int16_t>;

Area_Key Key_Of(const Lwm_Cell_Rec& c) { return {c.Lod8_Col, c.Lod8_Row, c.Lod13_Col, c.Lod13_Row}; }
Area_Key Key_Of(const Cut_Piece_Record& p) { return {p.Lod8_Col, p.Lod8_Row, p.Lod13_Col, p.Lod13_Row}; }

Lwm_Cell_Rec Default_Area(const Cut_Piece_Record& p) {
    Lwm_Cell_Rec c;
    c.Lod8_Col = p.Lod8_Col;
    c.Lod8_Row = p.Lod8_Row;
    c.Lod13_Col = p.Lod13_Col;
    c.Lod13_Row = p.Lod13_Row;
    c.Fill1x1 = 0;
    c.Attrib = No_Fill;
    c.Alti = No_Altitude;
    c.InvertMask = 0;
    c.InvertMaskValue = 0;
    c.Custom = 0;
    c.Texture_Source = 0;
    c.LC_Code = 253;
    c.Layer = 7;
    return c;
}

// Marks the areas holding pieces of `pieces` (appending the missing ones) and gives each marked
// area its run of pieces.
void Attach_Pieces(std::vector<Area_Entry>& areas, const Vb_Array<Cut_Piece_Record>& pieces, int32_t count,
                   bool coast) {
    std::map<Area_Key, size_t> index;
    for (size_t a = 0; a < areas.size(); ++a) index.try_emplace(Key_Of(areas[a].Cell), a);
    auto mark = [coast](Area_Entry& e) -> bool& { return coast ? e.Has_Coasts : e.Has_Polys; };

    std::map<Area_Key, std::pair<int32_t, int32_t>> runs;
    for (int32_t p = 1; p <= count; ++p) {
        // A piece that names no area of the world's grid is not written.
        const Cut_Piece_Record& piece = pieces(p);
        if (!World_Has_Area(piece.Lod8_Col, piece.Lod8_Row, piece.Lod13_Col, piece.Lod13_Row)) continue;
        const Area_Key key = Key_Of(piece);
        auto it = index.find(key);
        if (it == index.end()) {
            areas.push_back({Default_Area(pieces(p))});
            it = index.emplace(key, areas.size() - 1).first;
        }
        mark(areas[it->second]) = true;
        // The first run of the key counts: the pieces of one area stand together.
        auto [run, fresh] = runs.try_emplace(key, p, p);
        if (!fresh && run->second.second == p - 1) run->second.second = p;
    }
    for (Area_Entry& e : areas) {
        if (!mark(e)) continue;
        auto run = runs.find(Key_Of(e.Cell));
        if (run == runs.end()) {
            mark(e) = false;
            Gen_Show_Failure(coast ? "Ground Coast err" : "Ground Poly err");
            continue;
        }
        (coast ? e.First_Coast : e.First_Poly) = run->second.first;
        (coast ? e.Last_Coast : e.Last_Poly) = run->second.second;
    }
}

std::vector<Mask_Cell> Cell_List(const std::vector<Area_Entry>& areas) {
    std::vector<Mask_Cell> cells;
    for (int32_t i = 1; i <= Lod8_Cell_Count; ++i) {
        const Lod8_Cell_Rec& c = Lod8_Cell_Table(i);
        if (!World_Has_Area(c.Lod8_Col, c.Lod8_Row)) continue;
        cells.push_back({c.Lod8_Col, c.Lod8_Row, c.Attrib});
    }
    for (const Area_Entry& e : areas) {
        if (!e.Has_Content() || !World_Has_Area(e.Cell.Lod8_Col, e.Cell.Lod8_Row, e.Cell.Lod13_Col, e.Cell.Lod13_Row))
            continue;
        const bool known = std::any_of(cells.begin(), cells.end(), [&](const Mask_Cell& c) {
            return c.Col == e.Cell.Lod8_Col && c.Row == e.Cell.Lod8_Row;
        });
        if (!known) cells.push_back({e.Cell.Lod8_Col, e.Cell.Lod8_Row, No_Fill});
    }
    if (cells.size() < 2) return cells;
    Exchange_Sort_Vector(
        cells, [](const Mask_Cell& a, const Mask_Cell& b) { return std::pair(a.Row, a.Col) < std::pair(b.Row, b.Col); },
        false);
    return cells;
}

class Mask_Body {
public:
    Mask_Body(Gen_Source& src, const std::vector<Area_Entry>& areas) : src_(src), areas_(areas) {}

    bool Wrote_Data() const { return data_lines_ > 0; }

    void Cell(const Mask_Cell& cell) {
        std::array<int32_t, Areas_Per_Side * Areas_Per_Side> at;
        at.fill(-1);
        for (size_t a = 0; a < areas_.size(); ++a) {
            const Lwm_Cell_Rec& c = areas_[a].Cell;
            if (c.Lod8_Col != cell.Col || c.Lod8_Row != cell.Row || !areas_[a].Has_Content()) continue;
            if (c.Lod13_Col < 0 || c.Lod13_Col >= Areas_Per_Side || c.Lod13_Row < 0 || c.Lod13_Row >= Areas_Per_Side)
                continue;
            at[static_cast<size_t>(c.Lod13_Row * Areas_Per_Side + c.Lod13_Col)] = static_cast<int32_t>(a);
        }
        for (int row = 0; row < Areas_Per_Side; ++row) {
            for (int col = 0; col < Areas_Per_Side; ++col) {
                const int32_t a = at[static_cast<size_t>(row * Areas_Per_Side + col)];
                const Area_Entry* entry = a >= 0 ? &areas_[static_cast<size_t>(a)] : nullptr;
                const uint8_t fill = entry ? (entry->Cell.Fill1x1 == 1 ? entry->Cell.Attrib : No_Fill) : cell.Attrib;
                Sub_Area(col, row, entry, fill);
            }
        }
    }

private:
    static int16_t Mask_Of(const Area_Entry& e) { return e.Cell.InvertMask == 1 ? e.Cell.InvertMaskValue : 3; }

    void Sub_Area(int col, int row, const Area_Entry* entry, uint8_t fill) {
        const std::string place = Gen_Num(col) + "," + Gen_Num(row);
        if (fill != No_Fill) {
            const int16_t mask = entry ? Mask_Of(*entry) : 3;
            int32_t w = 0, f = 0;
            Gen_Altitude_Pair(entry ? entry->Cell.Alti : No_Altitude, w, f);
            Data_Line(Lwm_Area_Line(1, mask, place));
            src_.Line("          LWMPoly2   4,0," + Gen_Num(fill) + "," + Gen_Num(w) + "," + Gen_Num(f));
            src_.Line("            LWMPoint 0,0");
            src_.Line("            LWMPoint 255,0");
            src_.Line("            LWMPoint 255,255");
            src_.Line("            LWMPoint 0,255");
        }
        if (entry && entry->Has_Coasts)
            Pieces(Coast_Piece_Table, Coast_Piece_Points, entry->First_Coast, entry->Last_Coast, 3, place, true);
        if (entry && entry->Has_Polys)
            Pieces(Cut_Piece_Table, Cut_Piece_Points, entry->First_Poly, entry->Last_Poly, Mask_Of(*entry), place,
                   false);
    }

    void Pieces(const Vb_Array<Cut_Piece_Record>& pieces, const Vb_Array<Cut_Piece_Point>& points, int32_t first,
                int32_t last, int16_t mask, const std::string& place, bool coast) {
        Data_Line(Lwm_Area_Line(static_cast<size_t>(last - first + 1), mask, place));
        for (int32_t p = first; p <= last; ++p) {
            const Cut_Piece_Record& piece = pieces(p);
            const Route_Attrib& attr = *piece.Attr;
            src_.Line("; ");
            src_.Line("; ", Gen_Free_Text(attr.Text_Rt));
            src_.Line("; ");
            const int32_t c = piece.Last_Point - piece.First_Point + 1;
            const int16_t type = coast ? 0 : attr.Attrib;
            double altitude = coast ? attr.Alt_Coast : attr.Alti;
            if (!coast && altitude != No_Altitude && attr.Meter_Feet == 1) altitude /= Feet_Per_Metre;
            int32_t w = 0, f = 0;
            Gen_Altitude_Pair(altitude, w, f);
            if (Cfs_Mode == 1) {
                if (c > Max_Poly2_Points) Gen_Show_Failure("LWM poly/CFS : more than 62 points");
                src_.Line("          LWMPoly1 ", c, ",0,", type);
            } else if (c <= Max_Poly2_Points) {
                src_.Line("          LWMPoly2   ", c, ",0,", type, ",", w, ",", f);
            } else {
                src_.Line("          LWMPoly2Ex 63,0,", type, ",", w, ",", f, ",", c - 63);
            }
            for (int32_t i = piece.First_Point; i <= piece.Last_Point; ++i)
                src_.Line("            LWMPoint ", points(i).Local_X, ",", points(i).Local_Y);
        }
    }

    void Data_Line(const std::string& text) {
        src_.Line(text);
        ++data_lines_;
    }

    Gen_Source& src_;
    const std::vector<Area_Entry>& areas_;
    int32_t data_lines_ = 0;
};

void Release_Pieces() {
    Piece_Tables_Erase();
    Coast_Piece_Table.Erase();
    Coast_Piece_Points.Erase();
    Coast_Count = 0;
}

}  // namespace

void Gen_Altitude_Pair(double altitude, int32_t& whole, int32_t& fraction) {
    // The whole part is a 32-bit field and the fraction counts 128ths: an altitude beyond that
    // reach is written at its end (0 for one that is no number), with the fraction still 0..127.
    constexpr double reach = INT32_MAX;
    const double a = std::isnan(altitude) ? 0.0 : std::clamp(altitude, -reach, reach);
    whole = SYST_Truncate(a);
    fraction = std::clamp(SYST_Truncate(std::fabs(a - whole) * 128), 0, 127);
}

void API_Write_Lwm_Asm() {
    Gen_Set_Compile_Name(Gen_Output_Path("_3"));
    API_Make_Coastlines();
    Lwm_Write_Source();
}

void Lwm_Write_Source() {
    const std::string output = Gen_Output_Path("_3");
    Gen_Set_Compile_Name(output);
    // The coastline stage leaves its pieces in Coast_Piece_Table; a count beyond the table
    // (a stage that stopped half-way) is not trusted.
    const int32_t coasts = std::clamp(Coast_Count, 0, Coast_Piece_Table.UBound());
    Gen_Set_Compile_Step("LWM Polygons : BGLC.exe");
    Gen_Repaint();

    bool has_polygons = false;
    for (int32_t i = 2; i <= Line_Count && !has_polygons; ++i) has_polygons = Line_Table(i).Attr.SurfShore < 2;

    plat::CurrentHost().SetMousePointer(plat::Pointer_Hourglass);
    std::vector<Area_Entry> areas;
    areas.reserve(static_cast<size_t>(std::max(Lwm_Cell_Count, 0)) + 10);
    for (int32_t i = 1; i <= Lwm_Cell_Count; ++i) areas.push_back({Lwm_Cell_Table(i)});

    Cut_Piece_Count = 0;
    if (has_polygons) API_Prepare_Pieces(0);
    Attach_Pieces(areas, Cut_Piece_Table, Cut_Piece_Count, false);
    Attach_Pieces(areas, Coast_Piece_Table, coasts, true);
    const std::vector<Mask_Cell> cells = Cell_List(areas);

    std::string source_path;
    bool written = false, compile = false;
    {
        // The source goes before the wide-line stage starts.
        Gen_Source src("\\Tessaline$_Poly_LWM.asm");
        source_path = src.Path();
        src.Head(Gen_Title_Lwm, Lwm_Map_Bounds(), Gen_Tail_Lwm);
        Lwm_Write_Start(src, Cfs_Mode == 1 ? 256 : 513);
        Mask_Body body(src, areas);
        for (size_t k = 0; k < cells.size(); ++k) {
            body.Cell(cells[k]);
            Lwm_Write_Area_End(src, k);
        }
        Lwm_Write_Tail(src, Gen_Cell_Ids(cells));
        written = src.Close();
        compile = body.Wrote_Data();
    }
    Release_Pieces();

    if (!written) {
        Gen_Show_Failure(Gen_Cannot_Write_Text(source_path));
    } else if (compile) {
        plat::DeleteFile(output);
        const Gen_Run_Result result = Gen_Run_Tool(Gen_Bglc_Command(source_path, output, 2), output);
        if (result != Gen_Run_Result::Done) Gen_Show_Failure("pb Ground generation 2");
        if (result == Gen_Run_Result::Not_Started) {
            plat::CurrentHost().SetMousePointer(plat::Pointer_Default);
            return;
        }
    }
    API_Prepare_Lines();
    plat::CurrentHost().SetMousePointer(plat::Pointer_Default);
}
