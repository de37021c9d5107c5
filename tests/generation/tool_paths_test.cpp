// What the outside tools are handed and what a person is told about their runs: native paths
// (never the program's own backslashes or an invented drive), project paths taken from the
// project's folder, and a tool that ran and failed named with its exit status.
#include <filesystem>
#include <string>
#include <vector>

#include "core/project.h"
#include "core/project_paths.h"
#include "generation/class_rasters.h"
#include "generation/night_lines_writer.h"
#include "polygon_fixture.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;

// The program's own form of a path: backslashes, and a drive as the folder picker used to add.
std::string Windows_Form(const fs::path& p) { return "c:" + testenv::ProgramPath(p); }

void Add_Class_Cell(Vb_Array<Class_Cell_Rec>& table, int32_t& count) {
    table.ReDim_Preserve(++count);
    table(count) = Class_Cell_Rec{389, 130, 12, 5, 4};
}

class ToolPaths : public Writer_Test {
protected:
    void SetUp() override {
        before = fs::current_path();
        Writer_Test::SetUp();
    }
    void TearDown() override {
        fs::current_path(before);
        Writer_Test::TearDown();
    }
    fs::path before;
};

TEST_F(ToolPaths, ADescriptionAndTheLastWaterToolNameTheSceneryFolderItself) {
    const fs::path scenery = app / "Scenery";
    fs::create_directories(scenery);
    Scenery_Dir = Windows_Form(scenery);   // as an older picker left it
    Bgl_Base_Path = (scenery / "Area.bgl").string();
    Add_Class_Cell(Lc_Cell_Table, Lc_Cell_Count);
    Add_Class_Cell(Wc_Cell_Table, Wc_Cell_Count);
    API_Make_Landclass_Bgl();
    API_Make_Waterclass_Bgl();
    EXPECT_TRUE(host().boxes.empty());

    const std::string land_inf = Handed(1, "TmpLC.Inf");
    EXPECT_NE(land_inf.find("DestDir = \"" + scenery.string() + "\"\r\n"), std::string::npos) << land_inf;
    EXPECT_NE(land_inf.find("SourceDir = \"" + app.string() + "/Temp/\"\r\n"), std::string::npos) << land_inf;
    const std::string water_inf = Handed(2, "TmpWC.Inf");
    EXPECT_NE(water_inf.find("DestDir = \"" + app.string() + "/Temp/\"\r\n"), std::string::npos) << water_inf;

    const auto calls = Tool_Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[3].front(), "tmf2bgl.exe");
    EXPECT_EQ(calls[3].back(), (scenery / "WC_048_016.bgl").string());
    EXPECT_TRUE(fs::exists(scenery / "LC_048_016.bgl"));
    EXPECT_TRUE(fs::exists(scenery / "WC_048_016.bgl"));
}

TEST_F(ToolPaths, RelativeProjectPathsAreTakenFromTheProjectFolderWhateverTheWorkingFolder) {
    const fs::path project = app / "projects" / "Valley";
    fs::create_directories(project / "out");
    const fs::path elsewhere = app / "elsewhere";
    fs::create_directories(elsewhere);
    fs::current_path(elsewhere);
    Project_File = (project / "Valley.LWM").string();
    Bgl_Base_Path = "out\\Valley.bgl";
    Scenery_Dir = "out";

    EXPECT_EQ(Project_Resolve_Path(Bgl_Base_Path), (project / "out" / "Valley.bgl").string());
    EXPECT_EQ(Gen_Output_Path("_3"), (project / "out" / "Valley_3.bgl").string());
    EXPECT_EQ(Project_Resolve_Path("..\\maps\\Valley.bmp"), (app / "projects" / "maps" / "Valley.bmp").string());
    // An absolute path is kept, only in this system's own spelling.
    EXPECT_EQ(Project_Resolve_Path(Windows_Form(elsewhere)), elsewhere.string());
    EXPECT_EQ(Project_Resolve_Path(""), "");

    Add_Class_Cell(Lc_Cell_Table, Lc_Cell_Count);
    API_Make_Landclass_Bgl();
    EXPECT_TRUE(host().boxes.empty());
    EXPECT_TRUE(fs::exists(project / "out" / "LC_048_016.bgl"));
    EXPECT_FALSE(fs::exists(elsewhere / "out"));
}

TEST_F(ToolPaths, ACopySavedElsewhereStoresPathsThatNameTheSameFilesTheAuthorsWay) {
    const std::string valley = (app / "projects" / "Valley" / "Valley.LWM").string();
    const std::string copy = (app / "copies" / "Valley.LWM").string();
    // Backslashes stay backslashes, a folder keeps its closing separator.
    EXPECT_EQ(Project_Rebase_Path("maps\\Valley.bmp", valley, copy), "..\\projects\\Valley\\maps\\Valley.bmp");
    EXPECT_EQ(Project_Rebase_Path("out\\", valley, copy), "..\\projects\\Valley\\out\\");
    EXPECT_EQ(Project_Rebase_Path("../shared/raw", valley, copy), "../projects/shared/raw");
    // Absolute and empty texts, and a copy beside the original, keep the text as written.
    EXPECT_EQ(Project_Rebase_Path(Windows_Form(app), valley, copy), Windows_Form(app));
    EXPECT_EQ(Project_Rebase_Path("", valley, copy), "");
    EXPECT_EQ(Project_Rebase_Path("out\\", valley, (app / "projects" / "Valley" / "Other.LWM").string()), "out\\");
}

