#include "generation/class_rasters.h"

#include "core/grid.h"
#include "core/project.h"
#include "platform/files.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;

constexpr int N = Class_Raster_Size;

struct Raster {
    std::string bytes = std::string(N * N, static_cast<char>(Class_None));
    void Set(int col, int row, uint8_t code) { bytes[static_cast<size_t>(row * N + col)] = static_cast<char>(code); }
};

class ClassRaster : public Writer_Test {
protected:
    void SetUp() override {
        Writer_Test::SetUp();
        Use_Scenery(app / "Scenery");
        Bgl_Base_Path = (app / "Scenery" / "Area.bgl").string();
        Raw_Dir = (app / "Raw").string();
        fs::create_directories(Raw_Dir);
    }
    void Use_Scenery(const fs::path& dir) {
        fs::create_directories(dir);
        Scenery_Dir = dir.string();
    }
    // A class cell given by its LOD5 cell and its LOD13 position inside it.
    static Class_Cell_Rec Cell(int c5, int r5, int col, int row, uint8_t code) {
        Class_Cell_Rec rec;
        rec.Lod8_Col = static_cast<int16_t>(c5 * 8 + col / 32);
        rec.Lod13_Col = static_cast<int16_t>(col % 32);
        rec.Lod8_Row = static_cast<int16_t>(r5 * 8 + row / 32);
        rec.Lod13_Row = static_cast<int16_t>(row % 32);
        rec.Class_Code = code;
        int16_t c, r, x, y;
        Com_Cell_Center_Reindex(rec.Lod8_Col, rec.Lod8_Row, rec.Lod13_Col, rec.Lod13_Row, c, r, x, y);
        EXPECT_EQ(std::vector<int>({c, r, x, y}), std::vector<int>({c5, r5, col, row}));
        return rec;
    }
    static void Add(Vb_Array<Class_Cell_Rec>& table, int32_t& count, const Class_Cell_Rec& rec) {
        table.ReDim_Preserve(++count);
        table(count) = rec;
    }
    void Land(int c5, int r5, int col, int row, uint8_t code) {
        Add(Lc_Cell_Table, Lc_Cell_Count, Cell(c5, r5, col, row, code));
    }
    void Water(int c5, int r5, int col, int row, uint8_t code) {
        Add(Wc_Cell_Table, Wc_Cell_Count, Cell(c5, r5, col, row, code));
    }
    std::string Golden_Inf(const std::string& name) const {
        std::string text = Read_File(testenv::Fixtures() / "golden" / name);
        for (auto [token, value] : {std::pair<std::string, std::string>{"@APP@", App_Dir},
                                    {"@SCENERY@", Scenery_Dir}})
            for (size_t at; (at = text.find(token)) != std::string::npos;) text.replace(at, token.size(), value);
        return text;
    }
    std::string Temp(const std::string& name) const { return Read_File(app / "Temp" / name); }
    std::string Q(const std::string& text) const { return "\"" + text + "\""; }
};

