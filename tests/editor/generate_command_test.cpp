#include "core/erreur.h"
#include "core/project.h"
#include "core/syst.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "editor/generate_command.h"
#include "editor/object_modes.h"
#include "editor/pinit_layout.h"
#include "editor/project_commands.h"
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
        f.Pic.SetVisible(true);
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

TEST_F(GenerateCommand, APolygonOutsideItsImageOnlyEndsTheToolAndKeepsTheOldOutputs) {
    // Linked to image 7 but with a point right of it; also a VTP1 polygon without image.
    const int32_t line = Add_Polygon(0, 2, 0, 7);
    Point_Table(Line_Table(line).Last_Point).X = 80;
    Add_Polygon(1, 2, 0, 0);
    Table_Grow_If_Full(Image_Table, Image_Count, Image_Capacity, Image_Growth);
    Image_Rec& image = Image_Table(++Image_Count);
    image.Ima_In_Use = 1;
    image.Ima_Number = 7;
    image.Ima_X1 = 5;
    image.Ima_Y1 = 5;
    image.Ima_X2 = 40;
    image.Ima_Y2 = 40;
    host().QueueAnswer(ID_OK);
    f.Cmd_API.UserClick();
    // The link check's own message, and neither the image check nor any step after it.
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(130) ", 0), 0u) << host().boxes[0].prompt;
    EXPECT_EQ(Edit_Refused, 1);
    EXPECT_TRUE(Exists("Town_9.bgl"));
    EXPECT_TRUE(Exists("TownExcl.bgl"));
    EXPECT_TRUE(Tool_Calls().empty());
    EXPECT_FALSE(f.Fram_Compile.Visible());
}

TEST_F(GenerateCommand, AMissingOutputFolderIsNamedInBothLanguagesAndNothingIsTouched) {
    Add_Polygon(0, 2, 1, 0);
    Bgl_Base_Path = (app / "gone" / "Town.bgl").string();
    Class_Cell_Rec cell;
    cell.Class_Code = 4;
    Lc_Cell_Table.ReDim_Preserve(++Lc_Cell_Count);
    Lc_Cell_Table(Lc_Cell_Count) = cell;
    Scenery_Dir = (app / "no scenery").string();
    Expect_Boxes(2);
    f.Cmd_API.UserClick();
    Language = "US";
    f.Cmd_API.UserClick();
    const std::string gone = (app / "gone").string(), scenery = Scenery_Dir;
    EXPECT_EQ(Box_Texts(), (std::vector<std::string>{
                               "Le dossier de sortie n'existe pas :\r\n" + gone + "\r\n" + scenery +
                                   "\r\nCréez-le, ou choisissez-en un autre dans les paramètres du projet. Rien n'a été généré.",
                               "The output folder does not exist:\r\n" + gone + "\r\n" + scenery +
                                   "\r\nCreate it, or choose another one in the project parameters. Nothing was generated."}));
    EXPECT_TRUE(Tool_Calls().empty());
    EXPECT_TRUE(Exists("TownExcl.bgl"));   // nothing deleted either
    EXPECT_FALSE(f.Fram_Compile.Visible());
}

