#pragma once
// What the line dialog's suites share: a program folder in a scratch directory (Resource, Temp,
// settings file, message texts), small resource tables, and bitmaps to preview.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/erreur.h"
#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_route.h"
#include "editor/editor_globals.h"
#include "editor/line_tools.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"
#include "platform/headless/headless_host.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace routetest {

// A 24-bit bitmap of one colour.
inline void Write_Bmp(const std::string& path, int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    plat::BmpFileHeader file;
    plat::BmpInfoHeader info;
    plat::MakeBmpHeaders(width, height, 24, 2834, file, info);
    const auto headers = plat::EncodeBmpHeaders(file, info);
    std::vector<uint8_t> bytes(headers.begin(), headers.end());
    const size_t row = static_cast<size_t>(plat::BmpRowBytes(static_cast<uint64_t>(width), 24));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bytes.push_back(b);
            bytes.push_back(g);
            bytes.push_back(r);
        }
        for (size_t k = static_cast<size_t>(width) * 3; k < row; ++k) bytes.push_back(0);
    }
    ASSERT_TRUE(plat::WriteBinary(path, bytes)) << path;
}

inline Texture_Def_Rec Texture(int16_t num, const std::string& name) {
    Texture_Def_Rec t;
    t.Num = num;
    t.Name = name;
    return t;
}

class RouteTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        root_ = testenv::ScratchDir("route");
        App_Dir = testenv::ProgramPath(root_ / "app");
        ASSERT_TRUE(plat::MakeFolder(App_Dir + "\\Resource"));
        ASSERT_TRUE(plat::MakeFolder(App_Dir + "\\Temp"));
        Ini_Path = App_Dir + "\\Resource\\Tessaline.Ini";
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        Texture_Dir = testenv::ProgramPath(root_ / "sim" / "Texture");
        ASSERT_TRUE(plat::MakeFolder(Texture_Dir));
        Texture_Dir_Found = 1;
        Install_Tables();
    }
    void TearDown() override { testenv::ResetProgramState(); }

    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
    static Frm_Route& w() { return Frm_Route_Window(); }

    // Three line types (1024 with an effect), two parks, three land classes (252 has no
    // ground texture).
    static void Install_Tables() {
        Line_Type_Table.ReDim(4);
        Line_Type_Table(0) = Texture(1024, "Road");
        Line_Type_Table(0).Has_Effect = 1;
        Line_Type_Table(1) = Texture(1030, "Street");
        Line_Type_Table(2) = Texture(4096, "Country road");
        Line_Type_Count = 2;
        Line_Type_Loaded = 1;
        Park_Table.ReDim(3);
        Park_Table(0) = Texture(1182, "Airport grass");
        Park_Table(0).Has_Textures = 1;
        Park_Table(0).Textures = " 126";
        Park_Table(1) = Texture(1183, "Park");
        Park_Table(1).Has_Textures = 1;
        Park_Table(1).Textures = " 128";
        Park_Count = 1;
        Park_Loaded = 1;
        Land_Class_Table.ReDim(2);
        Land_Class_Table(0) = Land_Class_Rec{126, 20, "Grass"};
        Land_Class_Table(1) = Land_Class_Rec{135, 35, "Forest"};
        Land_Class_Table(2) = Land_Class_Rec{252, 0, "Water"};
        Land_Class_Count = 2;
        Land_Class_Loaded = 1;
    }

    // Opens the dialog (not modal), as a fresh showing does.
    static void Open() {
        if (w().Loaded()) w().ForceUnload();
        w().Show();
    }
    // Opens it for a new line / for a line whose attributes are `a`.
    static void Open_New() {
        PSais_Set_Line_Tool(Line_Tool::New_Line);
        Route_Dlg_Cancelled = 1;
        Open();
    }
    static void Open_Existing(const Route_Attrib& a) {
        PSais_Set_Line_Tool(Line_Tool::None);
        Route_Dlg_Cancelled = 1;
        Route_Attrib_Result = a;
        Open();
    }
    // A numbered message is shown: the box's text starts "(n) ".
    static bool Shown_Message(size_t before, int number) {
        if (host().boxes.size() != before + 1) return false;
        return host().boxes.back().prompt.rfind("(" + std::to_string(number) + ") ", 0) == 0;
    }

    std::filesystem::path root_;
};

}  // namespace routetest
