#pragma once
// A calibrated map on which every LOD13 area is 16 x 16 pixels: pixel (0, 0) is the north-west
// corner of LOD8 cell column 393, row 128, so pixel (16 a + 8, 16 b + 8) lies in area a-b of it.
// The program folder is a scratch folder with "Resource" and "Temp", and a texture folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/erreur.h"
#include "core/grid.h"
#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "dialogs/dialog_services.h"
#include "editor/editor_globals.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"
#include "platform/gdi/surface.h"
#include "platform/headless/headless_host.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace celltest {

class CellDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        App_Dir = testenv::ScratchDir("cell_dialogs").string();
        ASSERT_TRUE(plat::MakeFolder(App_Dir + "\\Temp"));
        ASSERT_TRUE(plat::MakeFolder(App_Dir + "\\Resource"));
        Texture_Dir = App_Dir + "\\Texture";
        ASSERT_TRUE(plat::MakeFolder(Texture_Dir));
        Texture_Dir_Found = 1;
        Proj_Lat_NW = 45.0;
        Proj_Lon_NW = -180 + 393 * Lod8_Width;
        Proj_Lat_SE = Proj_Lat_NW - 2 * Lod8_Height;
        Proj_Lon_SE = Proj_Lon_NW + 2 * Lod8_Width;
        Proj_Px_NW_X = Proj_Px_NW_Y = 0;
        Proj_Px_SE_X = Proj_Px_SE_Y = 1024;
        Proj_NW_Set = Proj_SE_Set = 1;
        Click_Area(1, 2);
    }
    void TearDown() override {
        // Every scripted showing took place.
        for (const auto& [form, scripts] : host().modal_scripts) EXPECT_TRUE(scripts.empty()) << form;
        testenv::ResetProgramState();
    }

    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }

    // The middle of LOD13 area a-b of the first LOD8 cell (dx, dy moves inside it).
    static void Click_Area(int a, int b, int dx = 8, int dy = 8) {
        Mouse_Col = 16 * a + dx;
        Mouse_Row = 16 * b + dy;
    }

    // Runs `script` inside the next showing of the form named `name`.
    template <class F>
    static void On(const std::string& name, std::function<void(F&)> script) {
        host().OnModal(name, [script](plat::Form& f) { script(static_cast<F&>(f)); });
    }

    // The number of the message boxes shown, as "(n)" at the start of their texts.
    static std::vector<std::string> Boxes() {
        std::vector<std::string> v;
        for (const plat::ShownBox& b : host().boxes) v.push_back(b.prompt.substr(0, b.prompt.find(')') + 1));
        return v;
    }

    // A uniform 24-bit bitmap of w x h pixels.
    static void Write_Bmp(const std::string& path, int w, int h, plat::Colour c) {
        plat::BmpFileHeader file;
        plat::BmpInfoHeader info;
        plat::MakeBmpHeaders(w, h, 24, 2834, file, info);
        const auto headers = plat::EncodeBmpHeaders(file, info);
        std::vector<uint8_t> bytes(headers.begin(), headers.end());
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                bytes.push_back(static_cast<uint8_t>(plat::Blue(c)));
                bytes.push_back(static_cast<uint8_t>(plat::Green(c)));
                bytes.push_back(static_cast<uint8_t>(plat::Red(c)));
            }
            for (int pad = (w * 3) % 4; pad != 0 && pad < 4; ++pad) bytes.push_back(0);
        }
        ASSERT_TRUE(plat::WriteBinary(path, bytes));
    }

    // Land classes: code, texture number, name.
    static void Land_Classes(const std::vector<Land_Class_Rec>& classes) {
        Land_Class_Table.ReDim(static_cast<int32_t>(classes.size()) - 1);
        for (size_t i = 0; i < classes.size(); ++i) Land_Class_Table(static_cast<int64_t>(i)) = classes[i];
        Land_Class_Count = static_cast<int32_t>(classes.size()) - 1;
        Land_Class_Loaded = classes.empty() ? 0 : 1;
    }

    template <class Rec>
    static void Put(Vb_Array<Rec>& table, int32_t& count, int32_t& capacity, const Rec& r) {
        Table_Grow_If_Full(table, count, capacity, 1);
        table(++count) = r;
    }
};

}  // namespace celltest