TEST_F(ClassRaster, LandCellBecomesRasterDescriptionAndBgl) {
    Land(7, 15, 10, 17, 42);
    API_Make_Landclass_Bgl();
    Raster expected;
    expected.Set(10, 17, 42);
    EXPECT_EQ(Temp("FicRaw.Raw"), expected.bytes);
    EXPECT_EQ(Handed(1, "FicRaw.Raw"), expected.bytes);
    EXPECT_EQ(Temp("TmpLC.Inf"), Golden_Inf("class_land_007_015.inf"));
    EXPECT_EQ(Gen_Commands_Run(), std::vector<std::string>{app.string() + "/Resample.exe  " +
                                                           Q(app.string() + "/Temp/TmpLC.Inf")});
    EXPECT_TRUE(fs::exists(app / "Scenery" / "LC_007_015.bgl"));
    EXPECT_EQ(Gen_Captions().Shown, (std::vector<std::pair<std::string, std::string>>{
                                        {"LandClasses", "Resample.exe"}, {Bgl_Base_Path, "Resample.exe"}}));
    EXPECT_EQ(host().mouse_pointer, plat::Pointer_Default);
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(ClassRaster, WaterCellRunsTheThreeToolsAndCleansUp) {
    Water(7, 15, 255, 0, 3);
    API_Make_Waterclass_Bgl();
    Raster expected;
    expected.Set(255, 0, 3);
    EXPECT_EQ(Temp("FicRaw.Raw"), expected.bytes);
    EXPECT_EQ(Temp("TmpWC.Inf"), Golden_Inf("class_water_007_015.inf"));
    const std::string tmp = app.string() + "/Temp/";
    EXPECT_EQ(Gen_Commands_Run(),
              (std::vector<std::string>{
                  app.string() + "/ResampleV11.exe  " + Q(tmp + "TmpWC.Inf"),
                  app.string() + "/tmfcompress.exe  " + Q(tmp + "landclass.tmf") + " " + Q(tmp + "LWCcompress.tmf"),
                  app.string() + "/tmf2bgl.exe  " + Q(tmp + "LWCcompress.tmf") + " " +
                      Q(Scenery_Dir + "/WC_007_015.bgl")}));
    EXPECT_EQ(Read_File(app / "Scenery" / "WC_007_015.bgl"), expected.bytes);
    EXPECT_FALSE(fs::exists(app / "Temp" / "landclass.tmf"));
    EXPECT_FALSE(fs::exists(app / "Temp" / "LWCcompress.tmf"));
    EXPECT_EQ(Gen_Captions().Shown.front(),
              (std::pair<std::string, std::string>("WaterClasses", "ResampleV11.exe")));
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(ClassRaster, AnOldOutputThatIsALinkIsTakenAwayAndWhatItNamesStaysWhole) {
    Write_File(app / "Town.LWM", "the project");
    Write_File(app / "map.bmp", "the map");
    fs::create_symlink(app / "Town.LWM", app / "Scenery" / "LC_007_015.bgl");
    fs::create_hard_link(app / "map.bmp", app / "Scenery" / "WC_007_015.bgl");
    Land(7, 15, 10, 17, 42);
    Water(7, 15, 255, 0, 3);
    API_Make_Landclass_Bgl();
    API_Make_Waterclass_Bgl();
    EXPECT_TRUE(host().boxes.empty());
    EXPECT_EQ(Read_File(app / "Town.LWM"), "the project");
    EXPECT_EQ(Read_File(app / "map.bmp"), "the map");
    for (const char* output : {"LC_007_015.bgl", "WC_007_015.bgl"}) {
        EXPECT_FALSE(fs::is_symlink(app / "Scenery" / output)) << output;
        EXPECT_EQ(fs::hard_link_count(app / "Scenery" / output), 1u) << output;
    }
}

TEST_F(ClassRaster, EdgesRepeatTheNeighboursFirstColumnAndRow) {
    Land(8, 16, 0, 0, 13);
    Land(8, 15, 0, 17, 9);
    Land(7, 16, 5, 0, 11);
    Land(7, 15, 100, 100, 1);
    Land(8, 15, 1, 17, 8);  // not on the shared edge
    API_Make_Landclass_Bgl();
    // Visited by row, then column: (7,15), (8,15), (7,16), (8,16).
    auto calls = Tool_Calls();
    ASSERT_EQ(calls.size(), 4u);
    Raster west;
    west.Set(100, 100, 1);
    west.Set(256, 17, 9);
    west.Set(5, 256, 11);
    west.Set(256, 256, 13);
    EXPECT_EQ(Handed(1, "FicRaw.Raw"), west.bytes);
    Raster east;
    east.Set(0, 17, 9);
    east.Set(1, 17, 8);
    east.Set(0, 256, 13);
    EXPECT_EQ(Handed(2, "FicRaw.Raw"), east.bytes);
    EXPECT_TRUE(fs::exists(app / "Scenery" / "LC_008_016.bgl"));
}

TEST_F(ClassRaster, MergeStartsFromTheKeptCopyAndKeepsTheNewOne) {
    Lc_Merge = 1;
    Lc_Keep_Raw = 1;
    Raster kept;
    kept.Set(0, 0, 5);
    kept.Set(10, 17, 6);
    kept.Set(256, 17, 77);  // a merged edge value wins over the neighbour's
    Write_File(app / "Raw" / "LC_007_015.Raw", kept.bytes);
    Land(7, 15, 10, 17, Class_None);  // clears the merged value
    Land(7, 15, 1, 0, 3);
    Land(8, 15, 0, 17, 9);
    API_Make_Landclass_Bgl();
    Raster expected;
    expected.Set(0, 0, 5);
    expected.Set(1, 0, 3);
    expected.Set(256, 17, 77);
    EXPECT_EQ(Handed(1, "FicRaw.Raw"), expected.bytes);
    EXPECT_EQ(Read_File(app / "Raw" / "LC_007_015.Raw"), expected.bytes);
    // No kept copy yet for the eastern cell: it starts empty, and is kept from now on.
    Raster east;
    east.Set(0, 17, 9);
    EXPECT_EQ(Handed(2, "FicRaw.Raw"), east.bytes);
    EXPECT_EQ(Read_File(app / "Raw" / "LC_008_015.Raw"), east.bytes);
}

TEST_F(ClassRaster, TwoCellsOnOnePlaceLeaveTheExchangeSortsWinner) {
    // The exchange sort brings the northern cell forward past both southern ones and so turns
    // them round: the first of the two is written last.
    Land(7, 16, 3, 3, 1);
    Land(7, 16, 3, 3, 2);
    Land(7, 15, 3, 3, 5);
    API_Make_Landclass_Bgl();
    ASSERT_EQ(Tool_Calls().size(), 2u);
    Raster north;
    north.Set(3, 3, 5);
    EXPECT_EQ(Handed(1, "FicRaw.Raw"), north.bytes);
    Raster south;
    south.Set(3, 3, 1);
    EXPECT_EQ(Handed(2, "FicRaw.Raw"), south.bytes);
}

TEST_F(ClassRaster, ARawFolderThatCannotTakeTheCopiesIsReportedOnceAndTheBglsAreMade) {
    Lc_Keep_Raw = 1;
    Raw_Dir = (app / "Gone").string();
    Land(7, 15, 1, 1, 4);
    Land(9, 15, 1, 1, 4);
    Expect_Boxes(1);
    API_Make_Landclass_Bgl();
    ASSERT_EQ(Box_Texts().size(), 1u);
    EXPECT_NE(Box_Texts()[0].find("Les copies brutes ne peuvent pas être gardées"), std::string::npos);
    EXPECT_NE(Box_Texts()[0].find(Raw_Dir), std::string::npos);
    EXPECT_EQ(Tool_Calls().size(), 2u);
    EXPECT_TRUE(fs::exists(app / "Scenery" / "LC_009_015.bgl"));
    EXPECT_FALSE(fs::exists(app / "Gone"));

    // A file where the folder should be, in English.
    host().boxes.clear();
    Language = "US";
    Raw_Dir = (app / "Plain").string();
    Write_File(app / "Plain", "not a folder");
    Water(7, 15, 1, 1, 4);
    Expect_Boxes(1);
    API_Make_Waterclass_Bgl();
    ASSERT_EQ(Box_Texts().size(), 1u);
    EXPECT_EQ(Box_Texts()[0].rfind("The raw copies cannot be kept: the folder \"" + Raw_Dir + "\"", 0), 0u);
    EXPECT_TRUE(fs::exists(app / "Scenery" / "WC_007_015.bgl"));
    EXPECT_EQ(Read_File(app / "Plain"), "not a folder");
}

TEST_F(ClassRaster, ARelativeRawFolderIsTheProjectsWhateverTheWorkingFolder) {
    Lc_Keep_Raw = 1;
    Project_File = (app / "Proj.LWM").string();
    Raw_Dir = "Raw";
    ASSERT_FALSE(fs::exists(fs::current_path() / "Raw"));
    Land(7, 15, 1, 1, 4);
    API_Make_Landclass_Bgl();
    EXPECT_TRUE(Box_Texts().empty());
    EXPECT_TRUE(fs::exists(app / "Raw" / "LC_007_015.Raw"));
}

TEST_F(ClassRaster, ShortKeptCopyLeavesTheMissingBytesEmpty) {
    Lc_Merge = 1;
    Write_File(app / "Raw" / "WC_007_015.Raw", std::string(300, '\x01'));
    Water(7, 15, 200, 200, 2);
    API_Make_Waterclass_Bgl();
    Raster expected;
    for (int i = 0; i < 300; ++i) expected.bytes[static_cast<size_t>(i)] = 1;
    expected.Set(200, 200, 2);
    EXPECT_EQ(Handed(1, "FicRaw.Raw"), expected.bytes);
}

TEST_F(ClassRaster, OnlyEmptyCodesDoNothingButAreWrittenBesideRealOnes) {
    Land(7, 15, 1, 1, Class_None);
    Gen_Show_Stage("before", "x");
    API_Make_Landclass_Bgl();
    EXPECT_TRUE(Gen_Commands_Run().empty());
    EXPECT_EQ(Gen_Captions().LCompileNom, "before");
    EXPECT_FALSE(fs::exists(app / "Temp" / "FicRaw.Raw"));

    Land(9, 15, 1, 1, 4);
    API_Make_Landclass_Bgl();
    EXPECT_EQ(Gen_Commands_Run().size(), 2u);  // the LOD5 cell with only 254 is made too
    EXPECT_TRUE(fs::exists(app / "Scenery" / "LC_007_015.bgl"));
}

TEST_F(ClassRaster, MissingResamplerStopsTheVisits) {
    Remove_Tool("Resample.exe");
    Land(7, 15, 1, 1, 4);
    Land(9, 15, 1, 1, 4);
    Expect_Boxes(2);
    API_Make_Landclass_Bgl();
    ASSERT_EQ(Box_Texts().size(), 2u);
    EXPECT_EQ(Box_Texts()[0].rfind("Erreur générale d'exécution du processus : ", 0), 0u);
    EXPECT_EQ(Box_Texts()[1], "Error BGL lC generation");
    EXPECT_EQ(Gen_Commands_Run().size(), 1u);
    EXPECT_EQ(host().mouse_pointer, plat::Pointer_Default);
}

TEST_F(ClassRaster, ARasterOrDescriptionThatCannotBeWrittenIsNamedInTheSessionsLanguage) {
    // Something in the raster's place; then a disk that fails the description's flush.
    fs::create_directories(app / "Temp" / "FicRaw.Raw");
    Land(7, 15, 1, 1, 4);
    Water(7, 15, 1, 1, 4);
    Expect_Boxes(3);
    API_Make_Landclass_Bgl();
    fs::remove(app / "Temp" / "FicRaw.Raw");
    Language = "US";
    plat::SetFileFlush([](int) { return -1; });
    API_Make_Landclass_Bgl();
    API_Make_Waterclass_Bgl();
    plat::SetFileFlush(nullptr);
    const std::string temp = (app / "Temp").string() + "/";
    EXPECT_EQ(Box_Texts(), (std::vector<std::string>{
                               "Impossible d'écrire " + temp + "FicRaw.Raw\r\nError BGL lC generation",
                               "Cannot write " + temp + "TmpLC.Inf\r\nError BGL lC generation",
                               "Cannot write " + temp + "TmpWC.Inf\r\nError BGL WC generation"}));
    EXPECT_TRUE(Tool_Calls().empty());
}

TEST_F(ClassRaster, AFailedToolEndsTheStepWithItsOwnBoxThenTheStepText) {
    Tool_Fails("Resample.exe");
    Land(7, 15, 1, 1, 4);
    Land(9, 15, 1, 1, 4);
    Expect_Boxes(2);
    API_Make_Landclass_Bgl();
    EXPECT_EQ(Box_Texts(), (std::vector<std::string>{"Resample.exe a été lancé mais a échoué (code de sortie 3).",
                                                     "Error BGL lC generation"}));
    EXPECT_EQ(Tool_Calls().size(), 1u);  // no further LOD5 cell
    EXPECT_EQ(host().mouse_pointer, plat::Pointer_Default);

    // A failed water resampler hands nothing on: neither the compressor nor the converter runs.
    host().boxes.clear();
    Tool_Fails("ResampleV11.exe");
    Water(7, 15, 1, 1, 4);
    Water(9, 15, 1, 1, 4);
    Gen_Reset_Commands_Run();
    Expect_Boxes(2);
    API_Make_Waterclass_Bgl();
    EXPECT_EQ(Box_Texts(), (std::vector<std::string>{"ResampleV11.exe a été lancé mais a échoué (code de sortie 3).",
                                                     "Error BGL WC generation"}));
    ASSERT_EQ(Gen_Commands_Run().size(), 1u);
    EXPECT_NE(Gen_Commands_Run()[0].find("ResampleV11.exe"), std::string::npos);
}

TEST_F(ClassRaster, StaleWaterIntermediatesNeverBecomeAResult) {
    Write_File(app / "Temp" / "landclass.tmf", "stale");
    Write_File(app / "Temp" / "LWCcompress.tmf", "stale");
    Write_File(app / "Scenery" / "WC_007_015.bgl", "previous generation");
    Tool_Makes_Nothing("ResampleV11.exe");
    Water(7, 15, 1, 1, 4);
    Expect_Boxes(2);
    API_Make_Waterclass_Bgl();
    // The resampler that left nothing says so, then the step's text; the stale files go nowhere.
    const std::string tmp = app.string() + "/Temp/";
    EXPECT_EQ(Box_Texts(), (std::vector<std::string>{
                               "ResampleV11.exe a été lancé (code de sortie 0) mais n'a pas écrit " + tmp + "landclass.tmf.",
                               "Error BGL WC generation"}));
    EXPECT_EQ(Tool_Calls().size(), 1u);
    EXPECT_FALSE(fs::exists(app / "Temp" / "landclass.tmf"));
    EXPECT_FALSE(fs::exists(app / "Temp" / "LWCcompress.tmf"));
    EXPECT_EQ(Read_File(app / "Scenery" / "WC_007_015.bgl"), "previous generation");
}

TEST_F(ClassRaster, CellsOutsideTheGridAreLeftOut) {
    Class_Cell_Rec bad = Cell(7, 15, 3, 3, 4);
    bad.Lod8_Row = -2000;  // beyond the pole
    Add(Lc_Cell_Table, Lc_Cell_Count, bad);
    Land(7, 15, 3, 3, 5);
    API_Make_Landclass_Bgl();
    Raster expected;
    expected.Set(3, 3, 5);
    EXPECT_EQ(Handed(1, "FicRaw.Raw"), expected.bytes);
    EXPECT_EQ(Tool_Calls().size(), 1u);
}

TEST_F(ClassRaster, MissingWaterToolStopsAndLeavesTheIntermediates) {
    Remove_Tool("tmf2bgl.exe");
    Water(7, 15, 1, 1, 4);
    Water(9, 15, 1, 1, 4);
    Expect_Boxes(2);
    API_Make_Waterclass_Bgl();
    EXPECT_EQ(Box_Texts().back(), "Error BGL WC generation");
    EXPECT_EQ(Gen_Commands_Run().size(), 3u);
    EXPECT_TRUE(fs::exists(app / "Temp" / "landclass.tmf"));
    EXPECT_TRUE(fs::exists(app / "Temp" / "LWCcompress.tmf"));
}

TEST_F(ClassRaster, SceneryFolderWithBlanksGetsItsWaterBgl) {
    Use_Scenery(app / "My Scenery");
    Water(7, 15, 1, 1, 4);
    API_Make_Waterclass_Bgl();
    EXPECT_EQ(Tool_Calls().back().back(), Scenery_Dir + "/WC_007_015.bgl");
    EXPECT_TRUE(fs::exists(app / "My Scenery" / "WC_007_015.bgl"));
    EXPECT_TRUE(host().boxes.empty());
}

}  // namespace
