// The project file's writer: the file text in the order of its lines, and the save that puts it
// in place of the old file only once it is written whole.
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/erreur.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/project_paths.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/text.h"

namespace {

constexpr const char* Eol = "\r\n";
constexpr const char* B5 = "     ";
constexpr const char* B6 = "      ";

// The text is handed on in pieces of about this size, so that a large project is not held
// twice in memory while it is saved.
constexpr size_t Piece_Size = size_t{1} << 20;

void Progress(bool visible) {
    Tiling_Progress_Window* w = Project_Window.Progress_Window;
    if (!w) return;
    if (visible) {
        w->Set_LTex2500("Save");
        w->Set_LPourCent("0%");
        w->Set_LNbTex("");
    }
    w->Show_Fram_Creat_2500(visible);
    w->Refresh();
}

void Repaint() {
    if (Project_Window.Progress_Window) Project_Window.Progress_Window->Refresh();
}

class Writer {
public:
    // `cp1252`: the texts as they go to disk; `take` receives the text piece by piece.
    Writer(bool cp1252, std::function<void(std::string_view)> take) : cp1252_(cp1252), take_(std::move(take)) {}

    Writer& operator<<(std::string_view text) {
        out_ += text;
        return *this;
    }
    Writer& operator<<(char c) {
        out_ += c;
        return *this;
    }
    // NUM of a real, a float and a whole number.
    Writer& Num(double v) {
        Project_Append_Num(out_, v);
        return *this;
    }
    Writer& Num_Float(float v) {
        Project_Append_Num_Float(out_, v);
        return *this;
    }
    Writer& Int(int64_t v) {
        Project_Append_Num_Int(out_, v);
        return *this;
    }
    // Whole numbers joined by blanks.
    Writer& Ints(std::initializer_list<int64_t> values) {
        bool first = true;
        for (int64_t v : values) {
            if (!first) out_ += ' ';
            first = false;
            Int(v);
        }
        return *this;
    }
    // A stored text, made safe: a quote would end it early and a line break would split the file.
    Writer& Text(std::string_view text) {
        std::string safe = Project_Safe_Text(text);
        out_ += cp1252_ ? plat::Utf8ToCp1252(safe) : safe;
        return *this;
    }
    Writer& Quoted(std::string_view text) {
        out_ += '"';
        Text(text);
        out_ += '"';
        return *this;
    }
    Writer& End_Line() {
        out_ += Eol;
        if (out_.size() >= Piece_Size) Flush();
        return *this;
    }
    void Flush() {
        take_(out_);
        out_.clear();
    }

private:
    bool cp1252_;
    std::function<void(std::string_view)> take_;
    std::string out_;
};

// The point ids of a line as they are written: from the first point along the next links,
// ending after the last point. A damaged chain (a loop, an id outside the table) ends the walk
// early, so the count written always matches the point lines that follow.
std::vector<int32_t> Chain_For_Writing(const Line_Rec& line) {
    std::vector<int32_t> ids;
    if (line.Nb_Points == 0) return ids;
    const int32_t limit = std::min(Point_Count, Point_Table.UBound());
    int32_t id = line.First_Point;
    while (id >= 1 && id <= limit && static_cast<int32_t>(ids.size()) < limit) {
        ids.push_back(id);
        if (id == line.Last_Point) break;
        id = Point_Table(id).Next_Point;
    }
    return ids;
}

void Write_Line_Block(Writer& w, const Line_Rec& line) {
    const Route_Attrib& a = line.Attr;
    const std::vector<int32_t> chain = Chain_For_Writing(line);
    w << B6; w.Quoted(a.Text_Rt).End_Line();
    w << B6; w.Quoted(a.Imbrication).End_Line();
    w << B6;
    w.Ints({line.Line_Id, static_cast<int64_t>(chain.size())}) << ' ';
    w.Num(a.Alti) << ' ';
    w.Ints({a.Attrib, a.LandOnRight, a.Type_Code, a.Largeur, a.SurfShore, a.FermerLine, a.Layer, a.Image_Link,
            a.LWM_VTP2, a.LandClass_Source, a.LC_Code, a.Layer_Vtp2}) << ' ';
    w.Num(a.Alt_Coast) << ' ';
    w.Ints({a.Line_Night, a.Drive_Right, a.LayerScasm, a.Vtp1_Line, a.Effil_Deb, a.Effil_Fin, a.VTP1_SpecNor,
            a.Flip_VTP1Texture, a.Meter_Feet}).End_Line();
    for (const std::string& name : a.Texture_Name) {
        w << B5; w.Quoted(name).End_Line();
    }
    for (int32_t id : chain) {
        const Point_Rec& p = Point_Table(id);
        w << B6; w.Num(p.X) << ' '; w.Num(p.Y).End_Line();
    }
}

// The text stored for a path of the project (a copy saved elsewhere rewrites relative ones).
using Path_Text = std::function<std::string(const std::string&)>;

void Write_File(Writer& w, const std::string& target_path, const std::string& origin, const Path_Text& path) {
    w << "0000 " << Project_Version_Text << "  (5.1) " << Project_Date_Now() << ' ';
    w.Text(target_path).End_Line();
    w << "0002         ";
    if (!origin.empty()) {
        w << " issu de ";
        w.Text(origin);
    }
    w.End_Line();
    w << "0010 ";
    for (double v : {Map_Top_Lat, Map_Left_Lon, Map_Bottom_Lat, Map_Right_Lon, Proj_Lat_NW, Proj_Lon_NW,
                     Proj_Lat_SE, Proj_Lon_SE, Map_Lat_North, Map_Lon_West, Map_Lat_South, Map_Lon_East}) {
        w << ' ';
        w.Num(v);
    }
    w.End_Line();
    w << "0017 "; w.Ints({Lc_Merge, Lc_Keep_Raw}).End_Line();
    w << "0018 "; w.Quoted(path(Raw_Dir)).End_Line();
    w << "0019 "; w.Quoted(path(Scenery_Dir)).End_Line();
    w << "0020 "; w.Quoted(path(Map_File)).End_Line();
    w << "0021 "; w.Ints({Map_Width_Px, Map_Height_Px}).End_Line();
    w << "0030 "; w.Quoted(path(Bgl_Base_Path)).End_Line();
    w << "0031 "; w.Quoted(path(Bgl_Excl_Path)).End_Line();
    w << "0040 ";
    for (int16_t v : Grid_Corner_Cells) { w << ' '; w.Int(v); }
    for (int16_t v : Grid_Frame_Cells) { w << ' '; w.Int(v); }
    w.End_Line();
    w << "0060 "; w.Ints({Proj_Px_NW_X, Proj_Px_NW_Y, Proj_Px_SE_X, Proj_Px_SE_Y}) << ' ';
    w.Num(Map_Px_West) << ' '; w.Num(Map_Px_North) << ' '; w.Num(Map_Px_East) << ' '; w.Num(Map_Px_South).End_Line();
    w << "0061 "; w.Ints({Proj_NW_Set, Proj_SE_Set}).End_Line();
    w << "0062 "; w.Ints({Tile_Count, Tile_Rows, Tile_Cols}).End_Line();
    w << "0063 "; w.Int(Alt_Unit_Feet) << ' '; w.Num_Float(Alt_Offset) << ' '; w.Int(Cfs_Mode).End_Line();

    // Lines: every entry 1..Line_Count, the placeholder included (made up when the table is empty).
    const int32_t lines = std::min(Line_Count, Line_Table.UBound());
    w << "0100 "; w.Ints({std::max(lines, 1), Line_Id_Counter, Point_Count}).End_Line();
    if (lines < 1) Write_Line_Block(w, Line_Rec{});
    for (int32_t i = 1; i <= lines; ++i) Write_Line_Block(w, Line_Table(i));
    Repaint();

    const int32_t lwm = std::min(Lwm_Cell_Count, Lwm_Cell_Table.UBound());
    w << "0120 "; w.Int(std::max(lwm, 0)).End_Line();
    for (int32_t i = 1; i <= lwm; ++i) {
        const Lwm_Cell_Rec& c = Lwm_Cell_Table(i);
        w << B6; w.Num(c.Alti) << ' ';
        w.Ints({c.Attrib, c.Lod13_Col, c.Lod13_Row, c.Lod8_Col, c.Lod8_Row, c.Fill1x1, c.InvertMask,
                c.InvertMaskValue, c.Custom, c.Texture_Source, c.LC_Code, c.Layer}).End_Line();
        // The names and the text have no closing quote.
        for (const std::string& name : c.Texture_Name) {
            w << B5 << '"'; w.Text(name).End_Line();
        }
        w << B5 << '"'; w.Text(c.Texte).End_Line();
    }

    const int32_t excl = std::min(Excl_Cell_Count, Excl_Cell_Table.UBound());
    w << "0140 "; w.Int(std::max(excl, 0)).End_Line();
    for (int32_t i = 1; i <= excl; ++i) {
        const Excl_Cell_Rec& e = Excl_Cell_Table(i);
        w << B6; w.Ints({e.Lod8_Col, e.Lod8_Row, e.Lod13_Col, e.Lod13_Row}).End_Line();
        for (uint8_t f : e.Excluded) {
            w << B5; w.Int(f).End_Line();
        }
    }

    const int32_t lod8 = std::min(Lod8_Cell_Count, Lod8_Cell_Table.UBound());
    w << "0150 "; w.Int(std::max(lod8, 0)).End_Line();
    for (int32_t i = 1; i <= lod8; ++i) {
        const Lod8_Cell_Rec& c = Lod8_Cell_Table(i);
        w << B6; w.Num(c.Alti) << ' '; w.Ints({c.Attrib, c.Lod8_Col, c.Lod8_Row}).End_Line();
    }

    auto class_section = [&w](const char* tag, const Vb_Array<Class_Cell_Rec>& table, int32_t count) {
        const int32_t n = std::min(count, table.UBound());
        w << tag << ' '; w.Int(std::max(n, 0)).End_Line();
        for (int32_t i = 1; i <= n; ++i) {
            const Class_Cell_Rec& c = table(i);
            w << B5; w.Ints({c.Lod8_Col, c.Lod8_Row, c.Lod13_Col, c.Lod13_Row, c.Class_Code}).End_Line();
        }
    };
    class_section("0160", Lc_Cell_Table, Lc_Cell_Count);
    class_section("0170", Wc_Cell_Table, Wc_Cell_Count);
    Repaint();

    // The counts of images in use and of defined grid points stand on the section lines.
    const int32_t images = std::min(Image_Count, Image_Table.UBound());
    int32_t in_use = 0;
    for (int32_t i = 1; i <= images; ++i) in_use += Image_Table(i).Ima_In_Use == 1;
    w << "0180 "; w.Int(in_use).End_Line();
    for (int32_t i = 1; i <= images; ++i) {
        const Image_Rec& m = Image_Table(i);
        if (m.Ima_In_Use != 1) continue;
        w << B6; w.Quoted(m.Ima_File).End_Line();
        for (const std::string& name : m.Ima_Texture) {
            w << B6; w.Quoted(name).End_Line();
        }
        w << B6; w.Int(m.Ima_Number) << ' ';
        w.Num(m.Ima_X1) << ' '; w.Num(m.Ima_Y1) << ' '; w.Num(m.Ima_X2) << ' '; w.Num(m.Ima_Y2) << ' ';
        w.Ints({m.Ima_Width, m.Ima_Height}).End_Line();
    }

    const int32_t grid = std::min(Grid_Point_Count, Grid_Point_Table.UBound());
    int32_t defined = 0;
    for (int32_t i = 1; i <= grid; ++i) defined += Grid_Point_Table(i).Defined == 1;
    w << "0200 "; w.Ints({Mesh_Lod_Index, Mesh_Lod_Chosen, defined}).End_Line();
    for (int32_t i = 1; i <= grid; ++i) {
        const Grid_Point_Rec& g = Grid_Point_Table(i);
        if (g.Defined != 1) continue;
        w << B5; w.Num_Float(g.Alt) << ' '; w.Num(g.X) << ' '; w.Num(g.Y).End_Line();
    }
    w << "End";
    w.End_Line();
    w.Flush();
}

}  // namespace

