// Land- and water-class BGL files: one 257 x 257 raster per LOD5 cell, merged with or kept as a
// raw copy, its description, and the resampler and compiler runs.
#include "generation/class_rasters.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/grid.h"
#include "core/project.h"
#include "core/project_paths.h"
#include "core/syst.h"
#include "generation/exchange_sort.h"
#include "generation/writer_base.h"
#include "platform/files.h"
#include "platform/host.h"

namespace {

struct Class_Cell_Work_Rec {
    int16_t Lod5_Col = 0;
    int16_t Lod5_Row = 0;
    int16_t Col = 0;  // LOD13 cell inside the LOD5 cell, from the west edge
    int16_t Row = 0;  // from the north edge
    uint8_t Class_Code = Class_None;
};

enum class Class_Kind { Land, Water };

struct Class_Run {
    Class_Kind Kind;
    const Vb_Array<Class_Cell_Rec>& Table;
    int32_t Count;
};

std::string Temp_Dir() { return App_Dir + "\\Temp\\"; }

std::string Raw_Copy_Path(Class_Kind kind, int32_t c, int32_t r) {
    return Project_Resolve_Path(Raw_Dir + (kind == Class_Kind::Land ? "\\LC_" : "\\WC_") +
                                Gen_Three_Digits(c) + "_" + Gen_Three_Digits(r) + ".Raw");
}

// A BGL of the scenery folder.
std::string Scenery_File(const std::string& name) { return Project_Resolve_Path(Scenery_Dir + "\\" + name); }

std::vector<std::string> Description(Class_Kind kind, int32_t c, int32_t r) {
    const std::string q = "\"";
    const bool land = kind == Class_Kind::Land;
    const double north = 90 - r * 2.8125;
    const double west = c * 3.75 - 180;
    return {
        "[Destination]",
        "LOD = 5",
        "DestDir = " + q + plat::NativePath(land ? Project_Resolve_Path(Scenery_Dir) : Temp_Dir()) + q,
        land ? "DestBaseFileName = " + q + "LC_" + Gen_Three_Digits(c) + "_" + Gen_Three_Digits(r) + q
             : "DestBaseFileName = " + q + "landclass" + q,
        "UseSourceDimensions = 1",
        " ",
        "[Source]",
        land ? "Type = ClassU8" : "Type = WaterClassU8",
        "SourceDir = " + q + plat::NativePath(Temp_Dir()) + q,
        "SourceFile = " + q + "FicRaw.raw" + q,
        "Lat = " + Gen_Num(north),
        "Lon = " + Gen_Num(west),
        "NumOfCellsPerLine = " + Gen_Num(Class_Raster_Size),
        "NumOfLines = " + Gen_Num(Class_Raster_Size),
        "CellXdimensionDeg = " + Gen_Num(3.75 / 256),
        "CellYdimensionDeg = " + Gen_Num(2.8125 / 256),
    };
}

uint8_t& At(Class_Raster_Bytes& raster, int col, int row) {
    return raster[static_cast<size_t>(row) * Class_Raster_Size + static_cast<size_t>(col)];
}

// A kept copy shorter than a raster leaves the rest at "no class".
void Merge_Raw_Copy(Class_Raster_Bytes& raster, const std::string& path) {
    if (!plat::FileExists(path)) return;
    std::vector<uint8_t> bytes;
    plat::ReadBinaryRange(path, 0, raster.size(), bytes);
    std::copy_n(bytes.begin(), std::min(bytes.size(), raster.size()), raster.begin());
}

using Lod5_Key = std::pair<int32_t, int32_t>;  // row, column: the visiting order
using Lod5_Ranges = std::map<Lod5_Key, std::pair<size_t, size_t>>;

void Fill_Raster(Class_Raster_Bytes& raster, const std::vector<Class_Cell_Work_Rec>& work,
                 const Lod5_Ranges& ranges, int32_t c, int32_t r) {
    auto each_in = [&](int32_t cc, int32_t rr, auto&& action) {
        auto it = ranges.find({rr, cc});
        if (it == ranges.end()) return;
        for (size_t i = it->second.first; i < it->second.second; ++i) action(work[i]);
    };
    each_in(c, r, [&](const Class_Cell_Work_Rec& w) { At(raster, w.Col, w.Row) = w.Class_Code; });
    // The last column and row repeat the neighbours' first, unless already known.
    auto edge = [&](int col, int row, uint8_t code) {
        uint8_t& cell = At(raster, col, row);
        if (cell == Class_None) cell = code;
    };
    each_in(c + 1, r, [&](const Class_Cell_Work_Rec& w) {
        if (w.Col == 0) edge(256, w.Row, w.Class_Code);
    });
    each_in(c, r + 1, [&](const Class_Cell_Work_Rec& w) {
        if (w.Row == 0) edge(w.Col, 256, w.Class_Code);
    });
    each_in(c + 1, r + 1, [&](const Class_Cell_Work_Rec& w) {
        if (w.Col == 0 && w.Row == 0) edge(256, 256, w.Class_Code);
    });
}

bool Write_Raster(const Class_Raster_Bytes& raster, const std::string& path) {
    return plat::WriteBinary(path, std::vector<uint8_t>(raster.begin(), raster.end()));
}

// The new copy takes the old one's place only once it is whole: a copy that cannot be written
// leaves the previous memory of the merge as it was.
bool Keep_Raw_Copy(const Class_Raster_Bytes& raster, const std::string& path) {
    // The folder the copy goes to: a relative one is the project's, not the working folder's.
    const std::string folder = Project_Resolve_Path(Raw_Dir);
    if (folder.empty() || !plat::FolderExists(folder)) return false;
    return plat::ReplaceFileAtomically(path, std::string(raster.begin(), raster.end()));
}

std::string Raw_Copy_Failure() {
    return Language == "US"
               ? "The raw copies cannot be kept: the folder \"" + Raw_Dir +
                     "\" is missing or cannot be written. The BGL files are made all the same."
               : "Les copies brutes ne peuvent pas être gardées : le dossier \"" + Raw_Dir +
                     "\" n'existe pas ou n'est pas accessible en écriture. Les fichiers BGL sont faits quand même.";
}

// The outside runs of one LOD5 cell, each only after the previous one has done its work: a tool
// that could not start or that failed leaves nothing for the next one to take.
Gen_Run_Result Run_Tools(Class_Kind kind, int32_t c, int32_t r) {
    const std::string tmp = Temp_Dir();
    const std::string cell = Gen_Three_Digits(c) + "_" + Gen_Three_Digits(r);
    const std::string bgl = Scenery_File((kind == Class_Kind::Land ? "LC_" : "WC_") + cell + ".bgl");
    // The old output goes just before the tool that writes it, as the other steps' do: a tool
    // writes through a link it finds there (to the project, to its map).
    if (kind == Class_Kind::Land) {
        plat::DeleteFile(bgl);
        return Gen_Run_Tool(Gen_Tool_Command("Resample.exe", {Gen_Path_Arg(tmp + "TmpLC.Inf")}), bgl);
    }

    const std::string resampled = tmp + "landclass.tmf";
    const std::string compressed = tmp + "LWCcompress.tmf";
    const std::vector<std::pair<std::string, std::string>> runs = {
        {Gen_Tool_Command("ResampleV11.exe", {Gen_Path_Arg(tmp + "TmpWC.Inf")}), resampled},
        {Gen_Tool_Command("tmfcompress.exe", {Gen_Path_Arg(resampled), Gen_Path_Arg(compressed)}), compressed},
        {Gen_Tool_Command("tmf2bgl.exe", {Gen_Path_Arg(compressed), Gen_Path_Arg(bgl)}), bgl},
    };
    for (const auto& [command, output] : runs) {
        if (output == bgl) plat::DeleteFile(bgl);
        const Gen_Run_Result result = Gen_Run_Tool(command, output);
        if (result != Gen_Run_Result::Done) return result;
    }
    plat::DeleteFile(resampled);
    plat::DeleteFile(compressed);
    return Gen_Run_Result::Done;
}

void Make_Class_Bgl(const Class_Run& run) {
    if (run.Count <= 0) return;
    bool any_class = false;
    for (int32_t i = 1; i <= run.Count && !any_class; ++i)
        any_class = run.Table(i).Class_Code != Class_None;
    if (!any_class) return;

    const bool land = run.Kind == Class_Kind::Land;
    const std::string tool_caption = land ? "Resample.exe" : "ResampleV11.exe";
    const std::string failure = land ? "Error BGL lC generation" : "Error BGL WC generation";
    plat::CurrentHost().SetMousePointer(plat::Pointer_Hourglass);
    Gen_Show_Stage(land ? "LandClasses" : "WaterClasses", tool_caption);

    std::vector<Class_Cell_Work_Rec> work;
    work.reserve(static_cast<size_t>(run.Count));
    for (int32_t i = 1; i <= run.Count; ++i) {
        const Class_Cell_Rec& rec = run.Table(i);
        Class_Cell_Work_Rec w;
        Com_Cell_Center_Reindex(rec.Lod8_Col, rec.Lod8_Row, rec.Lod13_Col, rec.Lod13_Row, w.Lod5_Col,
                                w.Lod5_Row, w.Col, w.Row);
        w.Class_Code = rec.Class_Code;
        // Grid numbers from a damaged project can fall outside any LOD5 cell's raster.
        if (w.Col < 0 || w.Col > 255 || w.Row < 0 || w.Row > 255) continue;
        work.push_back(w);
    }
    // Of two cells on one place the one written last wins, so the order within a LOD5 cell is
    // the exchange sort's, not the table's.
    Exchange_Sort_Vector(
        work,
        [](const Class_Cell_Work_Rec& a, const Class_Cell_Work_Rec& b) {
            return std::pair(a.Lod5_Row, a.Lod5_Col) < std::pair(b.Lod5_Row, b.Lod5_Col);
        },
        false);
    Lod5_Ranges ranges;
    for (size_t i = 0; i < work.size(); ++i) {
        auto [it, fresh] = ranges.try_emplace({work[i].Lod5_Row, work[i].Lod5_Col}, i, i + 1);
        if (!fresh) it->second.second = i + 1;
    }

    const std::string tmp = Temp_Dir();
    const std::string raw = tmp + "FicRaw.Raw";
    const std::string inf = tmp + (land ? "TmpLC.Inf" : "TmpWC.Inf");
    plat::MakeFolder(App_Dir + "\\Temp");
    bool told_raw = false;
    Class_Raster_Bytes raster;
    for (const auto& [key, range] : ranges) {
        const int32_t r = key.first, c = key.second;
        raster.fill(Class_None);
        if (Lc_Merge != 0) Merge_Raw_Copy(raster, Raw_Copy_Path(run.Kind, c, r));
        plat::DeleteFile(raw);
        plat::DeleteFile(inf);
        if (!land) {
            // An intermediate of an earlier run must never be handed on as this run's.
            for (const char* old : {"FicTemp.Tmf", "Compress.Tmf", "landclass.tmf", "LWCcompress.tmf"})
                plat::DeleteFile(tmp + old);
        }
        Fill_Raster(raster, work, ranges, c, r);
        // The file that could not be written is named; the step's own text says which step.
        if (!Write_Raster(raster, raw)) {
            Gen_Show_Failure(Gen_Cannot_Write_Text(raw) + "\r\n" + failure);
            break;
        }
        if (Lc_Keep_Raw != 0 && !Keep_Raw_Copy(raster, Raw_Copy_Path(run.Kind, c, r)) && !told_raw) {
            Gen_Show_Failure(Raw_Copy_Failure());
            told_raw = true;
        }
        if (!plat::WriteTextLines(inf, Description(run.Kind, c, r))) {
            Gen_Show_Failure(Gen_Cannot_Write_Text(inf) + "\r\n" + failure);
            break;
        }
        Gen_Show_Stage(Bgl_Base_Path, tool_caption);
        // The tool has said why (not started, or its exit status); the step's text follows and
        // no further LOD5 cell is visited.
        if (Run_Tools(run.Kind, c, r) != Gen_Run_Result::Done) {
            Gen_Show_Failure(failure);
            break;
        }
    }
    plat::CurrentHost().SetMousePointer(plat::Pointer_Default);
}

}  // namespace

void API_Make_Landclass_Bgl() { Make_Class_Bgl({Class_Kind::Land, Lc_Cell_Table, Lc_Cell_Count}); }

void API_Make_Waterclass_Bgl() { Make_Class_Bgl({Class_Kind::Water, Wc_Cell_Table, Wc_Cell_Count}); }
