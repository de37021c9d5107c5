// The grid over the map: the LOD13 and LOD8 lines in view, hatches on the marked cells, and the
// land- and water-class cells painted with their textures.
#include "editor/cell_layers.h"

#include "core/grid.h"
#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "core/syst_draw.h"
#include "core/texture_convert.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/map_view.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"
#include "platform/text.h"
#include "platform/gdi/picture_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

int32_t Grid_First_Col = 0;
int32_t Grid_Last_Col = 0;
int32_t Grid_First_Row = 0;
int32_t Grid_Last_Row = 0;
double Grid_First_X = 0;
double Grid_Last_X = 0;
double Grid_First_Y = 0;
double Grid_Last_Y = 0;

namespace {

constexpr int32_t kLod8Red = 255;
constexpr int32_t kBlue = 0xFF0000;
constexpr int32_t kMagenta = 0xFF00FF;
constexpr int32_t kBlack = 0;
constexpr int32_t kYellow = 0xFFFF;
constexpr int32_t kNoMark = -1;
// Cells narrower than this many picture pixels are neither hatched nor painted.
constexpr double kMinCellWidth = 5;

// The lines of one direction in view: the line on or just before the picture's near edge
// up to the one just past its far edge, or the far edge of the map when that is in view.
void Window_Axis(double near_edge, double far_edge, double step, int32_t count, double scale,
                 int32_t& first, int32_t& last, double& first_pos, double& last_pos) {
    first = last = 0;
    first_pos = last_pos = 0;
    // An uncalibrated or inverted rectangle has no grid.
    if (count <= 0 || !std::isfinite(step) || !(step > 0) || !std::isfinite(near_edge)) return;
    double f = 1;
    double fp = near_edge;
    if (near_edge < 0) {
        const double k = std::fabs(std::trunc(near_edge / step));
        // The line at the picture's edge would lie past the map's far edge: nothing in view.
        if (k > static_cast<double>(count) + 1) return;
        f = k + 1;
        fp = k * step + near_edge;
    }
    first_pos = fp;
    if (fp > scale - 1) return;
    double l = f + std::trunc((scale - fp) / step) + 1;
    if (far_edge <= scale - 1) l = static_cast<double>(count) + 1;
    // No grid line lies beyond the far edge of the calibrated rectangle.
    l = std::min(l, static_cast<double>(count) + 1);
    const double lp = (l - f) * step + fp;
    last_pos = lp;
    if (lp < 0) return;
    // Both are at most count + 1, which the largest count leaves one past the 32-bit range.
    first = SYST_Saturate<int32_t>(f);
    last = SYST_Saturate<int32_t>(l);
}

// A grid line whose degree value is a whole number of LOD8 cells.
bool On_Lod8_Line(double degrees, double lod8_size) {
    const double q = degrees / lod8_size;
    const double frac = q - std::trunc(q);
    return frac > -0.0001 && frac < 0.0001;
}

// The lines of one direction, line i at picture position round(i * step + first), 0 <= i <= n.
// Zoomed out, several lines round to one pixel row or column: that pixel gets one line, a LOD8
// line when any of them is one. LOD8 lines come back every 32 lines, so 32 of a run tell.
template <class Is_Lod8, class Draw>
void Draw_Axis_Lines(int32_t n, double step, double first, Is_Lod8 is_lod8, Draw draw) {
    PSais_For_Each_Pixel_Run(n, step, first, [&](int32_t at, int32_t a, int32_t b) {
        bool lod8 = false;
        for (int32_t i = a; i <= b && i - a < 32 && !lod8; ++i) lod8 = is_lod8(i);
        draw(at, lod8);
    });
}

void Draw_Grid_Lines(const Grid_Steps& g) {
    if (Grid_First_Row == 0 || Grid_First_Col == 0) return;
    const int32_t x1 = SYST_Round(Grid_First_X), x2 = SYST_Round(Grid_Last_X);
    Draw_Axis_Lines(
        Grid_Last_Row - Grid_First_Row, g.Step_Y, Grid_First_Y,
        [](int32_t i) { return On_Lod8_Line(Map_Lat_North - (i + Grid_First_Row - 1.0) * Lod13_Height, Lod8_Height); },
        [&](int32_t y, bool lod8) {
            PSais_Draw_Grid_Segment(x1, y, x2, y, lod8 ? kLod8Red : Grid_Colour, lod8 ? plat::DS_Solid : plat::DS_Dot);
        });
    const int32_t y1 = SYST_Round(Grid_First_Y), y2 = SYST_Round(Grid_Last_Y);
    Draw_Axis_Lines(
        Grid_Last_Col - Grid_First_Col, g.Step_X, Grid_First_X,
        [](int32_t i) { return On_Lod8_Line((i + Grid_First_Col - 1.0) * Lod13_Width + Map_Lon_West, Lod8_Width); },
        [&](int32_t x, bool lod8) {
            PSais_Draw_Grid_Segment(x, y1, x, y2, lod8 ? kLod8Red : Grid_Colour, lod8 ? plat::DS_Solid : plat::DS_Dot);
        });
}

// A cell in view, in integer picture pixels, and the map point under its middle.
struct View_Cell {
    int32_t left, right, top, bottom;
    double map_x, map_y;
};

// Calls visit for every whole cell between the lines in view, row by row. A row that rounds to
// no height is left to the row after it, which covers its pixel row: so the rows visited are
// at most the picture's. With flat_rows such rows are visited too, as one strip on their pixel
// row: they all share it, and so the one map point under its middle.
template <class Visit>
void For_Each_Cell_In_View(const Grid_Steps& g, Visit visit, bool flat_rows = false) {
    const int32_t rows = Grid_Last_Row - Grid_First_Row;
    const auto visit_row = [&](int32_t top, int32_t bottom) {
        View_Cell c{};
        c.top = top;
        c.bottom = bottom;
        const double middle_y = (c.top + static_cast<double>(c.bottom)) / 2;
        for (int32_t j = 0; j < Grid_Last_Col - Grid_First_Col; ++j) {
            c.left = SYST_Round(j * g.Step_X + Grid_First_X);
            c.right = SYST_Round((j + 1) * g.Step_X + Grid_First_X);
            const double middle_x = (c.left + static_cast<double>(c.right)) / 2;
            PSais_Picture_To_Map(middle_x, middle_y, c.map_x, c.map_y);
            visit(c);
        }
    };
    PSais_For_Each_Pixel_Run(rows, g.Step_Y, Grid_First_Y, [&](int32_t top, int32_t first, int32_t i) {
        if (flat_rows && first < i && first < rows) visit_row(top, top);
        if (i >= rows) return;
        visit_row(top, SYST_Round((i + 1) * g.Step_Y + Grid_First_Y));
    });
}

void Hatch(const View_Cell& c, double step_x, int16_t h, int32_t colour) {
    for (int16_t k = 1; k <= h; ++k) {
        const int32_t x = SYST_Round(step_x / (h + 1) * k + c.left);
        PSais_Draw_Grid_Segment(x, c.top, x, c.bottom, colour, plat::DS_Dot);
    }
}

// The cell table the current cell mode marks; none when its table is empty.
enum class Mark_Table { None, Lwm, Lod8, Excl };

Mark_Table Marked_Table() {
    if (Mode_Lwm_Cells != 0 && Lwm_Cell_Count > 0) return Mark_Table::Lwm;
    if (Mode_Lod8_Cells != 0 && Lod8_Cell_Count > 0) return Mark_Table::Lod8;
    if (Mode_Excl_Cells != 0 && Excl_Cell_Count > 0) return Mark_Table::Excl;
    return Mark_Table::None;
}

int32_t Table_End(int32_t count, int32_t upper) { return std::min(count, upper); }

uint64_t Cell_Key(int16_t c8, int16_t r8, int16_t c13, int16_t r13) {
    const auto bits = [](int16_t v) { return static_cast<uint64_t>(static_cast<uint16_t>(v)); };
    return bits(c8) << 48 | bits(r8) << 32 | bits(c13) << 16 | bits(r13);
}

// The first record of a table keyed on each cell, gathered once per drawing so that each cell in
// view costs one look-up rather than a pass over the table.
class First_Record_Index {
public:
    template <class Table, class Key>
    First_Record_Index(const Table& table, int32_t count, Key key) {
        const int32_t end = Table_End(count, table.UBound());
        for (int32_t n = 1; n <= end; ++n) entries_.push_back({key(table(n)), n});
        // Equal keys stay in table order, so the first of them is found.
        std::sort(entries_.begin(), entries_.end());
    }
    // 0 when no record has the key.
    int32_t Find(uint64_t key) const {
        const auto it = std::lower_bound(entries_.begin(), entries_.end(), std::pair<uint64_t, int32_t>{key, 0});
        return it != entries_.end() && it->first == key ? it->second : 0;
    }

private:
    std::vector<std::pair<uint64_t, int32_t>> entries_;
};

int32_t Option_Colour(int attrib) {
    if (attrib == 0) return kBlue;
    if (attrib == 1) return kMagenta;
    return kBlack;
}

// The marked table's first record for each cell; a LOD8 cell record covers all its LOD13 cells.
First_Record_Index Mark_Index(Mark_Table table) {
    switch (table) {
        case Mark_Table::Lwm:
            return {Lwm_Cell_Table, Lwm_Cell_Count,
                    [](const Lwm_Cell_Rec& r) { return Cell_Key(r.Lod8_Col, r.Lod8_Row, r.Lod13_Col, r.Lod13_Row); }};
        case Mark_Table::Lod8:
            return {Lod8_Cell_Table, Lod8_Cell_Count, [](const Lod8_Cell_Rec& r) { return Cell_Key(r.Lod8_Col, r.Lod8_Row, 0, 0); }};
        case Mark_Table::Excl:
            return {Excl_Cell_Table, Excl_Cell_Count,
                    [](const Excl_Cell_Rec& r) { return Cell_Key(r.Lod8_Col, r.Lod8_Row, r.Lod13_Col, r.Lod13_Row); }};
        case Mark_Table::None:
            break;
    }
    return {Lod8_Cell_Table, 0, [](const Lod8_Cell_Rec&) { return uint64_t{0}; }};
}

// Colour of the first record keyed on the cell, kNoMark when there is none.
int32_t Mark_Colour(Mark_Table table, const First_Record_Index& index, int16_t c8, int16_t r8, int16_t c13, int16_t r13) {
    switch (table) {
        case Mark_Table::Lwm:
            if (const int32_t n = index.Find(Cell_Key(c8, r8, c13, r13))) {
                const Lwm_Cell_Rec& r = Lwm_Cell_Table(n);
                return r.Fill1x1 == 1 ? Option_Colour(r.Attrib) : kYellow;
            }
            return kNoMark;
        case Mark_Table::Lod8:
            if (const int32_t n = index.Find(Cell_Key(c8, r8, 0, 0))) return Option_Colour(Lod8_Cell_Table(n).Attrib);
            return kNoMark;
        case Mark_Table::Excl:
            return index.Find(Cell_Key(c8, r8, c13, r13)) != 0 ? Hatch_Grey : kNoMark;
        case Mark_Table::None:
            break;
    }
    return kNoMark;
}

bool Cells_Wide_Enough(const Grid_Steps& g) {
    return Grid_First_Row != 0 && Grid_First_Col != 0 && g.Step_X >= kMinCellWidth;
}

void Draw_Cell_Marks(const Grid_Steps& g) {
    const Mark_Table table = Marked_Table();
    if (table == Mark_Table::None || !Cells_Wide_Enough(g)) return;
    const int16_t h = PSais_Hatch_Count(g.Step_X);
    const First_Record_Index index = Mark_Index(table);
    For_Each_Cell_In_View(g, [&](const View_Cell& c) {
        int16_t c8 = 0, r8 = 0, c13 = 0, r13 = 0, lx = 0, ly = 0;
        Com_Pixel_To_Sub_Pos(c.map_x, c.map_y, c8, r8, c13, r13, lx, ly);
        const int32_t colour = Mark_Colour(table, index, c8, r8, c13, r13);
        if (colour != kNoMark) Hatch(c, g.Step_X, h, colour);
    });
}

// What one drawing of the class cells has worked out already: the land-class list and each
// texture converted, so that a texture shared by many cells in view is read and converted once.
struct Class_Texture_Memo {
    bool list_read = false;
    std::vector<Land_Class_Rec> list;
    // By source file; empty when it could not be converted or loaded.
    std::map<std::string, std::optional<plat::Surface>> converted;
};

// The texture number the land-class list gives a class code; false when no line has it.
bool Land_Class_Texture(int code, int32_t& texture, Class_Texture_Memo& memo) {
    if (!memo.list_read) {
        memo.list_read = true;
        Read_Land_Class_File(memo.list);
    }
    for (const Land_Class_Rec& rec : memo.list) {
        if (rec.Code != code) continue;
        texture = rec.Texture_Num;
        return true;
    }
    return false;
}

void Paint_Class_Texture(int16_t kind, int32_t index, int32_t left, int32_t right, int32_t top, int32_t bottom,
                         int16_t& failed, Class_Texture_Memo& memo) {
    failed = 1;
    if (!plat::FolderExists(Texture_Dir)) return;
    const bool water = kind == 1;
    const Vb_Array<Class_Cell_Rec>& table = water ? Wc_Cell_Table : Lc_Cell_Table;
    const int32_t count = water ? Wc_Cell_Count : Lc_Cell_Count;
    if (index < 1 || index > Table_End(count, table.UBound())) return;
    const int code = table(index).Class_Code;

    int32_t texture = code;
    if (!water) {
        // Codes from 252 up stand for no land class and have no texture.
        if (code >= 252) return;
        if (!Land_Class_Texture(code, texture, memo)) return;
    }

    Temp_Ima_Bmp = App_Dir + "\\Temp\\$BmpLCWC.bmp";
    const std::string source =
        Texture_Dir + "\\" + plat::Format(texture, "000") + (water ? "b2wa1.bmp" : "b2su1.bmp");
    Frm& f = Frm_Window();
    const auto [entry, fresh] = memo.converted.try_emplace(source);
    if (fresh) {
        if (plat::FileExists(Temp_Ima_Bmp)) plat::DeleteFile(Temp_Ima_Bmp);
        std::string description;
        int16_t status = 1;
        Servitudes_Convert_Texture(source, Fs5_Palette, Temp_Ima_Bmp, description, status);
        plat::Surface picture;
        if (status != 0 || !plat::LoadPicture(Temp_Ima_Bmp, picture)) return;
        f.WPicLCWC.SetPicture(picture);
        entry->second = std::move(picture);
    }
    if (!entry->second) return;
    const plat::Surface& texture_picture = *entry->second;
    // Only the visible part of the stretched cell is worked, however far it reaches.
    plat::StretchBlt(f.Pic.Image(), left, top, int64_t{right} - left + 1, int64_t{bottom} - top + 1, texture_picture, 0, 0,
                     texture_picture.Width(), texture_picture.Height());
    f.Pic.Changed();
    failed = 0;
}

}  // namespace