std::string Project_File_Text(const std::string& target_path, const std::string& origin) {
    std::string text;
    Writer w(false, [&text](std::string_view piece) { text += piece; });
    Write_File(w, target_path, origin, [](const std::string& stored) { return stored; });
    return text;
}

std::string Project_Save_As_Refusal(const std::string& path) {
    const Project_Read_File read = Project_Read_File_Of(path, Project_File, Map_File);
    if (read.Path.empty()) return {};
    return Language == "US" ? "Save as: " + read.Path + " is " + read.Us +
                                  "; the project cannot take its place.\r\nChoose another name."
                            : "Enregistrer sous : " + read.Path + " est " + read.Fr +
                                  " ; le projet ne peut pas prendre sa place.\r\nChoisissez un autre nom.";
}

void Pinit_Save_Project(int16_t mode, const std::string& path) {
    Project_Save_Failed = 0;
    if (Project_Open == 0) return;
    if (mode == 1 && (path == Project_File || Project_Same_File(path, Project_File))) {
        Msg_Answer = ERREUR_Show_Message(14);
        return;
    }
    if (mode == 1) {
        if (const std::string refusal = Project_Save_As_Refusal(path); !refusal.empty()) {
            Project_Save_Failed = 1;
            plat::CurrentHost().MsgBox(refusal, plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
            return;
        }
    }
    const std::string target = mode == 1 ? path : Project_File;
    const std::string origin = mode == 1 ? Project_File : std::string();
    plat::Host& host = plat::CurrentHost();
    host.SetMousePointer(plat::Pointer_Hourglass);
    Progress(true);

    // Written beside the target, then renamed over it: a failed save keeps the old file whole.
    bool ok = !target.empty();
    if (ok) {
        try {
            plat::FileReplacement file(target);
            Writer w(true, [&file](std::string_view piece) { file.Write(piece); });
            // Save in place keeps the texts as written; a copy must still name the same files.
            Write_File(w, target, origin, [&](const std::string& stored) {
                return mode == 1 ? Project_Rebase_Path(stored, Project_File, target) : stored;
            });
            ok = file.Commit();
        } catch (const std::exception&) {
            ok = false;
        }
    }

    Progress(false);
    host.SetMousePointer(plat::Pointer_Default);
    if (!ok) {
        Project_Save_Failed = 1;
        Project_File_Box("Le projet n'a pas pu être enregistré : " + target + "\r\nLe fichier précédent est resté intact.",
                         "The project could not be saved: " + target + "\r\nThe previous file is left as it was.");
    }
}