TEST_F(ToolPaths, AToolThatRanAndFailedIsNamedWithItsExitStatusInBothLanguages) {
    Write_File(app / "in.asm", "source");
    const std::string out = (app / "out.bgl").string();
    const std::string command = Gen_Bglc_Command((app / "in.asm").string(), out, 2);
    Tool_Fails("bglc.exe");
    Expect_Boxes(2);
    Language = "US";
    EXPECT_EQ(Gen_Run_Tool(command, out), Gen_Run_Result::Failed);
    Language = "FR";
    EXPECT_EQ(Gen_Run_Tool(command, out), Gen_Run_Result::Failed);
    ASSERT_EQ(host().boxes.size(), 2u);
    EXPECT_EQ(host().boxes[0].prompt, "bglc.exe ran but failed (exit status 3).");
    EXPECT_EQ(host().boxes[1].prompt, "bglc.exe a été lancé mais a échoué (code de sortie 3).");
    EXPECT_EQ(host().boxes[0].title, "Tessaline");

    host().boxes.clear();
    fs::remove(app / "bglc.exe.fail");
    Tool_Makes_Nothing("bglc.exe");
    Expect_Boxes(1);
    Language = "US";
    EXPECT_EQ(Gen_Run_Tool(command, out), Gen_Run_Result::Failed);
    EXPECT_EQ(Box_Texts(), std::vector<std::string>{"bglc.exe ran (exit status 0) but did not write " + out + "."});

    // One that cannot be started keeps the run-and-wait service's own text.
    host().boxes.clear();
    Remove_Tool("bglc.exe");
    Expect_Boxes(1);
    EXPECT_EQ(Gen_Run_Tool(command, out), Gen_Run_Result::Not_Started);
    EXPECT_EQ(Box_Texts(), std::vector<std::string>{"Erreur générale d'exécution du processus : " + command});
}

TEST_F(ToolPaths, AStandInToolThatCannotWriteItsOutputFailsAsARealOneWould) {
    // A full disk: every write to /dev/full fails with "no space left".
    Write_File(app / "in.asm", "source");
    Write_File(app / "Temp" / "landclass.tmf", "resampled");
    Expect_Boxes(2);
    Language = "US";
    EXPECT_EQ(Gen_Run_Tool(Gen_Bglc_Command((app / "in.asm").string(), "/dev/full", 1)), Gen_Run_Result::Failed);
    EXPECT_EQ(Gen_Run_Tool(Gen_Tool_Command("tmfcompress.exe", {Gen_Path_Arg((app / "Temp" / "landclass.tmf").string()),
                                                                 "/dev/full"})),
              Gen_Run_Result::Failed);
    EXPECT_EQ(Box_Texts(), (std::vector<std::string>{"bglc.exe ran but failed (exit status 4).",
                                                     "tmfcompress.exe ran but failed (exit status 4)."}));
}

class NightLinePaths : public Writer_Test {
protected:
    void SetUp() override {
        Writer_Test::SetUp();
        Work_Tables_Reset_All();
        polytest::Calibrate();
    }
    void TearDown() override {
        Work_Tables_Reset_All();
        Writer_Test::TearDown();
    }
};

TEST_F(NightLinePaths, AProgramFolderWithABlankStillMakesTheNightLineBgl) {
    Use_App_Dir(testenv::ScratchDir("my program"));
    fs::create_directories(app / "Scenery");
    Bgl_Base_Path = (app / "Scenery" / "Area.bgl").string();
    Route_Attrib a;
    a.SurfShore = 2;
    a.Line_Night = 1;
    a.Type_Code = 1026;
    a.Largeur = 10;
    const int32_t line = Project_Append_Line(a);
    for (Plane_Point p : std::vector<Plane_Point>{{10, 10}, {30, 10}, {50, 40}}) Project_Append_Point(line, p.X, p.Y);
    API_Make_Night_Lines();
    EXPECT_TRUE(host().boxes.empty());
    ASSERT_EQ(Gen_Commands_Run().size(), 1u);
    EXPECT_EQ(Gen_Commands_Run()[0].rfind("\"" + app.string() + "/scasm.exe\" ", 0), 0u) << Gen_Commands_Run()[0];
    EXPECT_TRUE(fs::exists(app / "Scenery" / "Area_9001.bgl"));
}

}  // namespace
