#include "core/erreur.h"
#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "editor/generate_command.h"
#include "editor/pinit_main.h"
#include "generation/writer_test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace plat;

namespace {

namespace fs = std::filesystem;

// The main window with an empty open project whose outputs go to <app>/out.
class GenerateCommand : public gentest::Writer_Test {
protected:
    void SetUp() override {
        Writer_Test::SetUp();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        f.Show();
        Pinit_Set_No_Project();
        Pinit_Set_Project_Open();
        Project_Open = Project_Displayed = 1;
        out = app / "out";
        fs::create_directories(out);
        Scenery_Dir = out.string();
        Raw_Dir = out.string();
        Bgl_Base_Path = (out / "Town.bgl").string();
        Bgl_Excl_Path = (out / "TownExcl.bgl").string();
        for (const char* name : {"Town_9.bgl", "Town_old.BGL", "TownExcl.bgl", "Town.bgl", "Other_9.bgl"})
            gentest::Write_File(out / name, "old");
    }

    int32_t Add_Polygon(int16_t shore, int16_t kind, int16_t texture_choice, int16_t image) {
        Route_Attrib a;
        a.SurfShore = shore;
        a.LWM_VTP2 = kind;
        a.VTP1_SpecNor = texture_choice;
        a.Image_Link = image;
        const int32_t line = Project_Append_Line(a);
        Project_Append_Point(line, 10, 10);
        Project_Append_Point(line, 20, 10);
        Project_Append_Point(line, 20, 20);
        return line;
    }

    bool Exists(const char* name) const { return fs::exists(out / name); }
    std::vector<std::string> Tools_Run() const {
        std::vector<std::string> names;
        for (const auto& call : Tool_Calls()) names.push_back(call.front());
        return names;
    }

    Frm& f = Frm_Window();
    fs::path out;
};

TEST_F(GenerateCommand, AVtp1PolygonWithoutItsImageStopsEverythingWithMessage131) {
    Add_Polygon(0, 2, 1, 0);   // the other texture choice: fine
    Add_Polygon(2, 2, 0, 0);   // a line, not a polygon: fine
    Add_Polygon(1, 2, 0, 3);   // linked to an image: fine
    Add_Polygon(1, 2, 0, 0);   // this one stops the command
    host().QueueAnswer(ID_OK);
    f.Cmd_API.UserClick();
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(131) ", 0), 0u) << host().boxes[0].prompt;
    EXPECT_TRUE(Exists("Town_9.bgl"));
    EXPECT_TRUE(Exists("TownExcl.bgl"));
    EXPECT_TRUE(Tool_Calls().empty());
    EXPECT_FALSE(f.Fram_Compile.Visible());
}

TEST_F(GenerateCommand, PreviousOutputsGoAndEveryStepRunsInOrder) {
    host().strict = false;
    Add_Polygon(0, 2, 1, 0);
    f.Cmd_API.UserClick();
    EXPECT_FALSE(Exists("Town_9.bgl"));
    EXPECT_FALSE(Exists("Town_old.BGL"));
    EXPECT_FALSE(Exists("TownExcl.bgl"));
    // Only the base name with an underscore is swept.
    EXPECT_TRUE(Exists("Town.bgl"));
    EXPECT_TRUE(Exists("Other_9.bgl"));
    for (const auto& call : Tool_Calls()) {
        std::string line;
        for (const auto& a : call) line += a + " ";
        std::printf("TOOL %s\n", line.c_str());
    }
    for (const auto& [name, step] : Gen_Captions().Shown) std::printf("CAP %s | %s\n", name.c_str(), step.c_str());
    for (const auto& t : Box_Texts()) std::printf("BOX %s\n", t.c_str());
    // The frame showed while the steps ran and is hidden again; its labels got the captions.
    EXPECT_FALSE(f.Fram_Compile.Visible());
    EXPECT_EQ(f.LCompileNom.Caption(), Gen_Captions().LCompileNom);
    EXPECT_EQ(f.ActiveControl(), &f.Pic);
}

}  // namespace