TEST_F(GenerateCommand, AnOutputThatWouldReplaceAFileTheProjectReadsIsNamedAndNothingIsTouched) {
    Add_Polygon(0, 2, 1, 0);
    Project_File = (out / "Town.LWM").string();
    gentest::Write_File(Project_File, "the project");
    gentest::Write_File(out / "Town.bak", "the backup");
    gentest::Write_File(out / "Town_5.bgl", "the map");
    fs::create_directories(app / "Resource");
    Ini_Path = (app / "Resource" / "Tessaline.Ini").string();
    gentest::Write_File(Ini_Path, "[Tessaline]");
    struct Case {
        const char* language;
        std::string excl, map;
        std::string file, field, what;
    };
    const std::string excl = Bgl_Excl_Path;
    const std::vector<Case> cases = {
        // Paths as the file system resolves them: relative to the project, "." and "..", any case.
        {"FR", "../out/./Town.LWM", "", Project_File, "Nom bgl (Exclude Bgls)", "qui est le fichier du projet"},
        {"US", "TOWN.BAK", "", (out / "Town.bak").string(), "Bgl name (Exclude Bgls)", "which is the project's backup copy"},
        {"US", (app / "RESOURCE" / "tessaline.INI").string(), "", Ini_Path, "Bgl name (Exclude Bgls)",
         "which is the settings file"},
        // The base's outputs are swept: a map among them is refused too.
        {"FR", excl, "Town_5.bgl", (out / "Town_5.bgl").string(), "Nom bgl (Fill/Polys LWM-VTP/Lignes Bgls)",
         "qui est la carte du projet"},
        // A hard link is the file it links to, whatever its name.
        {"US", "Link.bgl", "", Project_File, "Bgl name (Exclude Bgls)", "which is the project file"},
        {"FR", "MapLink.bgl", "map.bmp", (out / "map.bmp").string(), "Nom bgl (Exclude Bgls)", "qui est la carte du projet"},
        // Only a BGL may stand where the exclusion BGL is written.
        {"US", "Other.LWM", "", (out / "Other.LWM").string(), "Bgl name (Exclude Bgls)", "which is a file that is not a BGL"},
        {"FR", "LC_007_015.RAW", "", (out / "LC_007_015.RAW").string(), "Nom bgl (Exclude Bgls)",
         "qui est un fichier qui n'est pas un BGL"},
    };
    fs::create_hard_link(Project_File, out / "Link.bgl");
    gentest::Write_File(out / "map.bmp", "the map");
    fs::create_hard_link(out / "map.bmp", out / "MapLink.bgl");
    gentest::Write_File(out / "Other.LWM", "another project");
    gentest::Write_File(out / "LC_007_015.RAW", "a kept raw");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.excl + " " + c.map);
        host().boxes.clear();
        Language = c.language;
        Bgl_Excl_Path = c.excl;
        Map_File = c.map;
        Expect_Boxes(1);
        f.Cmd_API.UserClick();
        ASSERT_EQ(Box_Texts().size(), 1u);
        const std::string text = Box_Texts()[0];
        EXPECT_EQ(text.rfind(c.field + (Language == "US" ? ": " : " : "), 0), 0u) << text;
        EXPECT_NE(text.find(" " + c.file + ", " + c.what + "."), std::string::npos) << text;
        EXPECT_NE(text.find(Language == "US" ? "Nothing was generated or deleted." : "Rien n'a été généré ni supprimé."),
                  std::string::npos) << text;
        EXPECT_EQ(gentest::Read_File(out / "Town.LWM"), "the project");
        EXPECT_EQ(gentest::Read_File(out / "Town.bak"), "the backup");
        EXPECT_EQ(gentest::Read_File(out / "Town_5.bgl"), "the map");
        EXPECT_EQ(gentest::Read_File(Ini_Path), "[Tessaline]");
        EXPECT_EQ(gentest::Read_File(out / "Other.LWM"), "another project");
        EXPECT_EQ(gentest::Read_File(out / "LC_007_015.RAW"), "a kept raw");
        EXPECT_EQ(gentest::Read_File(out / "map.bmp"), "the map");
        EXPECT_TRUE(Exists("Town_9.bgl"));   // no earlier output swept either
        EXPECT_TRUE(Tool_Calls().empty());
        EXPECT_FALSE(f.Fram_Compile.Visible());
    }
}

TEST_F(GenerateCommand, PreviousOutputsGoAndEveryStepRunsInOrder) {
    host().strict = false;
    Add_Polygon(0, 2, 1, 0);
    // Night-light cells past the 999th have longer numbers; "_90001" is no number Generate writes.
    for (const char* name : {"Town_9001.bgl", "Town_91000.bgl", "Town_9123456.BGL", "Town_90001.bgl"})
        gentest::Write_File(out / name, "old");
    f.Cmd_API.UserClick();
    EXPECT_FALSE(Exists("Town_9.bgl"));
    EXPECT_FALSE(Exists("TownExcl.bgl"));
    EXPECT_FALSE(Exists("Town_9001.bgl"));
    EXPECT_FALSE(Exists("Town_91000.bgl"));
    EXPECT_FALSE(Exists("Town_9123456.BGL"));
    EXPECT_TRUE(Exists("Town_90001.bgl"));
    // Only what Generate writes is swept: the author's own "Town_old.BGL" stays.
    EXPECT_TRUE(Exists("Town_old.BGL"));
    EXPECT_TRUE(Exists("Town.bgl"));
    EXPECT_TRUE(Exists("Other_9.bgl"));
    // The mask, the VTP2 polygons and the night lines ran in that order.
    std::vector<std::string> names;
    for (const auto& shown : Gen_Captions().Shown) names.push_back(shown.first + "|" + shown.second);
    auto at = [&](const std::string& text) {
        return std::find_if(names.begin(), names.end(), [&](const std::string& n) { return n.find(text) != std::string::npos; }) -
               names.begin();
    };
    ASSERT_LT(at("Town_3.bgl"), static_cast<long>(names.size()));
    ASSERT_LT(at("Town_5.bgl"), static_cast<long>(names.size()));
    ASSERT_LT(at("Night Lines"), static_cast<long>(names.size()));
    EXPECT_LT(at("Town_3.bgl"), at("Town_5.bgl"));
    EXPECT_LT(at("Town_5.bgl"), at("Night Lines"));
    // The frame showed while the steps ran and is hidden again; its labels got the captions.
    EXPECT_FALSE(f.Fram_Compile.Visible());
    EXPECT_EQ(f.LCompileNom.Caption(), Gen_Captions().LCompileNom);
    EXPECT_EQ(f.ActiveControl(), &f.Pic);
}