void PSais_Draw_Grid_Segment(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour, int16_t style) {
    const plat::Point points[2] = {{x1, y1}, {x2, y2}};
    SYST_Draw_Segment(Frm_Window().Pic, points, colour, 1, style);
}

Grid_Steps PSais_Compute_Grid_Window(bool half_cell_shift) {
    Frm& f = Frm_Window();
    Grid_Steps g;
    g.Rows = SYST_Truncate((Map_Lat_North - Map_Lat_South) / Lod13_Height + 0.1);
    g.Cols = SYST_Truncate((Map_Lon_East - Map_Lon_West) / Lod13_Width + 0.1);
    if (g.Rows > 0) g.Step_Y = (Map_Px_South - Map_Px_North) * View_Zoom / g.Rows;
    if (g.Cols > 0) g.Step_X = (Map_Px_East - Map_Px_West) * View_Zoom / g.Cols;

    double xW = 0, yN = 0, xE = 0, yS = 0;
    PSais_Map_To_Picture(Map_Px_West, Map_Px_North, xW, yN);
    PSais_Map_To_Picture(Map_Px_East, Map_Px_South, xE, yS);
    if (half_cell_shift) {
        xW -= g.Step_X / 2;
        yN -= g.Step_Y / 2;
        xE -= g.Step_X / 2;
        yS -= g.Step_Y / 2;
    }
    Window_Axis(xW, xE, g.Step_X, g.Cols, f.Pic.Width(), Grid_First_Col, Grid_Last_Col, Grid_First_X,
                Grid_Last_X);
    Window_Axis(yN, yS, g.Step_Y, g.Rows, f.Pic.Height(), Grid_First_Row, Grid_Last_Row, Grid_First_Y,
                Grid_Last_Y);
    return g;
}

