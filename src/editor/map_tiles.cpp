// The map tiles loaded into memory with progress, and released with their files deleted.
#include "editor/map_tiles.h"

#include "core/project.h"
#include "core/project_paths.h"
#include "core/syst.h"
#include "editor/frm.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/gdi/picture_file.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<plat::Surface> Tiles;

class Frm_Progress final : public Tiling_Progress_Window {
public:
    void Set_LTex2500(const std::string& caption) override { Frm_Window().LTex2500.SetCaption(caption); }
    void Set_LPourCent(const std::string& caption) override { Frm_Window().LPourCent.SetCaption(caption); }
    void Set_LNbTex(const std::string& caption) override { Frm_Window().LNbTex.SetCaption(caption); }
    void Show_Fram_Creat_2500(bool visible) override { Frm_Window().Fram_Creat_2500.SetVisible(visible); }
    void Refresh() override { plat::CurrentHost().Refresh(Frm_Window()); }
};

void End_Progress(Tiling_Progress_Window& progress) {
    progress.Show_Fram_Creat_2500(false);
    plat::CurrentHost().SetMousePointer(plat::Pointer_Default);
}

}  // namespace

Tiling_Progress_Window& Frm_Progress_Window() {
    static Frm_Progress progress;
    return progress;
}

bool PSais_Load_Map_Tiles() {
    Tiling_Progress_Window& progress = Frm_Progress_Window();
    progress.Set_LTex2500(Language == "US" ? " Image Map loading" : "Chargement de la carte");
    progress.Set_LPourCent("0%");
    progress.Set_LNbTex("1");
    progress.Show_Fram_Creat_2500(true);
    progress.Refresh();
    plat::CurrentHost().SetMousePointer(plat::Pointer_Hourglass);

    Tiles.clear();
    const int count = Tile_Count;
    Tiles.reserve(count > 0 ? static_cast<std::size_t>(count) : 0);
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            progress.Set_LNbTex(plat::Str(i + 1));
            progress.Set_LPourCent(std::to_string(SYST_Round(i * 100.0 / (count - 1))) + "%");
            progress.Refresh();
        }
        const std::string path = Com_Tile_File(Tile_Cols, Tile_Rows, i);
        plat::Surface tile;
        if (!plat::LoadPicture(path, tile)) {
            // The frame would otherwise stay over the map.
            End_Progress(progress);
            plat::CurrentHost().MsgBox(Language == "US" ? "Cannot read the map tile " + path
                                                        : "Impossible de lire la tuile de carte " + path,
                                       plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
            return false;
        }
        Tiles.push_back(std::move(tile));
    }
    End_Progress(progress);
    return true;
}

void PSais_Unload_Map_Tiles() {
    Map_Tiles_Reset();
    for (int i = 0; i < Tile_Count; ++i) {
        const std::string path = Com_Tile_File(Tile_Cols, Tile_Rows, i);
        // The map or an image kept in Temp under a tile's name was never cut, and stays.
        const Project_Read_File read = Project_Read_File_Of(path, Project_File, Map_File);
        if (read.What == Project_Read_File::Map || read.What == Project_Read_File::Image) continue;
        if (plat::FileExists(path)) plat::DeleteFile(path);
    }
    Tile_Count = Tile_Rows = Tile_Cols = 0;
    if (Image_Count != 0) {
        Frm& f = Frm_Window();
        if (f.WPicIma.Exists(0)) f.WPicIma(0).ClearPicture();
        for (int i = 1; i < Image_Count; ++i)
            if (f.WPicIma.Exists(i)) f.WPicIma.Unload(i);
    }
}

const plat::Surface* Map_Tile(int k) {
    if (k < 0 || static_cast<std::size_t>(k) >= Tiles.size()) return nullptr;
    return &Tiles[static_cast<std::size_t>(k)];
}

int Map_Tiles_Loaded() { return static_cast<int>(Tiles.size()); }

void Map_Tiles_Reset() {
    Tiles.clear();
    Tiles.shrink_to_fit();
}