TEST_F(GenerateCommand, AWildcardInTheBaseNameIsTakenLiterally) {
    host().strict = false;
    for (const char* name : {"Tow?_9.bgl", "Town_3.bgl", "A*_3.BGL", "Area_2.bgl", "Alps_5.bgl", "a*_9001.bgl"})
        gentest::Write_File(out / name, "old");
    Bgl_Base_Path = (out / "Tow?.bgl").string();
    f.Cmd_API.UserClick();
    EXPECT_FALSE(Exists("Tow?_9.bgl"));
    EXPECT_TRUE(Exists("Town_3.bgl"));   // another project's
    EXPECT_TRUE(Exists("Town_9.bgl"));

    Bgl_Base_Path = (out / "A*.bgl").string();
    f.Cmd_API.UserClick();
    EXPECT_FALSE(Exists("A*_3.BGL"));
    EXPECT_FALSE(Exists("a*_9001.bgl"));   // names compare without case, as the folder does
    EXPECT_TRUE(Exists("Area_2.bgl"));
    EXPECT_TRUE(Exists("Alps_5.bgl"));
}

TEST_F(GenerateCommand, ABaseNameWithoutItsExtensionKeepsItsNameAndItsFolder) {
    host().strict = false;
    Add_Polygon(0, 2, 1, 0);
    gentest::Write_File(app / "out_mine.bgl", "the author's");
    gentest::Write_File(out / "Cap_9.bgl", "old");
    gentest::Write_File(out / "Cap_mine.bgl", "the author's");
    Bgl_Base_Path = (out / "Cap").string();
    f.Cmd_API.UserClick();
    EXPECT_TRUE(fs::exists(app / "out_mine.bgl"));
    EXPECT_TRUE(Exists("Cap_mine.bgl"));
    EXPECT_FALSE(Exists("Cap_9.bgl"));
    bool named = false;
    for (const auto& shown : Gen_Captions().Shown)
        named = named || (shown.first + shown.second).find((out / "Cap_3.bgl").string()) != std::string::npos;
    EXPECT_TRUE(named);

    // Only a real ".bgl" is taken off, in any letter case.
    Bgl_Base_Path = (out / "Cap.BGL").string();
    EXPECT_EQ(Gen_Output_Path("_5"), (out / "Cap_5.bgl").string());
    Bgl_Base_Path = (out / "Mars.v2").string();
    EXPECT_EQ(Gen_Output_Path("_5"), (out / "Mars.v2_5.bgl").string());
}

TEST_F(GenerateCommand, TheOlderEngineSkipsTheVtp2StepButStillSweepsItsOutputs) {
    host().strict = false;
    Cfs_Mode = 1;
    gentest::Write_File(out / "Town_5.bgl", "old");
    f.Cmd_API.UserClick();
    EXPECT_FALSE(Exists("Town_5.bgl"));
    bool vtp2 = false, mask = false;
    for (const auto& shown : Gen_Captions().Shown) {
        vtp2 = vtp2 || shown.first.find("Town_5.bgl") != std::string::npos;
        mask = mask || shown.first.find("Town_3.bgl") != std::string::npos;
    }
    EXPECT_FALSE(vtp2);
    EXPECT_TRUE(mask);
}

}  // namespace