int16_t PSais_Hatch_Count(double step_x) {
    if (step_x < 11) return 1;
    if (step_x < 31) return 2;
    if (step_x < 81) return 3;
    if (step_x < 150) return 4;
    return 6;
}

void PSais_Draw_Cell_Grid() {
    const Grid_Steps g = PSais_Compute_Grid_Window(false);
    if (Grid_Shown == 0) return;
    Draw_Grid_Lines(g);
    Draw_Cell_Marks(g);
    Frm_Window().Pic.Refresh();
}

void PSais_Draw_Class_Mode() {
    const Grid_Steps g = PSais_Compute_Grid_Window(true);
    if (Grid_Shown == 0) return;
    Draw_Grid_Lines(g);

    const bool land = Mode_Land_Class == 1;
    const bool any = (land && Lc_Cell_Count > 0) || (Mode_Water_Class == 1 && Wc_Cell_Count > 0);
    if (any && Cells_Wide_Enough(g)) {
        const int16_t kind = land ? 0 : 1;
        const First_Record_Index index(land ? Lc_Cell_Table : Wc_Cell_Table, land ? Lc_Cell_Count : Wc_Cell_Count,
                                       [](const Class_Cell_Rec& r) {
                                           return Cell_Key(r.Lod8_Col, r.Lod8_Row, r.Lod13_Col, r.Lod13_Row);
                                       });
        Class_Texture_Memo memo;
        const int16_t h = PSais_Hatch_Count(g.Step_X);
        For_Each_Cell_In_View(g, [&](const View_Cell& c) {
            int16_t c8 = 0, r8 = 0, c13 = 0, r13 = 0;
            Com_Pixel_To_Cell_Centred(c.map_x, c.map_y, c8, r8, c13, r13);
            const int32_t n = index.Find(Cell_Key(c8, r8, c13, r13));
            if (n == 0) return;
            int16_t failed = 1;
            if (Textures_Shown != 0) Paint_Class_Texture(kind, n, c.left, c.right, c.top, c.bottom, failed, memo);
            if (failed != 0) Hatch(c, g.Step_X, h, Hatch_Grey);
        }, true);
    }
    Frm& f = Frm_Window();
    f.Pic.Refresh();
    f.WPicLCWC.ClearPicture();
}

void PSais_Draw_Class_Texture(int16_t kind, int32_t index, int32_t left, int32_t right, int32_t top,
                              int32_t bottom, int16_t& failed) {
    Class_Texture_Memo memo;
    Paint_Class_Texture(kind, index, left, right, top, bottom, failed, memo);
}
